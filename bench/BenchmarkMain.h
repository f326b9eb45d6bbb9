#pragma once

// The main() of a benchmark program: a Qt application of the kind its benchmarks need, then
// every benchmark registered in the program.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

namespace BenchmarkMain {

template<typename Application>
int run(int argc, char** argv)
{
    Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#ifdef DEWBELL_DEFAULT_BUNDLE
// Programs that draw read the art built with them and need no display, unless told otherwise.
inline void drawOffscreenFromTheBuiltBundle()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("DEWBELL_BUNDLE_DIR"))
        qputenv("DEWBELL_BUNDLE_DIR", DEWBELL_DEFAULT_BUNDLE);
}
#endif

}  // namespace BenchmarkMain
