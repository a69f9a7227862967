#include "example_options.h"

#include <cstring>

namespace exampleapp {

bool hasOption(int argc, char** argv, const char* flag)
{
    const std::size_t length = std::strlen(flag);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, length) == 0 && (argv[i][length] == '\0' || argv[i][length] == '='))
            return true;
    }
    return false;
}

} // namespace exampleapp
