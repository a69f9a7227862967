#include "entity/deck.h"
#include "graphics/boundary_line.h"
#include "graphics/damage_boundary.h"
#include "maintenance/damage_boundary_layer.h"
#include "maintenance/maintenance_command.h"
#include "maintenance/region_path_graphic.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsScene>
#include <QPointer>
#include <QSignalSpy>

namespace {

const QPolygonF kSquare({QPointF(10, 10), QPointF(90, 10), QPointF(90, 70), QPointF(10, 70)});
const QPolygonF kTriangle({QPointF(20, 20), QPointF(80, 30), QPointF(40, 60)});

RegionPathGraphic* drawingOf(const DamageBoundary* boundary)
{
    for (QGraphicsItem* child : boundary->childItems()) {
        if (auto* drawing = qgraphicsitem_cast<RegionPathGraphic*>(child))
            return drawing;
    }
    return nullptr;
}

void runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// Three decks, each with its layer in its own scene.
class BoundaryLayers : public ::testing::Test
{
protected:
    BoundaryLayers()
    {
        for (int i = 0; i < 3; ++i) {
            scenes_[i].setSceneRect(0, 0, 100, 80);
            scenes_[i].addItem(layers_[i]);
        }
    }

    harq::Deck decks_[3];
    QGraphicsScene scenes_[3];
    DamageBoundaryLayer* layers_[3] = {new DamageBoundaryLayer(&decks_[0]), new DamageBoundaryLayer(&decks_[1]),
                                       new DamageBoundaryLayer(&decks_[2])};
    DamageBoundaryLayer& upper_ = *layers_[0];
    DamageBoundaryLayer& middle_ = *layers_[1];
    DamageBoundaryLayer& lower_ = *layers_[2];
};

} // namespace

TEST_F(BoundaryLayers, MasterFromAnOutline)
{
    QSignalSpy created(&middle_, &DamageBoundaryLayer::masterBoundaryCreated);
    DamageBoundary* master = middle_.addMasterBoundary(kSquare);
    ASSERT_NE(master, nullptr);
    EXPECT_TRUE(master->isMaster());
    EXPECT_EQ(master->deck(), &decks_[1]);
    EXPECT_EQ(master->parentItem(), &middle_);
    EXPECT_EQ(master->boundaryPath(), kSquare);
    for (const BoundaryLine* line : master->lines()) {
        EXPECT_EQ(line->pen().style(), Qt::SolidLine);
        EXPECT_DOUBLE_EQ(line->pen().widthF(), 6);
    }
    EXPECT_EQ(middle_.boundaries(), QList<DamageBoundary*>{master});
    ASSERT_EQ(created.count(), 1);
    EXPECT_EQ(created.at(0).at(0).value<DamageBoundary*>(), master);
    EXPECT_EQ(middle_.boundingRect(), scenes_[1].sceneRect());

    // A drawing of fewer than three points still gives a (segmentless) boundary.
    DamageBoundary* empty = middle_.addMasterBoundary(QPolygonF(QVector<QPointF>{QPointF(1, 1), QPointF(2, 2)}));
    EXPECT_TRUE(empty->lines().isEmpty());
    EXPECT_EQ(middle_.boundaries().size(), 2);
}

TEST_F(BoundaryLayers, CopyingKeepsOneMemberPerFamilyAndLayer)
{
    DamageBoundary* master = middle_.addMasterBoundary(kSquare);
    upper_.copyBoundaryFrom(master);
    ASSERT_EQ(upper_.boundaries().size(), 1);
    DamageBoundary* slave = upper_.boundaries().first();
    EXPECT_EQ(slave->master(), master);
    EXPECT_EQ(slave->deck(), &decks_[0]);
    EXPECT_EQ(slave->boundaryPath(), kSquare);

    master->makeBoundary(kTriangle, true);
    upper_.copyBoundaryFrom(master);
    EXPECT_EQ(upper_.boundaries(), QList<DamageBoundary*>{slave});
    EXPECT_EQ(slave->boundaryPath(), kTriangle);
    EXPECT_EQ(slave->lines().first()->pen().style(), Qt::DotLine);

    // From the slave down to the deck below, then back onto the master.
    lower_.copyBoundaryFrom(slave);
    ASSERT_EQ(lower_.boundaries().size(), 1);
    DamageBoundary* lower_slave = lower_.boundaries().first();
    EXPECT_EQ(lower_slave->master(), master);
    EXPECT_EQ(master->slaves(), (QList<DamageBoundary*>{slave, lower_slave}));

    slave->makeBoundary(kSquare, false);
    middle_.copyBoundaryFrom(slave);
    EXPECT_EQ(middle_.boundaries(), QList<DamageBoundary*>{master});
    EXPECT_EQ(master->boundaryPath(), kSquare);
    EXPECT_EQ(master->lines().first()->pen().style(), Qt::SolidLine);
    EXPECT_DOUBLE_EQ(master->lines().first()->pen().widthF(), 6);
}

TEST_F(BoundaryLayers, RemovingAMasterNeverLeavesDanglingEntries)
{
    DamageBoundary* master = middle_.addMasterBoundary(kSquare);
    upper_.copyBoundaryFrom(master);
    lower_.copyBoundaryFrom(master);
    QPointer<DamageBoundary> upper_slave = upper_.boundaries().first();
    QPointer<DamageBoundary> lower_slave = lower_.boundaries().first();
    QPointer<DamageBoundary> removed = master;

    // The host takes the upper slave away first, as told.
    bool intact_when_announced = false;
    QObject::connect(&middle_, &DamageBoundaryLayer::prepareRemoveBoundary, [&](DamageBoundary* boundary) {
        intact_when_announced = middle_.boundaries().contains(boundary) && boundary->slaves().size() == 2;
        upper_.removeBoundary(upper_slave);
    });
    middle_.removeBoundary(master);

    EXPECT_TRUE(intact_when_announced);
    EXPECT_TRUE(removed.isNull());
    EXPECT_TRUE(upper_slave.isNull());
    // Forgotten by the host, deleted with its master, and gone from its layer.
    EXPECT_TRUE(lower_slave.isNull());
    EXPECT_TRUE(middle_.boundaries().isEmpty());
    EXPECT_TRUE(upper_.boundaries().isEmpty());
    EXPECT_TRUE(lower_.boundaries().isEmpty());
    EXPECT_TRUE(lower_.childItems().isEmpty());
}

TEST_F(BoundaryLayers, RemovingASlaveMayTakeItsWholeFamily)
{
    DamageBoundary* master = middle_.addMasterBoundary(kSquare);
    lower_.copyBoundaryFrom(master);
    QPointer<DamageBoundary> slave = lower_.boundaries().first();
    // This host removes a family as a whole, whichever member was chosen.
    QObject::connect(&lower_, &DamageBoundaryLayer::prepareRemoveBoundary, [&](DamageBoundary* boundary) {
        middle_.removeBoundary(boundary->master());
    });

    emit slave->lines().first()->removeBoundary();
    EXPECT_TRUE(slave.isNull());
    EXPECT_TRUE(lower_.boundaries().isEmpty());
    EXPECT_TRUE(middle_.boundaries().isEmpty());
}

TEST_F(BoundaryLayers, ARemoveRequestFromASegmentDeletesLater)
{
    DamageBoundary* master = middle_.addMasterBoundary(kSquare);
    lower_.copyBoundaryFrom(master);
    QPointer<DamageBoundary> slave = lower_.boundaries().first();
    QSignalSpy announced(&lower_, &DamageBoundaryLayer::prepareRemoveBoundary);

    emit slave->lines().first()->removeBoundary();
    ASSERT_EQ(announced.count(), 1);
    EXPECT_TRUE(lower_.boundaries().isEmpty());
    EXPECT_TRUE(master->slaves().isEmpty());
    ASSERT_FALSE(slave.isNull()) << "still delivering the segment's signal";
    EXPECT_EQ(slave->scene(), nullptr);
    runDeferredDeletes();
    EXPECT_TRUE(slave.isNull());

    // A boundary the layer does not hold is still announced and deleted.
    QPointer<DamageBoundary> stranger = upper_.addMasterBoundary(kTriangle);
    lower_.removeBoundary(stranger);
    EXPECT_EQ(announced.count(), 2);
    EXPECT_TRUE(stranger.isNull());
    EXPECT_TRUE(upper_.boundaries().isEmpty());
}

TEST_F(BoundaryLayers, DestroyingALayerUpdatesTheOthers)
{
    DamageBoundary* master = middle_.addMasterBoundary(kSquare);
    upper_.copyBoundaryFrom(master);
    lower_.copyBoundaryFrom(master);
    DamageBoundary* other = lower_.addMasterBoundary(kTriangle);
    middle_.copyBoundaryFrom(other);

    delete &upper_;
    EXPECT_EQ(master->slaves().size(), 1);
    delete &middle_;
    EXPECT_EQ(lower_.boundaries(), QList<DamageBoundary*>{other});
    EXPECT_TRUE(other->slaves().isEmpty());
}

TEST_F(BoundaryLayers, AbandonedRedrawingGivesWayToTheNextOne)
{
    DamageBoundary* master = middle_.addMasterBoundary(kSquare);
    MaintenanceCommand command;
    master->setMaintenanceCommand(&command);

    master->onResetBoundary();
    EXPECT_TRUE(master->lines().isEmpty());
    command.onPath();
    command.setState(IDLE);
    QPointer<RegionPathGraphic> abandoned = drawingOf(master);
    ASSERT_FALSE(abandoned.isNull());
    EXPECT_TRUE(abandoned->path().isEmpty());

    // The maintainer's next task draws with the same command: the abandoned
    // drawing stays out of it and the boundary stays without an outline.
    command.onPath();
    abandoned->onAddPoint(QPointF(1, 1));
    abandoned->onAddPoint(QPointF(9, 1));
    abandoned->onAddPoint(QPointF(9, 9));
    command.setState(CONFIRM);
    EXPECT_TRUE(master->lines().isEmpty());
    EXPECT_TRUE(abandoned->path().isEmpty());
    EXPECT_EQ(drawingOf(master), abandoned.data());

    master->onResetBoundary();
    EXPECT_TRUE(abandoned.isNull());
    QPointer<RegionPathGraphic> drawing = drawingOf(master);
    ASSERT_FALSE(drawing.isNull());
    command.onPath();
    drawing->onAddPoint(QPointF(5, 5));
    drawing->onAddPoint(QPointF(50, 5));
    drawing->onAddPoint(QPointF(50, 50));
    command.setState(CONFIRM);
    const QPolygonF redrawn({QPointF(5, 5), QPointF(50, 5), QPointF(50, 50)});
    EXPECT_EQ(master->boundaryPath(), redrawn);
    EXPECT_EQ(drawingOf(master), nullptr);

    // Until it is gone, the next drawing on the same command is none of its business.
    command.onPath();
    for (const QPointF& point : kTriangle)
        drawing->onAddPoint(point);
    command.setState(CONFIRM);
    EXPECT_EQ(master->boundaryPath(), redrawn);
    runDeferredDeletes();
    EXPECT_TRUE(drawing.isNull());

    // A command deleted meanwhile is simply not used.
    auto* gone = new MaintenanceCommand;
    master->setMaintenanceCommand(gone);
    delete gone;
    master->onResetBoundary();
    EXPECT_NE(drawingOf(master), nullptr);
}

TEST(BoundaryLayerDeathTest, NullBoundariesStopTheProcess)
{
    DamageBoundaryLayer layer(nullptr);
    EXPECT_DEATH(layer.addSlaveBoundary(nullptr), "\"master\" in void DamageBoundary::makeSlaveBoundary");
    EXPECT_DEATH(layer.copyBoundaryFrom(nullptr),
                 "\"boundary\" in void DamageBoundaryLayer::copyBoundaryFrom\\(DamageBoundary\\*\\)");
    EXPECT_DEATH(layer.removeBoundary(nullptr),
                 "\"boundary\" in void DamageBoundaryLayer::removeBoundary\\(DamageBoundary\\*\\)");
}
