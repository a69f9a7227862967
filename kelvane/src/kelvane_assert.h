#pragma once

#include "kelvane_export.h"

#include <QtGlobal>

namespace kelvane {

/// Prints the failed precondition, the function signature and the source file
/// to standard error, then aborts. Never returns.
[[noreturn]] KELVANE_EXPORT void assertFailed(const char* expression, const char* function, const char* file,
                                              int line);

} // namespace kelvane

/// Precondition check that stays on in release builds: a failed check stops the
/// process with the asserted expression and the function's signature.
#define KELVANE_ASSERT(cond) \
    ((cond) ? static_cast<void>(0) : ::kelvane::assertFailed(#cond, Q_FUNC_INFO, __FILE__, __LINE__))
