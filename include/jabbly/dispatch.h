#pragma once
// The dispatch entry of the components: the main program calls a component's members by
// number, Invoke(member, arguments), where member FirstMember + n is the (n + 1)-th member
// of the component's interface. Arguments are passed by reference (a member may rewrite
// one in place); results and arguments are variants. Failures throw jabbly::Error.

#include "jabbly/error.h"

#include <QString>

#include <cstdint>
#include <span>
#include <variant>

namespace jabbly {

class ItemList;
class SpeechEngine;

// Empty, 16-bit integer, 32-bit integer, bool, text, or an object reference.
using Variant = std::variant<std::monostate, int16_t, int32_t, bool, QString, ItemList *, SpeechEngine *>;

inline constexpr int32_t FirstMember = 0x60030000;

class Dispatch {
public:
    virtual ~Dispatch() = default;
    virtual Variant Invoke(int32_t member, std::span<Variant> args) = 0;
};

// Each component library exports exactly one of these, returning a new instance that the
// caller owns.
extern "C" {
using CreateComponentFn = Dispatch *(*)();
}
inline constexpr const char *RowkitFactory = "CreateRowkit";
inline constexpr const char *SaylineFactory = "CreateSayline";

// Helpers for components unpacking their arguments.
namespace args {

inline void expectCount(std::span<Variant> args, std::size_t count)
{
    if (args.size() != count)
        throw Error(err::WrongArgumentCount, QStringLiteral("Wrong number of arguments or invalid property assignment"));
}

[[noreturn]] inline void typeMismatch()
{
    throw Error(err::TypeMismatch, QStringLiteral("Type mismatch"));
}

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
