#pragma once

#include <string>

// Fatal report of a broken invariant: writes "Error <message> at line <line> in file <file>"
// through Qt's fatal channel and aborts. Never returns.
[[noreturn]] void assertFailed(const std::string& message, int line, const std::string& file);

// The non-fatal twin: writes the same words as a warning and returns.
void reportError(const std::string& message, int line, const std::string& file);

namespace Velmora {
namespace detail {
// "<unit path> (<build date>) ": the unit path is the source path within its library without
// the extension; the build date has the form of __DATE__ ("Dec  7 2012").
std::string assertionUnit(const char* sourceFile, const char* buildDate);
} // namespace detail
} // namespace Velmora

#define VELMORA_ASSERTION_UNIT ::Velmora::detail::assertionUnit(__FILE__, __DATE__)

// A condition that must hold.
#define VELMORA_ASSERT(expr)                                                                       \
    do {                                                                                           \
        if (!(expr))                                                                               \
            ::assertFailed(std::string("Assert: '" #expr "' is FALSE"), __LINE__,                  \
                           VELMORA_ASSERTION_UNIT);                                                \
    } while (false)

// A condition that must never hold.
#define VELMORA_TRAP(expr)                                                                         \
    do {                                                                                           \
        if (expr)                                                                                  \
            ::assertFailed(std::string("Trap: '" #expr "' is TRUE"), __LINE__,                     \
                           VELMORA_ASSERTION_UNIT);                                                \
    } while (false)

// A branch that must never be reached; the reason is written in double quotes, for example
// VELMORA_UNREACHABLE("Unrecognised property type"), or 1 for no reason.
#define VELMORA_UNREACHABLE(reason)                                                                \
    ::assertFailed(std::string("Trap: '" #reason "' is TRUE"), __LINE__, VELMORA_ASSERTION_UNIT)

// The non-fatal form of VELMORA_ASSERT: reports and carries on.
#define VELMORA_CHECK(expr)                                                                        \
    do {                                                                                           \
        if (!(expr))                                                                               \
            ::reportError(std::string("Assert: '" #expr "' is FALSE"), __LINE__,                   \
                          VELMORA_ASSERTION_UNIT);                                                 \
    } while (false)
