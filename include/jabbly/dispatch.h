// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dispatch entry of the components: the main program calls a component's members by
// number, Invoke(member, arguments), where member FirstMember + n is the (n + 1)-th member
// of the component's interface. Arguments are passed by reference (a member may rewrite
// one in place); results and arguments are variants. On the program's side failures
// throw jabbly::Error; across the library boundary they travel as an ErrorRecord.

#include "jabbly/error.h"

#include <QString>

#include <cstdint>
#include <exception>
#include <new>
#include <span>
#include <stdexcept>
#include <variant>

namespace jabbly {

class ItemList;
class SpeechEngine;

// Empty, 16-bit integer, 32-bit integer, bool, text, or an object reference.
using Variant = std::variant<std::monostate, int16_t, int32_t, bool, QString, ItemList *, SpeechEngine *>;

inline constexpr int32_t FirstMember = 0x60030000;

// A component as the program calls it. Failures throw jabbly::Error.
class Dispatch {
public:
    virtual ~Dispatch() = default;
    virtual Variant Invoke(int32_t member, std::span<Variant> args) = 0;
};

// A failure inside a component, carried back to the program as plain data.
struct ErrorRecord {
    int32_t number = 0;
    QString message;
};

// What a component library exports. No exception crosses this boundary: catching an
// exception thrown in another shared object relies on the C++ runtime matching type
// names between the objects, which fails quietly when they are built apart or hide
// their symbols. So the entry is noexcept and reports a failure in `error`; the
// program's loader (ComponentLibrary) rethrows it there as jabbly::Error.
class ExportedDispatch {
public:
    virtual ~ExportedDispatch() = default;
    // True with `result` set when the member succeeded; false with `error` filled when
    // it failed.
    virtual bool Invoke(int32_t member, std::span<Variant> args, Variant &result, ErrorRecord &error) noexcept = 0;
};

// Each component library exports exactly one of these, returning a new instance that the
// caller owns.
extern "C" {
using CreateComponentFn = ExportedDispatch *(*)();
}
inline constexpr const char *RowkitFactory = "CreateRowkit";
inline constexpr const char *SaylineFactory = "CreateSayline";

// For components: runs one member, `run()` returning its Variant, and turns whatever it
// throws into the error record. A failed allocation, also one a container reports as
// std::length_error, is "Out of memory" (7); any other exception is "Internal error"
// (51) with its text.
template <typename Run>
bool runGuarded(Run &&run, Variant &result, ErrorRecord &error) noexcept
{
    const auto fail = [&error](int32_t number, const char *prefix, const char *detail) noexcept {
        try {
            QString message = QString::fromUtf8(prefix);
            if (detail && *detail)
                message += QStringLiteral(": ") + QString::fromUtf8(detail);
            error = {number, std::move(message)};
        } catch (...) {
            // No memory even for the message: the number alone still tells what happened.
            error = {err::OutOfMemory, QStringLiteral("Out of memory")};
        }
        return false;
    };
    try {
        result = run();
        return true;
    } catch (const Error &e) {
        try {
            error = {e.number(), e.message()};
        } catch (...) {
            error = {err::OutOfMemory, QStringLiteral("Out of memory")};
        }
        return false;
    } catch (const std::bad_alloc &) {
        return fail(err::OutOfMemory, "Out of memory", nullptr);
    } catch (const std::length_error &) {
        return fail(err::OutOfMemory, "Out of memory", nullptr);
    } catch (const std::exception &e) {
        return fail(err::Internal, "Internal error", e.what());
    } catch (...) {
        return fail(err::Internal, "Internal error", "an exception of unknown type");
    }
}

// Helpers for components unpacking their arguments.
namespace args {

inline void expectCount(std::span<Variant> args, std::size_t count)
{
    if (args.size() != count)
        throw Error(err::WrongArgumentCount,
                    QStringLiteral("Wrong number of arguments or invalid property assignment"));
}

[[noreturn]] inline void typeMismatch() { throw Error(err::TypeMismatch, QStringLiteral("Type mismatch")); }

inline ItemList &list(std::span<Variant> args, std::size_t i)
{
    auto *p = std::get_if<ItemList *>(&args[i]);
    if (!p || !*p)
        typeMismatch();
    return **p;
}

inline SpeechEngine &engine(std::span<Variant> args, std::size_t i)
{
    auto *p = std::get_if<SpeechEngine *>(&args[i]);
    if (!p || !*p)
        typeMismatch();
    return **p;
}

inline QString &text(std::span<Variant> args, std::size_t i)
{
    auto *p = std::get_if<QString>(&args[i]);
    if (!p)
        typeMismatch();
    return *p;
}

// A 16-bit integer argument; a 32-bit one is accepted when it fits.
inline int16_t int16(std::span<Variant> args, std::size_t i)
{
    if (auto *p = std::get_if<int16_t>(&args[i]))
        return *p;
    if (auto *p = std::get_if<int32_t>(&args[i])) {
        if (*p < INT16_MIN || *p > INT16_MAX)
            throw Error(err::Overflow, QStringLiteral("Overflow"));
        return static_cast<int16_t>(*p);
    }
    typeMismatch();
}

}  // namespace args
}  // namespace jabbly
