#pragma once

/// Reading the command line before the application object exists.
namespace exampleapp {

/// True when the long option \a flag ("--name") is among the arguments, alone
/// or with its value ("--name=value"). For choices that must be made before
/// the application object exists, such as the platform plugin.
bool hasOption(int argc, char** argv, const char* flag);

} // namespace exampleapp
