#include "kelvane_assert.h"

#include <cstdio>
#include <cstdlib>

namespace kelvane {

void assertFailed(const char* expression, const char* function, const char* file, int line)
{
    std::fprintf(stderr, "ASSERT failure: \"%s\" in %s (%s:%d)\n", expression, function, file, line);
    std::fflush(stderr);
    std::abort();
}

} // namespace kelvane
