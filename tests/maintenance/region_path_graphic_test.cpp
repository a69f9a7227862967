#include "maintenance_fixture.h"

#include "maintenance/region_path_graphic.h"

#include <QGraphicsLineItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsRectItem>
#include <QPen>
#include <QPointer>
#include <QSignalSpy>

namespace {

const QPolygonF kOldOutline({QPointF(10, 10), QPointF(60, 10), QPointF(60, 60)});

/// The child items of a region path graphic, told apart by their kind and pen.
struct Parts {
    explicit Parts(const RegionPathGraphic& graphic)
    {
        for (QGraphicsItem* child : graphic.childItems()) {
            if (auto* polygon_item = qgraphicsitem_cast<QGraphicsPolygonItem*>(child))
                polygon = polygon_item;
            else if (auto* rect = qgraphicsitem_cast<QGraphicsRectItem*>(child))
                segments = rect;
            else if (auto* line = qgraphicsitem_cast<QGraphicsLineItem*>(child))
                (line->pen().style() == Qt::DashLine ? close_line : trace_line) = line;
        }
    }

    QList<QLineF> drawn() const
    {
        QList<QLineF> lines;
        for (QGraphicsItem* child : segments ? segments->childItems() : QList<QGraphicsItem*>())
            lines.append(qgraphicsitem_cast<QGraphicsLineItem*>(child)->line());
        return lines;
    }

    QGraphicsPolygonItem* polygon = nullptr;
    QGraphicsRectItem* segments = nullptr;
    QGraphicsLineItem* trace_line = nullptr;
    QGraphicsLineItem* close_line = nullptr;
};

} // namespace

class RegionPathTest : public MaintenanceTest
{
protected:
    void SetUp() override
    {
        MaintenanceTest::SetUp();
        // Built once the styles are loaded: it takes its pens when it is made.
        graphic_ = new RegionPathGraphic;
        scene_.addItem(graphic_);
        graphic_->setPath(kOldOutline);
        QObject::connect(&command_, &MaintenanceCommand::stateChanged, graphic_,
                         &RegionPathGraphic::onMaintenanceStateChanged);
    }

    void expectShowing(const QPolygonF& outline)
    {
        const Parts parts(*graphic_);
        EXPECT_FALSE(graphic_->isEditing());
        EXPECT_EQ(parts.segments, nullptr);
        EXPECT_TRUE(parts.polygon->isVisible());
        EXPECT_EQ(parts.polygon->polygon(), outline);
        EXPECT_FALSE(parts.trace_line->isVisible());
        EXPECT_FALSE(parts.close_line->isVisible());
    }

    RegionPathGraphic* graphic_ = nullptr;
};

TEST_F(RegionPathTest, PensComeFromTheRegionStyle)
{
    const Parts parts(*graphic_);
    ASSERT_TRUE(parts.polygon && parts.trace_line && parts.close_line);
    EXPECT_EQ(parts.polygon->pen().color(), kEditColor);
    EXPECT_DOUBLE_EQ(parts.polygon->pen().widthF(), kEditWidth);
    EXPECT_EQ(parts.polygon->brush().style(), Qt::NoBrush);
    EXPECT_EQ(parts.trace_line->pen().color(), kTraceColor);
    EXPECT_DOUBLE_EQ(parts.trace_line->pen().widthF(), kEditWidth / 2);
    EXPECT_EQ(parts.close_line->pen().color(), kEditColor);
    EXPECT_DOUBLE_EQ(parts.close_line->pen().widthF(), kEditWidth / 2);
    expectShowing(kOldOutline);
}

TEST_F(RegionPathTest, DrawingPlacesPointsAndADoubleClickAccepts)
{
    QSignalSpy paths(graphic_, &RegionPathGraphic::newPath);
    const QPointF a = landed(QPointF(100, 100));
    const QPointF b = landed(QPointF(250, 110));
    const QPointF c = landed(QPointF(240, 220));
    const QPointF d = landed(QPointF(120, 230));

    command_.onPath();
    Parts parts(*graphic_);
    ASSERT_NE(parts.segments, nullptr);
    EXPECT_FALSE(parts.polygon->isVisible()) << "the old outline hides while drawing";
    pointAt(QPointF(300, 50));
    EXPECT_FALSE(parts.trace_line->isVisible()) << "nothing follows the pointer before the first point";

    click(a);
    EXPECT_TRUE(parts.drawn().isEmpty());
    EXPECT_TRUE(parts.trace_line->isVisible());
    EXPECT_EQ(parts.trace_line->line(), QLineF(a, a));
    pointAt(b);
    EXPECT_EQ(parts.trace_line->line(), QLineF(a, b));
    EXPECT_EQ(parts.close_line->line(), QLineF(a, b));

    click(b);
    click(c);
    EXPECT_EQ(parts.drawn(), (QList<QLineF>{QLineF(a, b), QLineF(b, c)}));
    const auto* first = qgraphicsitem_cast<QGraphicsLineItem*>(parts.segments->childItems().first());
    EXPECT_EQ(first->pen().color(), kEditColor);
    EXPECT_EQ(parts.trace_line->line(), QLineF(c, c));
    EXPECT_EQ(parts.close_line->line(), QLineF(a, c));
    pointAt(d);
    EXPECT_EQ(parts.trace_line->line(), QLineF(c, d));
    EXPECT_EQ(parts.close_line->line(), QLineF(a, d));
    EXPECT_EQ(paths.count(), 0);

    // The press of the double click places d, the double click accepts.
    doubleClick(d);
    ASSERT_EQ(paths.count(), 1);
    const QPolygonF accepted({a, b, c, d});
    EXPECT_EQ(paths.takeFirst().at(0).value<QPolygonF>(), accepted);
    expectShowing(accepted);
    EXPECT_EQ(graphic_->path(), accepted);
}

TEST_F(RegionPathTest, RightClickCompletesOnlyAfterAPoint)
{
    QSignalSpy paths(graphic_, &RegionPathGraphic::newPath);

    command_.onPath();
    click(QPointF(100, 100), Qt::RightButton);
    EXPECT_EQ(paths.count(), 0);
    expectShowing(kOldOutline);

    command_.onPath();
    click(QPointF(100, 100));
    click(QPointF(200, 100));
    click(QPointF(200, 200), Qt::RightButton);
    ASSERT_EQ(paths.count(), 1);
    const QPolygonF accepted(QVector<QPointF>{landed(QPointF(100, 100)), landed(QPointF(200, 100))});
    EXPECT_EQ(paths.takeFirst().at(0).value<QPolygonF>(), accepted);
    expectShowing(accepted);
}

TEST_F(RegionPathTest, ShiftEscapeAbandonsAndOtherTasksLeaveTheOutlineAlone)
{
    QSignalSpy paths(graphic_, &RegionPathGraphic::newPath);

    command_.onPath();
    click(QPointF(100, 100));
    click(QPointF(200, 100));
    EXPECT_EQ(Parts(*graphic_).drawn().size(), 1);
    pressKey(Qt::Key_Escape, Qt::ShiftModifier);
    expectShowing(kOldOutline);
    int lines_in_scene = 0;
    for (QGraphicsItem* item : scene_.items())
        lines_in_scene += qgraphicsitem_cast<QGraphicsLineItem*>(item) != nullptr;
    EXPECT_EQ(lines_in_scene, 2) << "only the working lines are left";

    // A position confirmed with the same command is no outline.
    command_.onPositioning();
    click(QPointF(150, 150));
    graphic_->onAddPoint(QPointF(5, 5));
    EXPECT_EQ(paths.count(), 0);
    expectShowing(kOldOutline);
}

TEST_F(RegionPathTest, AReceiverMayDeleteTheGraphic)
{
    QPointer<RegionPathGraphic> graphic = graphic_;
    QPolygonF received;
    QObject::connect(graphic_, &RegionPathGraphic::newPath, [&](const QPolygonF& path) {
        received = path;
        delete graphic.data();
    });

    // Driven by its own command, which goes with it.
    MaintenanceCommand* own = graphic_->command();
    own->onPath();
    graphic_->onAddPoint(QPointF(1, 1));
    graphic_->onAddPoint(QPointF(9, 1));
    graphic_->onAddPoint(QPointF(9, 9));
    own->setState(CONFIRM);
    EXPECT_TRUE(graphic.isNull());
    EXPECT_EQ(received, QPolygonF({QPointF(1, 1), QPointF(9, 1), QPointF(9, 9)}));
}
