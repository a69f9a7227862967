#include "config/damage_config.h"
#include "config/region_config.h"
#include "config/sensor_config.h"
#include "edition_steps.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/value_transform.h"
#include "entity/view_group.h"
#include "graphics/damage_boundary.h"
#include "graphics/mark_sensor_graphic.h"
#include "graphics/reaction_region.h"
#include "graphics/region_reaction_layer.h"
#include "graphics/sensor_layer.h"
#include "kelvane_edition.h"
#include "view/deck_scene.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGraphicsEffect>
#include <QGraphicsRectItem>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <map>
#include <memory>
#include <random>

using harq::DamageResponse;

namespace {

/// The styles and the deck drawing of data/ copied to a temporary folder
/// laid out as config/ beside icons/.
class Station
{
public:
    Station()
    {
        QDir root(dir_.path());
        root.mkpath("config");
        root.mkpath("icons");
        const QString lua = root.filePath("config/station.lua");
        // From the source tree by an absolute path: QFINDTESTDATA depends on how
        // the compiler was called (a compiler cache may hand it a relative __FILE__).
        const QDir data(QStringLiteral(KELVANE_GRAPHICS_DATA_DIR));
        QFile::copy(data.filePath("config/station.lua"), lua);
        QFile::copy(data.filePath("icons/station_detector.svg"), root.filePath("icons/station_detector.svg"));
        QFile::copy(data.filePath("deck.svg"), deckFile());
        useIconFolder(root.filePath("icons"));
        SensorConfig::instance().loadStyle(lua);
        RegionConfig::instance().loadStyle(lua);
        DamageConfig::instance().loadStyle(lua);
    }

    QString deckFile() const { return QDir(dir_.path()).filePath("deck.svg"); }

private:
    QTemporaryDir dir_;
};

harq::Region* cabin(harq::Deck& deck, const QRectF& outline)
{
    auto* region = new harq::Region;
    region->setRegionPath(QPolygonF(outline));
    region->setViewGroup(new harq::ViewGroup("舱室", "cabin", DamageResponse::FIRE));
    deck.addRegion(region);
    region->setDeck(&deck);
    return region;
}

/// \a top drawn at \a alpha over \a bottom.
QColor over(const QColor& top, qreal alpha, const QColor& bottom)
{
    auto channel = [alpha](int t, int b) { return qRound(t * alpha + b * (1 - alpha)); };
    return QColor(channel(top.red(), bottom.red()), channel(top.green(), bottom.green()),
                  channel(top.blue(), bottom.blue()));
}

::testing::AssertionResult near(const QImage& image, QPoint at, const QColor& expected)
{
    const QColor seen = image.pixelColor(at);
    const int tolerance = 3;
    if (std::abs(seen.red() - expected.red()) <= tolerance && std::abs(seen.green() - expected.green()) <= tolerance
        && std::abs(seen.blue() - expected.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "at (" << at.x() << ", " << at.y() << ") saw "
                                         << seen.name().toStdString() << ", expected "
                                         << expected.name().toStdString();
}

/// What the host does with every update of the data server: offer it to every item.
void offer(harq::Deck& deck, const QString& tag, double value)
{
    for (harq::Sensor* sensor : deck.sensors()) {
        for (auto it = sensor->beginItem(); it != sensor->endItem(); ++it)
            (*it)->setValue(tag, value);
    }
}

/// The graphic the station shows for \a sensor: a mark, blinking on alarms in the edition with tags.
MarkSensorGraphic* markGraphic(harq::Sensor* sensor)
{
    auto* graphic = new MarkSensorGraphic;
    graphic->setSensor(sensor);
    giveAlarmAnimation(graphic);
    return graphic;
}

QImage render(QGraphicsScene& scene)
{
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, 400, 200), scene.sceneRect());
    return image;
}

} // namespace

TEST(Render, AValueTravelsFromItsItemToTheRenderedDeck)
{
    Station station;
    harq::Deck deck(1);
    harq::Region* engineRoom = cabin(deck, QRectF(20, 20, 160, 160));
    cabin(deck, QRectF(200, 20, 80, 100));

    // A sensor in the first cabin: a smoke switch, whose icon the sensor
    // shows, and a temperature reported in tenths of a degree that alarms above 60 degrees.
    auto* sensor = new harq::Sensor;
    sensor->setName("温感1");
    sensor->setPos(QPointF(60, 100));
    sensor->setViewGroup(new harq::ViewGroup("火警", "fire", DamageResponse::FIRE));
    auto* temperature = new harq::SensorItem;
    temperature->setTag("T1");
    temperature->setLow(0);
    temperature->setHigh(60);
    temperature->setValueTrans(new harq::ValueTransform("(0.1 1)"));
    auto* smoke = new harq::SensorItem;
    smoke->setTag("SM1");
    smoke->setIcon("station_detector.svg", "station_detector_alarm.svg");
    for (harq::SensorItem* item : {smoke, temperature}) {
        // The maintenance edition leaves classifying items to the host.
        item->initCheck();
        sensor->addItem(item);
    }
    deck.addSensor(sensor);
    for (harq::Region* region : deck.regions())
        region->associateSensor(sensor);

    DeckScene scene;
    scene.setDeck("main", station.deckFile());
    ASSERT_EQ(scene.sceneRect(), QRectF(0, 0, 400, 200));
    auto* regions = new RegionReactionLayer;
    scene.addItem(regions);
    for (harq::Region* region : deck.regions())
        regions->addRegion(new ReactionRegion(region));
    auto* sensors = new SensorLayer;
    scene.addItem(sensors);
    auto* graphic = markGraphic(sensor);
    sensors->addSensor(graphic);
    auto* boundary = new DamageBoundary(&deck);
    boundary->makeMasterBoundary(QPolygonF({QPointF(300, 30), QPointF(380, 30), QPointF(380, 100), QPointF(300, 100)}));
    scene.addItem(boundary);

    ReactionRegion* rg = nullptr;
    for (QGraphicsItem* item : scene.items(QPointF(140, 140))) {
        if (auto* found = qgraphicsitem_cast<ReactionRegion*>(item))
            rg = found;
    }
    ASSERT_NE(rg, nullptr);
    QGraphicsRectItem* mark = nullptr;
    for (QGraphicsItem* child : graphic->childItems()) {
        if (auto* rect = qgraphicsitem_cast<QGraphicsRectItem*>(child))
            mark = rect;
    }
    ASSERT_NE(mark, nullptr);
    QSignalSpy damaged(&deck, &harq::Deck::regionDamage);
    QSignalSpy recovered(&deck, &harq::Deck::regionRecover);

    // 800 tenths: 80 degrees.
    offer(deck, "T1", 800);
    ASSERT_EQ(damaged.count(), 1);
    EXPECT_EQ(damaged.at(0).at(0).value<harq::Region*>(), engineRoom);
    EXPECT_EQ(rg->brush().color(), QColor("#FF0000"));
    EXPECT_NEAR(rg->opacity(), 0.36, 1e-12);
    EXPECT_EQ(graphic->toolTip(), "温感1:超高限");
    // The temperature is the second item: the second state colour.
    EXPECT_EQ(mark->brush().color(), QColor("#FFFF00"));
    if constexpr (!kelvane::kMaintenanceEdition) {
        EXPECT_NE(qobject_cast<QGraphicsOpacityEffect*>(mark->graphicsEffect()), nullptr);
    }

    // Smoke too: still one abnormal sensor, so the cabin keeps its look; the mark splits.
    offer(deck, "SM1", 1);
    EXPECT_NEAR(rg->opacity(), 0.36, 1e-12);
    ASSERT_EQ(mark->brush().style(), Qt::LinearGradientPattern);
    EXPECT_EQ(mark->brush().gradient()->stops().first().second, QColor("#FF0000"));
    EXPECT_EQ(mark->brush().gradient()->stops().last().second, QColor("#FFFF00"));
    EXPECT_EQ(graphic->toolTip(), "温感1:station_detector_alarm+超高限");

    const QColor white(Qt::white);
    const QColor cabinFill = over(Qt::red, 0.36, white);
    QImage image = render(scene);
    EXPECT_TRUE(near(image, QPoint(350, 170), Qt::black));
    EXPECT_TRUE(near(image, QPoint(190, 190), white));
    EXPECT_TRUE(near(image, QPoint(140, 140), cabinFill));
    EXPECT_TRUE(near(image, QPoint(25, 175), cabinFill));
    // The quiet cabin stays invisible.
    EXPECT_TRUE(near(image, QPoint(240, 70), white));
    // The icon (40 x 20 around (60, 100)) at the style's opacity 0.6.
    EXPECT_TRUE(near(image, QPoint(60, 100), over(Qt::blue, 0.6, cabinFill)));
    if constexpr (kelvane::kMaintenanceEdition) {
        // The mark's left band below the icon.
        EXPECT_TRUE(near(image, QPoint(50, 112), over(Qt::red, 0.6, cabinFill)));
    } else {
        // The blinking mark starts from invisible.
        EXPECT_TRUE(near(image, QPoint(50, 112), cabinFill));
    }
    // The boundary: solid red, 6 wide.
    EXPECT_TRUE(near(image, QPoint(340, 31), Qt::red));
    EXPECT_TRUE(near(image, QPoint(379, 60), Qt::red));
    EXPECT_TRUE(near(image, QPoint(340, 60), white));

    offer(deck, "T1", 300);
    offer(deck, "SM1", 0);
    ASSERT_EQ(recovered.count(), 1);
    EXPECT_EQ(recovered.at(0).at(0).value<harq::Region*>(), engineRoom);
    EXPECT_EQ(rg->brush().style(), Qt::NoBrush);
    EXPECT_DOUBLE_EQ(rg->opacity(), 0.3);
    EXPECT_EQ(graphic->toolTip(), "温感1:station_detector");
    EXPECT_EQ(mark->graphicsEffect(), nullptr);

    image = render(scene);
    EXPECT_TRUE(near(image, QPoint(140, 140), white));
    EXPECT_TRUE(near(image, QPoint(50, 112), over(Qt::green, 0.6, white)));
}

namespace {

QPointF point(const QJsonValue& xy)
{
    return QPointF(xy[0].toDouble(), xy[1].toDouble());
}

/// The sample ship's decks, compartments and sensors from its ship.json, built
/// and shown as the station does (without equipment, teams and boundaries).
class SampleShip
{
public:
    SampleShip()
        : dir_(KELVANE_SHIP_DIR)
    {
        useIconFolder(dir_.filePath("icons"));
        SensorConfig::instance().loadStyle(dir_.filePath("config/sensor.lua"));
        RegionConfig::instance().loadStyle(dir_.filePath("config/region.lua"));
        DamageConfig::instance().loadStyle(dir_.filePath("config/damage.lua"));
        QFile file(dir_.filePath("ship.json"));
        file.open(QIODevice::ReadOnly);
        const QJsonObject ship = QJsonDocument::fromJson(file.readAll()).object();
        for (const QJsonValue& d : ship["decks"].toArray()) {
            decks_[d["id"].toInt()] = std::make_unique<harq::Deck>(d["level"].toInt());
            decks_[d["id"].toInt()]->setName(d["name"].toString());
            drawings_[d["id"].toInt()] = dir_.filePath(d["drawing"].toString());
        }
        std::map<int, harq::Region*> compartments;
        for (const QJsonValue& c : ship["compartments"].toArray()) {
            auto* region = new harq::Region;
            region->setType(c["type"].toInt());
            // A copy: the maintenance edition hands out the configuration's own group.
            region->setViewGroup(new harq::ViewGroup(*RegionConfig::instance().srViewGroup(region->type())));
            QPolygonF outline;
            for (const QJsonValue& xy : c["outline"].toArray())
                outline << point(xy);
            region->setRegionPath(outline);
            decks_[c["deck"].toInt()]->addRegion(region);
            region->setDeck(decks_[c["deck"].toInt()].get());
            compartments[c["id"].toInt()] = region;
        }
        for (const QJsonValue& s : ship["sensors"].toArray()) {
            auto* sensor = new harq::Sensor;
            sensor->setName(s["name"].toString());
            sensor->setCode(s["code"].toString());
            sensor->setPos(point(s["position"]));
            // Every group as a fire alarm, so that alarms colour their compartments.
            sensor->setViewGroup(new harq::ViewGroup(s["view_group"].toString(), "g", DamageResponse::FIRE));
            for (const QJsonValue& i : s["items"].toArray()) {
                auto* item = new harq::SensorItem;
                item->setTag(i["tag"].toString());
                if (i["icons"].isArray())
                    item->setIcon(i["icons"][0].toString(), i["icons"][1].toString());
                item->initCheck();
                sensor->addItem(item);
            }
            decks_[s["deck"].toInt()]->addSensor(sensor);
            compartments[s["compartment"].toInt()]->associateSensor(sensor);
        }
    }

    QList<int> decks() const { return {3, 1, 2, 4}; }

    /// Shows deck \a id on \a scene; returns its sensor layer.
    SensorLayer* show(DeckScene& scene, int id)
    {
        scene.setDeck(decks_[id]->name(), drawings_[id]);
        auto* regions = new RegionReactionLayer;
        scene.addItem(regions);
        for (harq::Region* region : decks_[id]->regions())
            regions->addRegion(new ReactionRegion(region));
        auto* sensors = new SensorLayer;
        scene.addItem(sensors);
        for (harq::Sensor* sensor : decks_[id]->sensors())
            sensors->addSensor(markGraphic(sensor));
        return sensors;
    }

    /// Every third sensor of deck \a id alarms on its first item, far out of any range.
    void alarm(int id)
    {
        for (size_t i = 0; i < decks_[id]->sensors().size(); i += 3) {
            harq::SensorItem* item = decks_[id]->sensors()[i]->itemAt(0);
            item->setValue(item->tag(), 1000);
        }
    }

private:
    QDir dir_;
    std::map<int, std::unique_ptr<harq::Deck>> decks_;
    std::map<int, QString> drawings_;
};

/// The largest difference between \a a and \a b in any colour channel.
int channelDifference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

/// The control image \a name of this edition. Qt 6 takes a font's ascent and
/// descent unrounded from the font's tables where Qt 5 took FreeType's rounded
/// ones, so a label's box is a unit shorter and the label sits that much lower
/// above its icon. Where that moves labels by whole pixels (a zoomed deck), a
/// Qt 6 build compares with an image of its own, named with _qt6, which is also
/// the one it writes.
QString controlPath(const QString& name, bool writing)
{
    const QString edition = kelvane::kMaintenanceEdition ? "kelvane_" : "kelvaned_";
    const QString stem = QDir(KELVANE_CONTROL_DIR).filePath(edition + name);
    const QString ownQt = stem + (QT_VERSION_MAJOR == 6 ? "_qt6.png" : ".png");
    return writing || QFile::exists(ownQt) ? ownQt : stem + ".png";
}

/// Compares \a seen with the committed control image \a name. Caching may shift
/// an edge by a fraction of a pixel, so a few pixels may differ, none by much on average.
/// With KELVANE_WRITE_CONTROL_IMAGES set, (re)writes the control image instead.
::testing::AssertionResult matchesControl(const QImage& seen, const QString& name)
{
    const bool writing = qEnvironmentVariableIsSet("KELVANE_WRITE_CONTROL_IMAGES");
    const QString path = controlPath(name, writing);
    if (writing)
        seen.save(path);
    const QImage control = QImage(path).convertToFormat(QImage::Format_RGB32);
    const QImage image = seen.convertToFormat(QImage::Format_RGB32);
    if (control.size() != image.size())
        return ::testing::AssertionFailure() << path.toStdString() << " missing or of another size";
    int differing = 0;
    qint64 total = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int d = channelDifference(image.pixel(x, y), control.pixel(x, y));
            total += d;
            differing += d > 48;
        }
    }
    const double pixels = image.width() * image.height();
    if (differing <= pixels * 0.004 && total <= pixels * 1.0)
        return ::testing::AssertionSuccess();
    const QString saved = QDir::temp().filePath(QFileInfo(path).fileName());
    image.save(saved);
    return ::testing::AssertionFailure() << path.toStdString() << ": " << differing << " pixels differ, mean "
                                         << total / pixels << "; seen: " << saved.toStdString();
}

} // namespace

TEST(Render, SampleDecksLookAsTheControlImages)
{
    SampleShip ship;
    DeckScene scene;
    DeckViewComplex view(&scene);
    view.resize(640, 160);
    view.show();
    SensorLayer* sensors = nullptr;
    auto showDeck = [&](int id) {
        sensors = ship.show(scene, id);
        view.changeDeck(QString::number(id));
        return view.viewport()->grab().toImage();
    };
    const int main = ship.decks().first();
    EXPECT_TRUE(matchesControl(showDeck(main), "main"));

    ship.alarm(main);
    // Mid-blink: each animation halfway through its first fade-in.
    for (QGraphicsItem* item : scene.items()) {
        if (auto* object = item->toGraphicsObject()) {
            for (QPropertyAnimation* blink : object->findChildren<QPropertyAnimation*>())
                blink->setCurrentTime(1000);
        }
    }
    EXPECT_TRUE(matchesControl(view.viewport()->grab().toImage(), "main_alarm"));

    const QPoint hover(240, 80);
    QMouseEvent move(QEvent::MouseMove, hover, hover, view.viewport()->mapToGlobal(hover), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    EXPECT_TRUE(matchesControl(view.viewport()->grab().toImage(), "main_hovered"));

    // Labels under the style's minimum are left out; three times larger (below) they show as ever.
    SensorConfig& style = SensorConfig::instance();
    style.setMinimumLabelSize(2 * view.fontMetrics().height() * style.fontScale() * view.transform().m11());
    const QImage unlabelled = view.viewport()->grab().toImage();
    const auto showLabels = [&scene](bool on) {
        for (QGraphicsItem* item : scene.items())
            if (item->type() == QGraphicsTextItem::Type)
                item->setVisible(on);
    };
    showLabels(false);
    EXPECT_EQ(unlabelled, view.viewport()->grab().toImage());
    showLabels(true);

    // Zoom and deck switches right after a blink: nothing stale may remain.
    view.scaleScene(view.mapToScene(hover), 3.0);
    EXPECT_TRUE(matchesControl(view.viewport()->grab().toImage(), "main_zoomed"));
    sensors->hideAll();
    view.viewport()->grab();
    sensors->showAll();
    EXPECT_TRUE(matchesControl(view.viewport()->grab().toImage(), "main_zoomed"));
    style.setMinimumLabelSize(0);
    for (int id : ship.decks().mid(1))
        EXPECT_TRUE(matchesControl(showDeck(id), QString("deck%1").arg(id)));
}

// Wheel steps with the zoom preview show the scaled last frame, and once the
// wheel pauses exactly what a view zoomed directly shows.
TEST(Render, ZoomPreviewEndsInTheSceneDrawnAtTheNewScale)
{
    SampleShip ship;
    DeckScene scene;
    DeckViewComplex wheeled(&scene);
    DeckViewComplex direct(&scene);
    const int main = ship.decks().first();
    ship.show(scene, main);
    for (DeckViewComplex* view : {&wheeled, &direct}) {
        view->resize(640, 160);
        view->show();
        view->changeDeck(QString::number(main));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    }
    wheeled.setZoomPreview(true);
    const QPoint at(240, 80);
    for (int step = 0; step < 2; ++step) {
        QWheelEvent in(at, wheeled.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(wheeled.viewport(), &in);
        direct.scaleScene(direct.mapToScene(at), 1.2);
    }
    EXPECT_EQ(wheeled.transform(), direct.transform());
    EXPECT_NE(wheeled.viewport()->grab().toImage(), direct.viewport()->grab().toImage());
    QTest::qWait(400);
    EXPECT_EQ(wheeled.viewport()->grab().toImage(), direct.viewport()->grab().toImage());
}

// The deck drawing keeps its pixels across pans and reuses their buffer from
// zoom to zoom: after any walk of zooms and pans the view shows what a view
// drawing everything afresh shows, but for edges of pieces rendered at other offsets.
TEST(Render, PannedAndZoomedDeckLooksAsOneDrawnAfresh)
{
    SampleShip ship;
    const int main = ship.decks().first();
    auto open = [&](DeckScene& scene, DeckViewComplex& view) {
        ship.show(scene, main);
        view.resize(640, 160);
        view.show();
        view.changeDeck(QString::number(main));
    };
    DeckScene scene;
    DeckViewComplex walked(&scene);
    open(scene, walked);
    std::mt19937 random(31);
    for (int step = 0; step < 30; ++step) {
        QScrollBar* bar = random() % 2 ? walked.horizontalScrollBar() : walked.verticalScrollBar();
        if (step % 3 == 0)
            walked.scaleScene(walked.mapToScene(QPoint(random() % 640, random() % 160)), 0.8 + random() % 9 / 10.0);
        else
            bar->setValue(bar->value() + int(random() % 161) - 80);
        QTest::qWait(30);
        DeckScene freshScene;
        DeckViewComplex fresh(&freshScene);
        open(freshScene, fresh);
        fresh.setTransform(walked.transform());
        fresh.horizontalScrollBar()->setValue(walked.horizontalScrollBar()->value());
        fresh.verticalScrollBar()->setValue(walked.verticalScrollBar()->value());
        const QImage seen = walked.viewport()->grab().toImage(), want = fresh.viewport()->grab().toImage();
        int largest = 0;
        for (int i = 0; i < want.width() * want.height(); ++i)
            largest = std::max(largest, channelDifference(seen.pixel(i % want.width(), i / want.width()),
                                                          want.pixel(i % want.width(), i / want.width())));
        EXPECT_LE(largest, 16) << "step " << step;
    }
}
