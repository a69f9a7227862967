#include "maintenance_fixture.h"

#include "config/region_config.h"
#include "config/sensor_config.h"

#include <QFile>
#include <QTest>

const QColor MaintenanceTest::kEditColor(0x00, 0xAA, 0x00);
const QColor MaintenanceTest::kTraceColor(0xAA, 0x00, 0xAA);

namespace {

const char* const kStyle = R"(
region = {}
scene = { color = "#00AA00", trace = "#AA00AA", width = 6.0 }
sensor = { width = 16.0, opacity = 0.5 }
)";

} // namespace

MaintenanceTest::MaintenanceTest()
    : view_(&scene_)
{
}

void MaintenanceTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    const QString style = dir_.filePath("style.lua");
    QFile file(style);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kStyle);
    file.close();
    RegionConfig::instance().loadStyle(style);
    SensorConfig::instance().loadStyle(style);

    scene_.setSceneRect(0, 0, 400, 300);
    view_.resize(400, 300);
    view_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view_));

    QObject::connect(&view_, &DeckViewComplex::mousePressed, &command_, &MaintenanceCommand::onMousePressEvent);
    QObject::connect(&view_, &DeckViewComplex::mouseDoubleClicked, &command_,
                     &MaintenanceCommand::onMouseDoubleClickEvent);
    QObject::connect(&view_, &DeckViewComplex::keyPressed, &command_, &MaintenanceCommand::onKeyPressEvent);
    QObject::connect(&command_, &MaintenanceCommand::stateChanged, &view_,
                     &DeckViewComplex::onMaintenanceStateChanged);
    QObject::connect(&command_, &MaintenanceCommand::stateChanged,
                     [this](MaintenanceCommandState state) { states_.push_back(state); });
}

QPointF MaintenanceTest::landed(const QPointF& scene_pos) const
{
    return view_.mapToScene(view_.mapFromScene(scene_pos));
}

void MaintenanceTest::click(const QPointF& scene_pos, Qt::MouseButton button)
{
    // A hand moves the pointer there before it clicks.
    pointAt(scene_pos);
    QTest::mouseClick(view_.viewport(), button, Qt::NoModifier, view_.mapFromScene(scene_pos));
}

void MaintenanceTest::doubleClick(const QPointF& scene_pos, Qt::MouseButton button)
{
    pointAt(scene_pos);
    QTest::mouseDClick(view_.viewport(), button, Qt::NoModifier, view_.mapFromScene(scene_pos));
}

void MaintenanceTest::pointAt(const QPointF& scene_pos)
{
    QTest::mouseMove(view_.viewport(), view_.mapFromScene(scene_pos));
}

void MaintenanceTest::pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(&view_, key, modifiers);
}
