#include "maintenance_fixture.h"

#include "maintenance/position_icon_graphic.h"

#include <QGraphicsPixmapItem>
#include <QPixmap>
#include <QSignalSpy>

namespace {

QGraphicsPixmapItem* iconOf(const PositionIconGraphic& graphic)
{
    for (QGraphicsItem* child : graphic.childItems()) {
        if (auto* icon = qgraphicsitem_cast<QGraphicsPixmapItem*>(child))
            return icon;
    }
    return nullptr;
}

} // namespace

class PositionIconTest : public MaintenanceTest
{
protected:
    void SetUp() override
    {
        MaintenanceTest::SetUp();
        scene_.addItem(graphic_);
        QObject::connect(&command_, &MaintenanceCommand::stateChanged, graphic_,
                         &PositionIconGraphic::onMaintenanceStateChanged);
    }

    PositionIconGraphic* graphic_ = new PositionIconGraphic;
};

TEST_F(PositionIconTest, IconIsSizedLikeSensorIconsAndKeepsItsScreenSize)
{
    QPixmap pixmap(64, 32);
    pixmap.fill(Qt::darkGreen);
    graphic_->setIcon(pixmap, QPointF(50, 60));
    QGraphicsPixmapItem* icon = iconOf(*graphic_);
    ASSERT_NE(icon, nullptr);
    EXPECT_DOUBLE_EQ(icon->scale(), kIconWidth / 64);
    EXPECT_DOUBLE_EQ(icon->opacity(), kIconOpacity);
    EXPECT_EQ(icon->offset(), QPointF(-32, -16));
    // Placed even though nobody is choosing a position.
    EXPECT_EQ(icon->scenePos(), QPointF(50, 60));
    EXPECT_EQ(graphic_->position(), QPointF(50, 60));

    const auto onScreen = [&] {
        return icon->deviceTransform(view_.viewportTransform()).mapRect(icon->boundingRect()).size();
    };
    EXPECT_EQ(onScreen(), QSizeF(kIconWidth, kIconWidth / 2));
    view_.scaleScene(QPointF(200, 150), 4.0);
    EXPECT_EQ(onScreen(), QSizeF(kIconWidth, kIconWidth / 2));
}

TEST_F(PositionIconTest, ClickConfirmsAndRightClickOrShiftEscapeReturns)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    graphic_->setIcon(pixmap, QPointF(50, 50));
    QGraphicsPixmapItem* icon = iconOf(*graphic_);
    QSignalSpy points(graphic_, &PositionIconGraphic::newPoint);

    pointAt(QPointF(120, 80));
    EXPECT_EQ(icon->scenePos(), QPointF(50, 50)) << "an idle icon stays put";

    command_.onPositioning();
    pointAt(QPointF(125, 85));
    EXPECT_EQ(icon->scenePos(), landed(QPointF(125, 85)));
    click(QPointF(130, 90));
    ASSERT_EQ(points.count(), 1);
    EXPECT_EQ(points.takeFirst().at(0).toPointF(), landed(QPointF(130, 90)));
    EXPECT_EQ(graphic_->position(), landed(QPointF(130, 90)));
    EXPECT_EQ(states_, (std::vector<MaintenanceCommandState>{POSITIONING, CONFIRM, IDLE}));
    pointAt(QPointF(300, 200));
    EXPECT_EQ(icon->scenePos(), landed(QPointF(130, 90)));

    command_.onPositioning();
    pointAt(QPointF(300, 200));
    click(QPointF(310, 210), Qt::RightButton);
    EXPECT_EQ(icon->scenePos(), landed(QPointF(130, 90)));

    command_.onPositioning();
    pointAt(QPointF(20, 20));
    pressKey(Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(icon->scenePos(), landed(QPointF(130, 90)));
    EXPECT_EQ(points.count(), 0);
}

TEST_F(PositionIconTest, OtherTasksReportNoPosition)
{
    QSignalSpy points(graphic_, &PositionIconGraphic::newPoint);

    // Without an icon nothing can be placed.
    command_.onPositioning();
    click(QPointF(100, 100));
    EXPECT_EQ(points.count(), 0);

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    graphic_->setIcon(pixmap, QPointF(50, 50));
    // Confirming an outline is not confirming a position, even when the
    // outline was started while the icon was following the pointer.
    command_.onPositioning();
    command_.onPath();
    click(QPointF(100, 100));
    click(QPointF(200, 100));
    doubleClick(QPointF(200, 200));
    EXPECT_EQ(points.count(), 0);
    EXPECT_EQ(iconOf(*graphic_)->scenePos(), QPointF(50, 50));
}
