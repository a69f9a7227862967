// Start-up of the station's 2,000-sensor deck: loading the sample ship's
// styles, building the model (sensors offered to their compartments) and
// showing it on a deck scene with all layers and graphics.

#include "bench_main.h"
#include "ship_fixture.h"

#include "entity/deck.h"
#include "view/deck_scene.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

enum Offer { kOfferToHolders = 0, kOfferToAll = 1 };

// The whole start-up; the argument chooses how sensors are offered to compartments.
void BM_StartUp(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString drawing = benchship::writeDeckDrawing(folder.path());
    const bool offerAll = state.range(0) == kOfferToAll;
    for (auto _ : state) {
        benchship::loadSampleStyles();
        auto deck = benchship::buildDeck(benchship::kSensors, benchship::kCompartments, offerAll);
        auto scene = std::make_unique<DeckScene>();
        benchship::showDeck(*scene, *deck, drawing);
        benchmark::DoNotOptimize(scene->items().size());
        state.PauseTiming();
        scene.reset();
        deck.reset();
        state.ResumeTiming();
    }
}

void BM_LoadStyles(benchmark::State& state)
{
    for (auto _ : state)
        benchship::loadSampleStyles();
}

void BM_BuildModel(benchmark::State& state)
{
    const bool offerAll = state.range(0) == kOfferToAll;
    for (auto _ : state) {
        auto deck = benchship::buildDeck(benchship::kSensors, benchship::kCompartments, offerAll);
        state.PauseTiming();
        deck.reset();
        state.ResumeTiming();
    }
}

void BM_BuildScene(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString drawing = benchship::writeDeckDrawing(folder.path());
    auto deck = benchship::buildDeck(benchship::kSensors, benchship::kCompartments, false);
    for (auto _ : state) {
        auto scene = std::make_unique<DeckScene>();
        benchship::showDeck(*scene, *deck, drawing);
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_StartUp)->Arg(kOfferToAll)->Arg(kOfferToHolders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadStyles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildModel)->Arg(kOfferToAll)->Arg(kOfferToHolders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildScene)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return benchmain::run<QApplication>(argc, argv);
}
