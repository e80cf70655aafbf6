// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Sayline component (control class ctlSayline): the dispatch table of its two members
// and the library's one exported entry, the factory. The component keeps no state between
// calls and holds no reference to a caller's list or engine after a call.

#include "SpeechFilter.h"
#include "VoiceListing.h"

#include "jabbly/dispatch.h"
#include "jabbly/members.h"

#include <new>
#include <string_view>

namespace sayline {
namespace {

using jabbly::Variant;

class ctlSayline final : public jabbly::ExportedDispatch {
public:
    bool Invoke(int32_t member, std::span<Variant> args, Variant &result, jabbly::ErrorRecord &error) noexcept override
    {
        return jabbly::runGuarded(
            [&]() -> Variant {
                switch (member) {
                case jabbly::sayline::ListVoices:
                    jabbly::args::expectCount(args, 2);
                    listVoices(jabbly::args::list(args, 0), jabbly::args::engine(args, 1));
                    return {};
                case jabbly::sayline::filt:
                    jabbly::args::expectCount(args, 1);
                    // The argument itself is rewritten: the caller's variable when it passed one.
                    return filterForSpeech(jabbly::args::text(args, 0));
                default:
                    throw jabbly::Error(jabbly::err::NotSupported,
                                        QStringLiteral("Object doesn't support this property or method"));
                }
            },
            result, error);
    }
};

}  // namespace
}  // namespace sayline

static_assert(std::string_view(jabbly::SaylineFactory) == "CreateSayline");

// No exception may leave a C entry: a failed allocation is reported as no instance,
// which the loader turns into "cannot create object" (429).
extern "C" __attribute__((visibility("default"))) jabbly::ExportedDispatch *CreateSayline()
{
    return new (std::nothrow) sayline::ctlSayline;
}
