#include "maintenance_fixture.h"

#include "entity/deck.h"
#include "graphics/boundary_line.h"
#include "graphics/damage_boundary.h"
#include "maintenance/damage_boundary_layer.h"
#include "maintenance/position_icon_graphic.h"
#include "maintenance/region_path_graphic.h"

#include <QPixmap>
#include <QPointer>
#include <QSignalSpy>

namespace {

void runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

/// A maintainer at work on the middle of three decks; the host keeps the
/// layers of the decks above and below in scenes of their own.
class MaintenanceFlow : public MaintenanceTest
{
protected:
    void SetUp() override
    {
        MaintenanceTest::SetUp();
        scene_.addItem(&middle_);
        for (QGraphicsScene* scene : {&upper_scene_, &lower_scene_})
            scene->setSceneRect(scene_.sceneRect());
        upper_scene_.addItem(&upper_);
        lower_scene_.addItem(&lower_);

        // The host's handling of the maintainer's requests.
        QObject::connect(&middle_, &DamageBoundaryLayer::copyToUp, &upper_, &DamageBoundaryLayer::copyBoundaryFrom);
        QObject::connect(&middle_, &DamageBoundaryLayer::copyToDown, &lower_,
                         &DamageBoundaryLayer::copyBoundaryFrom);
        QObject::connect(&middle_, &DamageBoundaryLayer::editBoundary, [this](DamageBoundary* boundary) {
            boundary->setMaintenanceCommand(&command_);
            boundary->onResetBoundary();
            command_.onPath();
        });
        QObject::connect(&middle_, &DamageBoundaryLayer::prepareRemoveBoundary, [this](DamageBoundary* boundary) {
            for (DamageBoundaryLayer* layer : {&upper_, &lower_}) {
                for (DamageBoundary* member : layer->boundaries()) {
                    if (member->master() == boundary)
                        layer->removeBoundary(member);
                }
            }
        });
    }

    /// The point in the middle of the side starting at \a i.
    QPointF sideMiddle(const DamageBoundary* boundary, int i) const
    {
        return boundary->lines().at(i)->line().center();
    }

    harq::Deck decks_[3];
    QGraphicsScene upper_scene_;
    QGraphicsScene lower_scene_;
    DamageBoundaryLayer upper_{&decks_[0]};
    DamageBoundaryLayer middle_{&decks_[1]};
    DamageBoundaryLayer lower_{&decks_[2]};
};

TEST_F(MaintenanceFlow, PlaceAPositionThenDrawOutlinesAndBoundaries)
{
    auto* icon = new PositionIconGraphic;
    QPointer<RegionPathGraphic> outline = new RegionPathGraphic;
    scene_.addItem(icon);
    scene_.addItem(outline);
    QObject::connect(&command_, &MaintenanceCommand::stateChanged, icon,
                     &PositionIconGraphic::onMaintenanceStateChanged);
    QObject::connect(&command_, &MaintenanceCommand::stateChanged, outline,
                     &RegionPathGraphic::onMaintenanceStateChanged);
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::blue);
    icon->setIcon(pixmap, QPointF(10, 10));
    QSignalSpy points(icon, &PositionIconGraphic::newPoint);
    QSignalSpy paths(outline, &RegionPathGraphic::newPath);
    // The host makes a master boundary from the accepted outline and is done with the drawing.
    QObject::connect(outline, &RegionPathGraphic::newPath, [&](const QPolygonF& path) {
        middle_.addMasterBoundary(path);
        outline->deleteLater();
    });

    // Place a position.
    command_.onPositioning();
    click(QPointF(300, 40));
    ASSERT_EQ(points.count(), 1);
    EXPECT_EQ(points.at(0).at(0).toPointF(), landed(QPointF(300, 40)));
    EXPECT_EQ(paths.count(), 0);

    // Draw an outline and abandon it.
    command_.onPath();
    click(QPointF(50, 50));
    click(QPointF(150, 50));
    pressKey(Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(paths.count(), 0);
    EXPECT_TRUE(middle_.boundaries().isEmpty());

    // Draw one and accept it: it becomes a master boundary.
    const QPolygonF drawn({landed(QPointF(60, 60)), landed(QPointF(200, 60)), landed(QPointF(200, 160)),
                           landed(QPointF(60, 160))});
    command_.onPath();
    for (int i = 0; i < 3; ++i)
        click(drawn[i]);
    doubleClick(drawn[3]);
    ASSERT_EQ(paths.count(), 1);
    EXPECT_EQ(points.count(), 1);
    ASSERT_EQ(middle_.boundaries().size(), 1);
    QPointer<DamageBoundary> master = middle_.boundaries().first();
    EXPECT_EQ(master->boundaryPath(), drawn);
    EXPECT_EQ(states_.back(), IDLE);
    EXPECT_EQ(view_.viewport()->cursor().shape(), Qt::ArrowCursor);
    runDeferredDeletes();
    EXPECT_TRUE(outline.isNull());

    // Pointing at it highlights it.
    pointAt(sideMiddle(master, 1));
    EXPECT_EQ(master->lines().first()->pen().color(), QColor(Qt::blue));
    pointAt(QPointF(350, 250));
    EXPECT_EQ(master->lines().first()->pen().color(), QColor(Qt::red));

    // Copy it up and down, twice: one slave per deck.
    for (int round = 0; round < 2; ++round) {
        emit master->lines().at(0)->copyToUp();
        emit master->lines().at(2)->copyToDown();
    }
    ASSERT_EQ(upper_.boundaries().size(), 1);
    ASSERT_EQ(lower_.boundaries().size(), 1);
    QPointer<DamageBoundary> upper_slave = upper_.boundaries().first();
    QPointer<DamageBoundary> lower_slave = lower_.boundaries().first();
    EXPECT_EQ(upper_slave->master(), master);
    EXPECT_EQ(lower_slave->boundaryPath(), drawn);

    // Redraw it: three clicks and a double click on a fourth point.
    const QPolygonF redrawn({landed(QPointF(100, 100)), landed(QPointF(300, 100)), landed(QPointF(300, 250)),
                             landed(QPointF(120, 240))});
    emit master->lines().at(1)->editBoundary();
    EXPECT_TRUE(master->lines().isEmpty());
    EXPECT_EQ(view_.viewport()->cursor().shape(), Qt::CrossCursor);
    for (int i = 0; i < 3; ++i)
        click(redrawn[i]);
    doubleClick(redrawn[3]);
    EXPECT_EQ(master->boundaryPath(), redrawn);
    EXPECT_TRUE(master->isMaster());
    EXPECT_EQ(master->lines().first()->pen().style(), Qt::SolidLine);
    EXPECT_EQ(middle_.boundaries().size(), 1);
    runDeferredDeletes();
    for (QGraphicsItem* item : scene_.items())
        EXPECT_EQ(qgraphicsitem_cast<RegionPathGraphic*>(item), nullptr) << "the redrawing is gone";
    EXPECT_EQ(upper_slave->boundaryPath(), drawn) << "slaves follow only when copied";
    emit master->lines().at(0)->copyToUp();
    EXPECT_EQ(upper_slave->boundaryPath(), redrawn);

    // Remove it, with its slaves, from the segment the maintainer chose.
    emit master->lines().at(3)->removeBoundary();
    EXPECT_TRUE(middle_.boundaries().isEmpty());
    EXPECT_TRUE(upper_.boundaries().isEmpty());
    EXPECT_TRUE(lower_.boundaries().isEmpty());
    EXPECT_TRUE(upper_slave.isNull());
    EXPECT_TRUE(lower_slave.isNull());
    runDeferredDeletes();
    EXPECT_TRUE(master.isNull());
}

TEST_F(MaintenanceFlow, ItemsCoveringAnUnboundedSceneDoNotRecurse)
{
    QGraphicsScene open_scene;
    auto* layer = new DamageBoundaryLayer(&decks_[1]);
    auto* icon = new PositionIconGraphic;
    auto* outline = new RegionPathGraphic;
    open_scene.addItem(layer);
    open_scene.addItem(icon);
    open_scene.addItem(outline);
    layer->addMasterBoundary(QPolygonF({QPointF(0, 0), QPointF(500, 0), QPointF(500, 400)}));

    const QRectF bounds = open_scene.sceneRect();
    EXPECT_TRUE(bounds.contains(QRectF(0, 0, 500, 400)));
    EXPECT_EQ(layer->boundingRect(), bounds);
    EXPECT_EQ(outline->boundingRect(), bounds);
}
