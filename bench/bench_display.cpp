// Paints of a 1920x1080 DeckViewComplex on the offscreen platform showing a
// deck of 2,000 sensors (icons with labels) and 300 compartments: CPU time per
// paint and paints per second while 20 or 1,000 sensors blink, and while
// nothing changes. Paints are those the event loop asks for, counted in the
// view's own paint event; a forced full repaint is the reference.

#include "bench_main.h"
#include "process_cpu.h"
#include "ship_fixture.h"

#include "config/sensor_config.h"
#include "entity/deck.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "graphics/sensor_graphic.h"
#include "view/blink_animation.h"
#include "view/opacity_animation.h"
#include "view/deck_scene.h"
#include "view/deck_view_complex.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGraphicsItem>
#include <QGraphicsSvgItem>
#include <QGraphicsTextItem>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <ctime>
#include <memory>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kPeriodMs = 3000;
// Long enough for stopped animations and pending updates to settle.
constexpr int kSettleMs = 500;
constexpr double kAlarm = 1.0;
constexpr double kNormal = 0.0;
constexpr qreal kStationSmallestLabel = 6.0;

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

/// The interactive view, counting its paints and their CPU time.
class CountingView : public DeckViewComplex
{
public:
    using DeckViewComplex::DeckViewComplex;

    int paints = 0;
    double paintCpu = 0;
    double longestPaint = 0;
    /// Rectangles and pixels of the regions painted.
    qint64 rects = 0;
    qint64 area = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        rects += event->region().rectCount();
        for (const QRect& r : event->region())
            area += qint64(r.width()) * r.height();
        const double start = threadCpuSeconds();
        DeckViewComplex::paintEvent(event);
        const double cpu = threadCpuSeconds() - start;
        paintCpu += cpu;
        longestPaint = std::max(longestPaint, cpu);
        ++paints;
    }
};

void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

/// The 2,000-sensor deck on show in a 1920x1080 view.
class Station
{
public:
    Station()
    {
        drawing_ = benchship::writeDeckDrawing(folder_.path());
        deck_ = benchship::buildDeck(benchship::kSensors, benchship::kCompartments, false);
        benchship::showDeck(scene_, *deck_, drawing_);
        view_ = std::make_unique<CountingView>(&scene_);
        view_->resize(kWidth, kHeight);
        view_->show();
        view_->changeDeck(deck_->name());
        runEventLoop(kSettleMs);
    }

    /// Puts `count` sensors spread over the deck in alarm, the rest back to normal.
    void setBlinking(int count)
    {
        const auto sensors = deck_->sensors();
        const int step = count > 0 ? int(sensors.size()) / count : 0;
        for (int i = 0; i < int(sensors.size()); ++i) {
            const bool alarm = step > 0 && i % step == 0 && i / step < count;
            sensors[size_t(i)]->itemAt(0)->setValue(benchship::stateTag(i), alarm ? kAlarm : kNormal);
        }
        runEventLoop(kSettleMs);
    }

    /// Alternatives the library does not take, measured for comparison: sensor
    /// labels and the deck drawing drawn from a device pixmap cache.
    void setCaching(bool labels, bool drawing)
    {
        for (QGraphicsItem* item : scene_.items()) {
            if (item->type() == QGraphicsTextItem::Type)
                item->setCacheMode(labels ? QGraphicsItem::DeviceCoordinateCache : QGraphicsItem::NoCache);
            else if (item->type() == QGraphicsSvgItem::Type)
                item->setCacheMode(drawing ? QGraphicsItem::DeviceCoordinateCache : QGraphicsItem::NoCache);
        }
    }

    /// Gives every sensor graphic the shared blink clock's animation, or the
    /// opacity animation of its own it has by default.
    void setSharedClock(bool shared)
    {
        setBlinking(0);
        for (QGraphicsItem* item : scene_.items()) {
            if (auto* graphic = qobject_cast<SensorGraphic*>(item->toGraphicsObject()))
                graphic->acceptAnimotion(shared ? static_cast<AlarmAnimation*>(new BlinkAnimation)
                                                : new OpacityAnimation);
        }
    }

    int abnormal() const { return deck_->abnormalSensorCount(); }
    CountingView& view() { return *view_; }

private:
    QTemporaryDir folder_;
    QString drawing_;
    std::unique_ptr<harq::Deck> deck_;
    DeckScene scene_;
    std::unique_ptr<CountingView> view_;
};

// Built on first use, released before the application object goes.
std::unique_ptr<Station> g_station;

Station& station()
{
    if (!g_station)
        g_station = std::make_unique<Station>();
    return *g_station;
}

enum Caching { kNoCache = 0, kLabelCache = 1, kDrawingCache = 2, kSharedClock = 4 };

// Each iteration lets the event loop run for kPeriodMs.
void measureLoop(benchmark::State& state, int blinking, int caching = kNoCache,
                 QGraphicsView::ViewportUpdateMode mode = QGraphicsView::MinimalViewportUpdate)
{
    Station& s = station();
    s.setCaching(caching & kLabelCache, caching & kDrawingCache);
    if (caching & kSharedClock)
        s.setSharedClock(true);
    s.view().setViewportUpdateMode(mode);
    s.setBlinking(blinking);
    if (s.abnormal() != blinking) {
        state.SkipWithError("wrong number of sensors in alarm");
        return;
    }
    CountingView& view = s.view();
    view.paints = 0;
    view.paintCpu = 0;
    view.rects = 0;
    view.area = 0;
    double cpu = 0;
    double seconds = 0;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = benchcpu::cpuSeconds();
        runEventLoop(kPeriodMs);
        cpu += benchcpu::cpuSeconds() - cpu0;
        seconds += double(wall.nsecsElapsed()) / 1e9;
    }
    state.counters["paints/s"] = double(view.paints) / seconds;
    state.counters["cpu_ms/paint"] = view.paints > 0 ? view.paintCpu * 1e3 / view.paints : 0.0;
    state.counters["process_cpu_share"] = cpu / seconds;
    state.counters["rects/paint"] = view.paints > 0 ? double(view.rects) / view.paints : 0.0;
    state.counters["px/paint"] = view.paints > 0 ? double(view.area) / view.paints : 0.0;
    s.setCaching(false, false);
    if (caching & kSharedClock)
        s.setSharedClock(false);
    s.view().setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
}

void BM_PaintWhileBlinking(benchmark::State& state)
{
    measureLoop(state, int(state.range(0)));
}

// Arguments: sensors blinking, caching alternative (bits of Caching).
void BM_PaintWhileBlinkingCached(benchmark::State& state)
{
    measureLoop(state, int(state.range(0)), int(state.range(1)));
}

// Arguments: sensors blinking, the view's viewport update mode.
void BM_PaintWhileBlinkingUpdateMode(benchmark::State& state)
{
    measureLoop(state, int(state.range(0)), kNoCache, QGraphicsView::ViewportUpdateMode(state.range(1)));
}

void BM_PaintWhileNothingChanges(benchmark::State& state)
{
    measureLoop(state, 0);
}

/// What the view does on its own after one step of the operator's: the
/// paint of what the step exposed, and the CPU of the whole step.
struct StepCost
{
    double cpu = 0;
    int steps = 0;
};

// Steps of the wheel at the pointer, as the operator pans and zooms, with 20
// sensors blinking. `notches` of angle delta per step, sideways for a pan and
// away from the user (zooming in) for a zoom, reversing after every `turn` steps so that the
// view stays inside the deck. A pan starts zoomed in 4 times, where the view can move.
// With \a preview the view shows its last frame scaled during the steps; the
// render at the new scale once the steps pause is then measured on its own.
void measureSteps(benchmark::State& state, QPoint notches, int turn, bool preview = false)
{
    constexpr int kBlinking = 20;
    constexpr qreal kPanZoom = 4.0;
    Station& s = station();
    s.setBlinking(kBlinking);
    CountingView& view = s.view();
    view.setZoomPreview(preview);
    const QPoint centre(kWidth / 2, kHeight / 2);
    if (notches.x() != 0)
        view.scaleScene(view.mapToScene(centre), kPanZoom);
    runEventLoop(kSettleMs);
    view.paints = 0;
    view.paintCpu = 0;
    StepCost cost;
    for (auto _ : state) {
        const int sign = (cost.steps / turn) % 2 == 0 ? 1 : -1;
        const double cpu0 = threadCpuSeconds();
        QWheelEvent wheel(QPointF(centre), QPointF(view.viewport()->mapToGlobal(centre)), QPoint(),
                          notches * sign * 120, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.viewport(), &wheel);
        // The paint the step asked for, and nothing else that waits.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        cost.cpu += threadCpuSeconds() - cpu0;
        ++cost.steps;
    }
    state.counters["cpu_ms/step"] = cost.cpu * 1e3 / cost.steps;
    state.counters["paints/step"] = double(view.paints) / cost.steps;
    state.counters["cpu_ms/paint"] = view.paints > 0 ? view.paintCpu * 1e3 / view.paints : 0.0;
    if (preview) {
        // The render at the new scale is the longest paint of the pause; the
        // others are the blinking sensors' partial paints.
        view.longestPaint = 0;
        runEventLoop(kSettleMs);
        state.counters["cpu_ms/render"] = view.longestPaint * 1e3;
        view.setZoomPreview(false);
    }
    view.changeDeck(view.deckName());
    runEventLoop(kSettleMs);
}

void BM_PanStep(benchmark::State& state)
{
    measureSteps(state, QPoint(int(state.range(0)), 0), 10);
}

void BM_ZoomStep(benchmark::State& state)
{
    measureSteps(state, QPoint(0, -1), 4);
}

// The view's own zoom preview: the last frame scaled during the steps.
void BM_ZoomStepPreviewed(benchmark::State& state)
{
    measureSteps(state, QPoint(0, -1), 4, true);
}

// Reference: a forced repaint of the whole 1920x1080 viewport.
void BM_FullRepaint(benchmark::State& state)
{
    Station& s = station();
    s.setBlinking(int(state.range(0)));
    CountingView& view = s.view();
    view.paints = 0;
    view.paintCpu = 0;
    for (auto _ : state)
        view.viewport()->repaint();
    state.counters["cpu_ms/paint"] = view.paints > 0 ? view.paintCpu * 1e3 / view.paints : 0.0;
}

/// The station's level of detail while it lives: labels under 6 pixels left out.
class StationLabels
{
public:
    StationLabels() { SensorConfig::instance().setMinimumLabelSize(kStationSmallestLabel); }
    ~StationLabels() { SensorConfig::instance().setMinimumLabelSize(0); }
    StationLabels(const StationLabels&) = delete;
    StationLabels& operator=(const StationLabels&) = delete;
};

// The full repaint as the station shows the deck: at this zoom no label is drawn.
void BM_FullRepaintStation(benchmark::State& state)
{
    const StationLabels labels;
    BM_FullRepaint(state);
}

// Zoom steps as the station takes them: with the preview and its labels.
void BM_ZoomStepStation(benchmark::State& state)
{
    const StationLabels labels;
    measureSteps(state, QPoint(0, -1), 4, true);
}

} // namespace

BENCHMARK(BM_PaintWhileBlinking)->Arg(20)->Arg(1000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintWhileBlinkingCached)
    ->Args({20, kSharedClock})
    ->Args({1000, kSharedClock})
    ->Args({20, kLabelCache})
    ->Args({1000, kLabelCache})
    ->Args({20, kDrawingCache})
    ->Args({1000, kDrawingCache})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintWhileBlinkingUpdateMode)
    ->Args({20, QGraphicsView::SmartViewportUpdate})
    ->Args({1000, QGraphicsView::SmartViewportUpdate})
    ->Args({20, QGraphicsView::BoundingRectViewportUpdate})
    ->Args({1000, QGraphicsView::BoundingRectViewportUpdate})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintWhileNothingChanges)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
// Pan steps of one and of three wheel notches (15 and 45 view pixels).
BENCHMARK(BM_PanStep)->Arg(1)->Arg(3)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStep)->Iterations(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStepPreviewed)->Iterations(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRepaint)->Arg(0)->Arg(20)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRepaintStation)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStepStation)->Iterations(16)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return benchmain::run<QApplication>(
        argc, argv, [] { benchship::loadSampleStyles(); }, [] { g_station.reset(); });
}
