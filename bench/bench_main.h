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

template <typename App>
int run(int argc, char** argv)
{
    App app(argc, argv);
    previousHandler() = qInstallMessageHandler(dropDebug);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchmain
