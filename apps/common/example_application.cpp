#include "example_application.h"

#include <QApplication>

#include <cstring>

namespace exampleapp {

namespace {

bool wantsHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char* flag : {"-h", "-?", "--help", "--help-all"}) {
            if (std::strcmp(argv[i], flag) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

std::unique_ptr<QCoreApplication> create(int& argc, char** argv)
{
    if (wantsHelp(argc, argv))
        return std::make_unique<QCoreApplication>(argc, argv);
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace exampleapp
