// One state-flipping SensorItem::setValue through sensor, deck, two regions, a
// reaction region and a mark sensor graphic; and the dispatch of a received
// record through the name index versus offering it to every item.

#include "bench_main.h"
#include "ship_fixture.h"

#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/sensor_item_index.h"
#include "graphics/mark_sensor_graphic.h"
#include "graphics/reaction_region.h"
#include "graphics/region_reaction_layer.h"
#include "graphics/sensor_layer.h"
#include "view/blink_animation.h"
#include "view/opacity_animation.h"

#include "config/region_config.h"
#include "config/sensor_config.h"

#include <QApplication>
#include <QGraphicsScene>

#include <vector>

namespace {

constexpr double kAlarm = 1.0;
constexpr double kNormal = 0.0;
// Values inside the normal band of a state item: updates that flip nothing.
constexpr double kQuietA = 0.25;
constexpr double kQuietB = 0.5;
// Records dispatched in turn, so no single name stays hot in the cache.
constexpr int kDispatchNames = 1000;

/// What is shown of the model.
enum class Shown { ModelOnly, GraphicsWithoutAnimation, Graphics, GraphicsOnBlinkClock };

/// A sensor inside two compartments, one shown as a reaction region, with its
/// mark sensor graphic.
class OneSensorDeck
{
public:
    explicit OneSensorDeck(Shown shown)
    {
        const auto fire = SensorConfig::instance().viewGroupByGroup(QStringLiteral("fire"));
        const auto cabin = RegionConfig::instance().srViewGroup(harq::Region::CabinType);
        sensor_ = new harq::Sensor;
        sensor_->setName(QStringLiteral("烟感1"));
        sensor_->setPos(QPointF(100, 100));
        sensor_->setViewGroup(fire);
        item_ = new harq::SensorItem;
        item_->setTag(tag());
        item_->setIcon(QStringLiteral("smoke_detector.svg"), QStringLiteral("smoke_detector_alarm.svg"));
        item_->initCheck();
        sensor_->addItem(item_);
        deck_.addSensor(sensor_);
        // A cabin and the fire zone around it both watch the detector.
        for (const QRectF& outline : {QRectF(0, 0, 200, 200), QRectF(-100, -100, 400, 400)}) {
            auto* region = new harq::Region;
            region->setViewGroup(cabin);
            region->setRegionPath(QPolygonF(outline));
            deck_.addRegion(region);
            region->setDeck(&deck_);
            region->associateSensor(sensor_);
        }
        if (shown == Shown::ModelOnly)
            return;
        auto* regions = new RegionReactionLayer;
        scene_.addItem(regions);
        regions->addRegion(new ReactionRegion(deck_.regions().first()));
        auto* sensors = new SensorLayer;
        scene_.addItem(sensors);
        auto* graphic = new MarkSensorGraphic;
        graphic->setSensor(sensor_);
        if (shown == Shown::Graphics)
            graphic->acceptAnimotion(new OpacityAnimation);
        else if (shown == Shown::GraphicsOnBlinkClock)
            graphic->acceptAnimotion(new BlinkAnimation);
        sensors->addSensor(graphic);
    }

    static QString tag() { return QStringLiteral("D3-SMK-0001"); }
    harq::SensorItem& item() { return *item_; }
    const harq::Deck& deck() const { return deck_; }

private:
    harq::Deck deck_;
    harq::Sensor* sensor_;
    harq::SensorItem* item_;
    QGraphicsScene scene_;
};

void flipEveryTime(benchmark::State& state, Shown shown)
{
    OneSensorDeck ship(shown);
    const QString tag = OneSensorDeck::tag();
    bool alarm = false;
    for (auto _ : state) {
        alarm = !alarm;
        ship.item().setValue(tag, alarm ? kAlarm : kNormal);
    }
    if (ship.deck().abnormalSensorCount() != (alarm ? 1 : 0))
        state.SkipWithError("the state did not follow");
}

void BM_StateFlip(benchmark::State& state)
{
    flipEveryTime(state, Shown::Graphics);
}

// The same without the blinking, whose effect and animation are made and
// dropped on every alarm: what the rest of the path costs.
void BM_StateFlipWithoutAnimation(benchmark::State& state)
{
    flipEveryTime(state, Shown::GraphicsWithoutAnimation);
}

// The alarm animation a host may choose instead, on the shared blink clock.
void BM_StateFlipOnBlinkClock(benchmark::State& state)
{
    flipEveryTime(state, Shown::GraphicsOnBlinkClock);
}

void BM_StateFlipModelOnly(benchmark::State& state)
{
    flipEveryTime(state, Shown::ModelOnly);
}

void BM_ValueWithoutFlip(benchmark::State& state)
{
    OneSensorDeck ship(Shown::Graphics);
    const QString tag = OneSensorDeck::tag();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        ship.item().setValue(tag, flip ? kQuietA : kQuietB);
    }
}

// The model alone on the display benchmark's deck: the deck counts its normal
// sensors anew at every flip.
void BM_StateFlipOnFullDeck(benchmark::State& state)
{
    const auto deck = benchship::buildDeck(benchship::kSensors, benchship::kCompartments, false);
    harq::SensorItem* item = deck->sensors().front()->itemAt(0);
    const QString tag = benchship::stateTag(0);
    bool alarm = false;
    for (auto _ : state) {
        alarm = !alarm;
        item->setValue(tag, alarm ? kAlarm : kNormal);
    }
    if (deck->abnormalSensorCount() != (alarm ? 1 : 0))
        state.SkipWithError("the state did not follow");
}

std::vector<QString> dispatchNames(int items)
{
    std::vector<QString> names;
    for (int i = 0; i < kDispatchNames; ++i)
        names.push_back(benchship::stateTag(int((long(i) * items) / kDispatchNames)));
    return names;
}

void BM_DispatchThroughIndex(benchmark::State& state)
{
    const int items = int(state.range(0));
    const auto deck = benchship::buildDeck(items, 0, false);
    const harq::SensorItemIndex index(*deck);
    const std::vector<QString> names = dispatchNames(items);
    size_t next = 0;
    long reached = 0;
    for (auto _ : state) {
        reached += index.dispatch(names[next], (next & 1) ? kQuietA : kQuietB);
        next = (next + 1) % names.size();
    }
    if (reached != long(state.iterations()))
        state.SkipWithError("a record missed its item");
}

// What a host does without the index: every record to every item.
void BM_DispatchToEveryItem(benchmark::State& state)
{
    const int items = int(state.range(0));
    const auto deck = benchship::buildDeck(items, 0, false);
    std::vector<harq::SensorItem*> all;
    for (harq::Sensor* sensor : deck->sensors()) {
        for (auto it = sensor->beginItem(); it != sensor->endItem(); ++it)
            all.push_back(it->get());
    }
    const std::vector<QString> names = dispatchNames(items);
    size_t next = 0;
    for (auto _ : state) {
        const double value = (next & 1) ? kQuietA : kQuietB;
        for (harq::SensorItem* item : all)
            item->setValue(names[next], value);
        next = (next + 1) % names.size();
    }
}

} // namespace

BENCHMARK(BM_StateFlip);
BENCHMARK(BM_StateFlipWithoutAnimation);
BENCHMARK(BM_StateFlipOnBlinkClock);
BENCHMARK(BM_StateFlipModelOnly);
BENCHMARK(BM_ValueWithoutFlip);
BENCHMARK(BM_StateFlipOnFullDeck);
BENCHMARK(BM_DispatchThroughIndex)->Arg(500)->Arg(5000)->Arg(50000);
BENCHMARK(BM_DispatchToEveryItem)->Arg(500)->Arg(5000)->Arg(50000);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return benchmain::run<QApplication>(argc, argv, [] { benchship::loadSampleStyles(); });
}
