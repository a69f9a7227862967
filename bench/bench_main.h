#pragma once

// A main for benchmark programs that need a Qt application object. The client's
// parser writes a debug line per read; a host that keeps the debug log drops it
// in its own handler, so the benchmarks do the same instead of timing a terminal.

#include <benchmark/benchmark.h>

#include <QtGlobal>

namespace benchmain {

inline QtMessageHandler& previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void dropDebug(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        previousHandler()(type, context, message);
}

/// Runs the benchmarks under an application object of type App, between
/// `setUp` and `tearDown` (which must release what needs the application).
template <typename App, typename SetUp, typename TearDown>
int run(int argc, char** argv, SetUp setUp, TearDown tearDown)
{
    App app(argc, argv);
    previousHandler() = qInstallMessageHandler(dropDebug);
    setUp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tearDown();
    return 0;
}

template <typename App, typename SetUp>
int run(int argc, char** argv, SetUp setUp)
{
    return run<App>(argc, argv, setUp, [] {});
}

template <typename App>
int run(int argc, char** argv)
{
    return run<App>(argc, argv, [] {});
}

} // namespace benchmain
