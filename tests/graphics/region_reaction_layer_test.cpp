#include "config/region_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "graphics/reaction_region.h"
#include "graphics/region_reaction_layer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGraphicsItemGroup>
#include <QGraphicsPolygonItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPen>
#include <QPointer>
#include <QSignalSpy>

#include <functional>

namespace {

/// Opens the protected overlay for the tests.
class OverlayLayer : public RegionReactionLayer
{
public:
    using RegionReactionLayer::closeSpecical;
    using RegionReactionLayer::showSpecical;

    QGraphicsItemGroup* overlay() const
    {
        for (QGraphicsItem* item : childItems()) {
            if (auto* group = qgraphicsitem_cast<QGraphicsItemGroup*>(item))
                return group;
        }
        return nullptr;
    }
};

void sendMouse(QGraphicsScene& scene, QEvent::Type type, QPointF pos, Qt::MouseButton button)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(pos);
    event.setButton(button);
    event.setButtonDownScenePos(button, pos);
    event.setButtons(type == QEvent::GraphicsSceneMousePress || type == QEvent::GraphicsSceneMouseDoubleClick
                         ? Qt::MouseButtons(button)
                         : Qt::NoButton);
    QCoreApplication::sendEvent(&scene, &event);
}

/// Compartments side by side on one deck, 100 wide each, with their reaction
/// regions in a layer in a scene.
class RegionReactionLayerTest : public ::testing::Test
{
protected:
    void SetUp() override { scene_.addItem(layer_); }

    harq::Region* compartment(int type)
    {
        auto* region = new harq::Region;
        region->setType(type);
        region->setRegionPath(QPolygonF(QRectF(100 * deck_.regions().size(), 0, 100, 100)));
        deck_.addRegion(region);
        region->setDeck(&deck_);
        return region;
    }

    QPointer<ReactionRegion> add(harq::Region* region)
    {
        auto* rg = new ReactionRegion(region);
        layer_->addRegion(rg);
        return rg;
    }

    QList<QGraphicsRectItem*> containers() const
    {
        QList<QGraphicsRectItem*> found;
        for (QGraphicsItem* item : layer_->childItems()) {
            if (auto* rect = qgraphicsitem_cast<QGraphicsRectItem*>(item))
                found.append(rect);
        }
        return found;
    }

    harq::Deck deck_;
    QGraphicsScene scene_;
    OverlayLayer* layer_ = new OverlayLayer;
};

} // namespace

TEST_F(RegionReactionLayerTest, ShowTypeShowsOneTypeOnly)
{
    const auto a = add(compartment(3));
    const auto b = add(compartment(3));
    const auto c = add(compartment(5));

    ASSERT_EQ(containers().size(), 2);
    EXPECT_EQ(a->parentItem(), b->parentItem());
    EXPECT_NE(a->parentItem(), c->parentItem());
    auto* container = qgraphicsitem_cast<QGraphicsRectItem*>(a->parentItem());
    ASSERT_NE(container, nullptr);
    EXPECT_TRUE(container->rect().isNull());
    EXPECT_EQ(container->parentItem(), layer_);
    EXPECT_TRUE(layer_->boundingRect().isNull());

    layer_->showType(3);
    EXPECT_TRUE(a->isVisible());
    EXPECT_TRUE(b->isVisible());
    EXPECT_FALSE(c->isVisible());
    layer_->showType(5);
    EXPECT_FALSE(a->isVisible());
    EXPECT_TRUE(c->isVisible());
    layer_->showType(7);
    EXPECT_FALSE(a->isVisible());
    EXPECT_FALSE(c->isVisible());
    EXPECT_EQ(containers().size(), 2);

    // A new type's container starts visible whatever type was chosen.
    const auto d = add(compartment(9));
    EXPECT_TRUE(d->isVisible());
    layer_->hideAll();
    EXPECT_FALSE(d->isVisible());
}

TEST_F(RegionReactionLayerTest, TypeChangeMovesTheRegionOnlyIntoAnExistingContainer)
{
    harq::Region* moving = compartment(3);
    const auto movingRg = add(moving);
    const auto five = add(compartment(5));
    const auto stays = add(compartment(3));

    moving->setType(5);
    EXPECT_EQ(movingRg->parentItem(), five->parentItem());
    layer_->showType(3);
    EXPECT_FALSE(movingRg->isVisible());
    EXPECT_TRUE(stays->isVisible());
    layer_->showType(5);
    EXPECT_TRUE(movingRg->isVisible());

    // No container for type 8 yet: the region stays where it is.
    moving->setType(8);
    EXPECT_EQ(movingRg->parentItem(), five->parentItem());
    EXPECT_EQ(containers().size(), 2);
}

TEST_F(RegionReactionLayerTest, RegionSignalsReachTheHostThroughTheLayer)
{
    harq::Region* region = compartment(1);
    const auto rg = add(region);
    QSignalSpy entered(layer_, &RegionReactionLayer::enterRegion);
    QSignalSpy left(layer_, &RegionReactionLayer::leaveRegion);
    QSignalSpy reflected(layer_, &RegionReactionLayer::regionReflect);

    sendMouse(scene_, QEvent::GraphicsSceneMouseMove, QPointF(50, 50), Qt::NoButton);
    ASSERT_EQ(entered.count(), 1);
    EXPECT_EQ(entered.at(0).at(0).value<ReactionRegion*>(), rg.data());

    for (auto type : {QEvent::GraphicsSceneMousePress, QEvent::GraphicsSceneMouseRelease,
                      QEvent::GraphicsSceneMouseDoubleClick, QEvent::GraphicsSceneMouseRelease})
        sendMouse(scene_, type, QPointF(50, 50), Qt::LeftButton);
    ASSERT_EQ(reflected.count(), 1);
    EXPECT_EQ(reflected.at(0).at(0).value<harq::Region*>(), region);

    sendMouse(scene_, QEvent::GraphicsSceneMouseMove, QPointF(50, 500), Qt::NoButton);
    ASSERT_EQ(left.count(), 1);
    EXPECT_EQ(left.at(0).at(0).value<ReactionRegion*>(), rg.data());
}

TEST_F(RegionReactionLayerTest, HidingOrRemovingAHoveredRegionEndsItsHover)
{
    // Qt tells no region hidden or deleted under the pointer that it was left.
    const std::function<void(harq::Region*)> actions[] = {
        [this](harq::Region*) { layer_->hideAll(); }, [this](harq::Region*) { layer_->showType(2); },
        [this](harq::Region* region) { layer_->removeRegion(region); }, [this](harq::Region*) { layer_->clear(); }};
    for (const auto& action : actions) {
        harq::Region* region = compartment(1);
        const auto rg = add(region);
        layer_->showType(1);
        const QPointF inside = region->regionPath().boundingRect().center();
        sendMouse(scene_, QEvent::GraphicsSceneMouseMove, inside, Qt::NoButton);
        QSignalSpy left(layer_, &RegionReactionLayer::leaveRegion);
        action(region);
        sendMouse(scene_, QEvent::GraphicsSceneMouseMove, inside + QPointF(0, 500), Qt::NoButton);
        layer_->showType(1);
        EXPECT_EQ(left.count(), 1) << &action - actions;
        EXPECT_TRUE(!rg || rg->brush().style() == Qt::NoBrush) << &action - actions;
    }
}

TEST_F(RegionReactionLayerTest, AddingARegionAgainPassesItsSignalsOnOnce)
{
    harq::Region* region = compartment(1);
    const auto rg = add(region);
    QGraphicsItem* container = rg->parentItem();
    layer_->addRegion(rg);
    EXPECT_EQ(rg->parentItem(), container);
    EXPECT_EQ(containers().size(), 1);
    QSignalSpy entered(layer_, &RegionReactionLayer::enterRegion);
    QSignalSpy left(layer_, &RegionReactionLayer::leaveRegion);
    QSignalSpy reflected(layer_, &RegionReactionLayer::regionReflect);

    sendMouse(scene_, QEvent::GraphicsSceneMouseMove, QPointF(50, 50), Qt::NoButton);
    for (auto type : {QEvent::GraphicsSceneMousePress, QEvent::GraphicsSceneMouseRelease,
                      QEvent::GraphicsSceneMouseDoubleClick, QEvent::GraphicsSceneMouseRelease})
        sendMouse(scene_, type, QPointF(50, 50), Qt::LeftButton);
    sendMouse(scene_, QEvent::GraphicsSceneMouseMove, QPointF(50, 500), Qt::NoButton);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(reflected.count(), 1);
    EXPECT_EQ(left.count(), 1);

    layer_->removeRegion(region);
    EXPECT_TRUE(rg.isNull());
}

TEST_F(RegionReactionLayerTest, HostMayRemoveARegionFromItsSignals)
{
    harq::Region* hovered = compartment(1);
    harq::Region* clicked = compartment(1);
    const auto first = add(hovered);
    const auto second = add(clicked);
    QObject::connect(layer_, &RegionReactionLayer::enterRegion, layer_,
            [this](ReactionRegion* rg) { layer_->removeRegion(rg->region()); });
    QObject::connect(layer_, &RegionReactionLayer::regionReflect, layer_,
            [this](harq::Region* region) { layer_->removeRegion(region); });

    sendMouse(scene_, QEvent::GraphicsSceneMouseMove, QPointF(50, 50), Qt::NoButton);
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());

    QObject::disconnect(layer_, &RegionReactionLayer::enterRegion, layer_, nullptr);
    for (auto type : {QEvent::GraphicsSceneMousePress, QEvent::GraphicsSceneMouseRelease,
                      QEvent::GraphicsSceneMouseDoubleClick, QEvent::GraphicsSceneMouseRelease})
        sendMouse(scene_, type, QPointF(150, 50), Qt::LeftButton);
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(scene_.mouseGrabberItem(), nullptr);
}

TEST_F(RegionReactionLayerTest, RemovalDestroysRegionsAndKeepsContainers)
{
    harq::Region* region = compartment(3);
    const auto first = add(region);
    const auto second = add(region);
    const auto other = add(compartment(4));

    harq::Region stranger;
    layer_->removeRegion(&stranger);
    EXPECT_FALSE(first.isNull());

    // The compartment's first region stays the one in the table.
    layer_->removeRegion(region);
    EXPECT_TRUE(first.isNull());
    EXPECT_FALSE(second.isNull());
    EXPECT_EQ(second->scene(), &scene_);
    EXPECT_EQ(containers().size(), 2);
    layer_->removeRegion(region);
    EXPECT_FALSE(second.isNull());
    region->setType(4);
    EXPECT_NE(second->parentItem(), other->parentItem());

    // A region the host destroyed itself is forgotten.
    delete other.data();
    layer_->removeRegion(deck_.regions().at(1));

    layer_->clear();
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(containers().isEmpty());
    const auto again = add(region);
    EXPECT_EQ(containers().size(), 1);
    EXPECT_TRUE(again->isVisible());
}

TEST_F(RegionReactionLayerTest, OverlayIsASnapshotOfTheChosenType)
{
    harq::Region* a = compartment(3);
    harq::Region* b = compartment(3);
    add(a);
    add(b);
    add(compartment(5));

    layer_->showType(3);
    layer_->showSpecical();
    QGraphicsItemGroup* overlay = layer_->overlay();
    ASSERT_NE(overlay, nullptr);
    const QList<QGraphicsItem*> polygons = overlay->childItems();
    ASSERT_EQ(polygons.size(), 2);
    QList<QPolygonF> outlines;
    for (QGraphicsItem* item : polygons) {
        auto* polygon = qgraphicsitem_cast<QGraphicsPolygonItem*>(item);
        ASSERT_NE(polygon, nullptr);
        outlines.append(polygon->polygon());
        const QColor color = polygon->brush().color();
        EXPECT_EQ(polygon->brush().style(), Qt::SolidPattern);
        EXPECT_EQ(color.alpha(), 160);
        EXPECT_LT(color.red(), 255);
        EXPECT_LT(color.green(), 255);
        EXPECT_LT(color.blue(), 255);
        EXPECT_EQ(polygon->pen(), QPen());
    }
    EXPECT_TRUE(outlines.contains(a->regionPath()));
    EXPECT_TRUE(outlines.contains(b->regionPath()));

    a->setRegionPath(QPolygonF(QRectF(0, 0, 5, 5)));
    EXPECT_FALSE(outlines.contains(a->regionPath()));
    for (QGraphicsItem* item : overlay->childItems())
        EXPECT_NE(qgraphicsitem_cast<QGraphicsPolygonItem*>(item)->polygon(), a->regionPath());

    // clear() leaves the overlay; choosing a type closes it.
    layer_->clear();
    EXPECT_EQ(layer_->overlay(), overlay);
    layer_->showType(3);
    EXPECT_EQ(layer_->overlay(), nullptr);
    layer_->closeSpecical();
}

TEST(RegionReactionLayerDeathTest, PreconditionsStopTheProgram)
{
    RegionReactionLayer layer;
    EXPECT_DEATH(layer.addRegion(nullptr), "\"rg && rg->region\\(\\)\" in void "
                                           "RegionReactionLayer::addRegion\\(ReactionRegion\\*\\)");
    EXPECT_DEATH(layer.removeRegion(nullptr),
                 "\"region\" in void RegionReactionLayer::removeRegion\\(harq::Region\\*\\)");
}
