#include "config/damage_config.h"
#include "config/region_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"
#include "graphics/reaction_region.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPen>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cmath>

using harq::DamageResponse;

namespace {

const char* const kStyle = R"(
region = { hover_color = "#0000FF", hover_opacity = 0.3 }
damage = {
    response = {
        { type = 1, name = "火灾", color = "#FF0000" },
        { type = 2, name = "进水", color = "#00FF00" },
    },
}
)";

void loadStyle()
{
    QTemporaryDir dir;
    QFile lua(dir.filePath("region.lua"));
    lua.open(QIODevice::WriteOnly);
    lua.write(kStyle);
    lua.close();
    RegionConfig::instance().loadStyle(lua.fileName());
    DamageConfig::instance().loadStyle(lua.fileName());
}

/// A square compartment (0, 0)-(100, 100) on a deck, answering \a response,
/// with eight fire sensors inside, each with two value items "s<i>a", "s<i>b".
class Compartment
{
public:
    explicit Compartment(int response)
        : region_(new harq::Region)
    {
        region_->setName("机舱");
        region_->setCode("E1");
        region_->setRegionPath(QPolygonF(QRectF(0, 0, 100, 100)));
        region_->setViewGroup(new harq::ViewGroup("舱室", "cabin", response));
        deck_.addRegion(region_);
        region_->setDeck(&deck_);
        for (int i = 0; i < 8; ++i) {
            auto* sensor = new harq::Sensor;
            sensor->setPos(QPointF(10 + i, 10));
            sensor->setViewGroup(new harq::ViewGroup("火警", "fire", DamageResponse::FIRE));
            for (const char* suffix : {"a", "b"}) {
                auto* item = new harq::SensorItem;
                item->setTag(QString("s%1%2").arg(i).arg(suffix));
                sensor->addItem(item);
            }
            deck_.addSensor(sensor);
            region_->associateSensor(sensor);
        }
    }

    harq::Region* region() const { return region_; }
    harq::Deck& deck() { return deck_; }

    /// Makes the first \a count sensors abnormal (through item "a") and the rest normal.
    void setAlarms(int count)
    {
        for (int i = 0; i < 8; ++i)
            feed(QString("s%1a").arg(i), i < count ? 5 : 0.5);
    }

    void feed(const QString& tag, double value)
    {
        for (harq::Sensor* sensor : deck_.sensors()) {
            for (auto it = sensor->beginItem(); it != sensor->endItem(); ++it)
                (*it)->setValue(tag, value);
        }
    }

private:
    harq::Deck deck_;
    harq::Region* region_;
};

qreal opacityFor(int alarms)
{
    return std::min(1.0, 0.3 * std::pow(1.2, alarms));
}

void sendMouse(QGraphicsScene& scene, QEvent::Type type, QPointF pos, Qt::MouseButton button)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(pos);
    event.setScreenPos(pos.toPoint());
    event.setButton(button);
    event.setButtonDownScenePos(button, pos);
    event.setButtons(type == QEvent::GraphicsSceneMouseRelease || type == QEvent::GraphicsSceneMouseMove
                         ? Qt::NoButton
                         : Qt::MouseButtons(button));
    QCoreApplication::sendEvent(&scene, &event);
}

void movePointer(QGraphicsScene& scene, QPointF pos)
{
    sendMouse(scene, QEvent::GraphicsSceneMouseMove, pos, Qt::NoButton);
}

void doubleClick(QGraphicsScene& scene, QPointF pos, Qt::MouseButton button)
{
    sendMouse(scene, QEvent::GraphicsSceneMousePress, pos, button);
    sendMouse(scene, QEvent::GraphicsSceneMouseRelease, pos, button);
    sendMouse(scene, QEvent::GraphicsSceneMouseDoubleClick, pos, button);
    sendMouse(scene, QEvent::GraphicsSceneMouseRelease, pos, button);
}

class ReactionRegionTest : public ::testing::Test
{
protected:
    void SetUp() override { loadStyle(); }
};

} // namespace

TEST_F(ReactionRegionTest, NewRegionIsInvisibleWhateverItsAlarms)
{
    Compartment cabin(DamageResponse::FIRE);
    cabin.setAlarms(3);

    ReactionRegion rg(cabin.region());
    EXPECT_EQ(rg.region(), cabin.region());
    EXPECT_EQ(rg.brush().style(), Qt::NoBrush);
    EXPECT_DOUBLE_EQ(rg.opacity(), 0.3);
    EXPECT_FALSE(rg.damaged());
    EXPECT_EQ(rg.polygon(), cabin.region()->regionPath());
    EXPECT_EQ(rg.toolTip(), "机舱[E1]");
    EXPECT_TRUE(rg.acceptHoverEvents());
    EXPECT_EQ(rg.pen().brush().style(), Qt::NoBrush);
    EXPECT_EQ(rg.pen().widthF(), 0.0);
    EXPECT_EQ(rg.pen().capStyle(), Qt::SquareCap);
    EXPECT_EQ(rg.pen().joinStyle(), Qt::BevelJoin);
    EXPECT_EQ(qgraphicsitem_cast<ReactionRegion*>(static_cast<QGraphicsItem*>(&rg)), &rg);
}

TEST_F(ReactionRegionTest, EveryAlarmMakesTheDamageColourMoreOpaque)
{
    Compartment cabin(DamageResponse::FIRE);
    ReactionRegion rg(cabin.region());

    for (int alarms : {1, 3, 6, 8}) {
        cabin.setAlarms(alarms);
        EXPECT_TRUE(rg.damaged());
        EXPECT_EQ(rg.brush().style(), Qt::SolidPattern);
        EXPECT_EQ(rg.brush().color(), QColor("#FF0000"));
        EXPECT_NEAR(rg.opacity(), opacityFor(alarms), 1e-12) << alarms << " alarms";
    }
    EXPECT_DOUBLE_EQ(rg.opacity(), 1.0);

    cabin.setAlarms(0);
    EXPECT_FALSE(rg.damaged());
    EXPECT_EQ(rg.brush().style(), Qt::NoBrush);
    EXPECT_DOUBLE_EQ(rg.opacity(), 0.3);

    // Both responses at once: the style's mix of the two colours.
    cabin.region()->viewGroup()->setResponse(DamageResponse::FIRE | DamageResponse::SINK);
    cabin.setAlarms(2);
    EXPECT_EQ(rg.brush().color(), DamageResponse::mix(DamageResponse(1, "", "#FF0000"),
                                                      DamageResponse(2, "", "#00FF00")).color());
}

TEST_F(ReactionRegionTest, HoverShowsTheHoverColourMixedWithDamage)
{
    Compartment cabin(DamageResponse::FIRE);
    QGraphicsScene scene;
    auto* rg = new ReactionRegion(cabin.region());
    scene.addItem(rg);
    QSignalSpy entered(rg, &ReactionRegion::enter);
    QSignalSpy left(rg, &ReactionRegion::leave);

    movePointer(scene, QPointF(50, 50));
    ASSERT_EQ(entered.count(), 1);
    EXPECT_EQ(entered.at(0).at(0).value<ReactionRegion*>(), rg);
    EXPECT_EQ(rg->brush().color(), QColor("#0000FF"));

    cabin.setAlarms(2);
    // Integer mean of the packed words: red and blue give #7F807F.
    EXPECT_EQ(rg->brush().color(), QColor("#7F807F"));
    EXPECT_EQ(rg->brush().color().alpha(), 255);

    movePointer(scene, QPointF(150, 150));
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(rg->brush().color(), QColor("#FF0000"));

    cabin.setAlarms(0);
    EXPECT_EQ(rg->brush().style(), Qt::NoBrush);
}

TEST_F(ReactionRegionTest, ManualRecoveryHoldsUntilTheAlarmCountChanges)
{
    Compartment cabin(DamageResponse::FIRE);
    ReactionRegion rg(cabin.region());
    QSignalSpy recovered(&cabin.deck(), &harq::Deck::regionRecover);
    QSignalSpy damaged(&cabin.deck(), &harq::Deck::regionDamage);

    cabin.setAlarms(3);
    rg.manualRecover();
    EXPECT_FALSE(rg.damaged());
    EXPECT_EQ(rg.brush().style(), Qt::NoBrush);
    EXPECT_NEAR(rg.opacity(), opacityFor(3), 1e-12);
    ASSERT_EQ(recovered.count(), 1);
    EXPECT_EQ(recovered.at(0).at(0).value<harq::Region*>(), cabin.region());

    // A further item of an abnormal sensor: the count stays 3, so does the recovery.
    cabin.feed("s0b", 5);
    EXPECT_FALSE(rg.damaged());
    EXPECT_EQ(rg.brush().style(), Qt::NoBrush);

    cabin.setAlarms(4);
    EXPECT_TRUE(rg.damaged());
    EXPECT_EQ(rg.brush().color(), QColor("#FF0000"));
    EXPECT_NEAR(rg.opacity(), opacityFor(4), 1e-12);

    // Manual damage outlasts the alarms.
    damaged.clear();
    rg.manualDamage();
    ASSERT_EQ(damaged.count(), 1);
    EXPECT_EQ(damaged.at(0).at(0).value<harq::Region*>(), cabin.region());
    cabin.feed("s0b", 0.5);
    cabin.setAlarms(0);
    EXPECT_TRUE(rg.damaged());
    EXPECT_EQ(rg.brush().color(), QColor("#FF0000"));
}

TEST_F(ReactionRegionTest, ManualDamageWithoutConfiguredResponse)
{
    Compartment cabin(DamageResponse::ABANDON);
    QGraphicsScene scene;
    auto* rg = new ReactionRegion(cabin.region());
    scene.addItem(rg);
    QSignalSpy damaged(cabin.region(), &harq::Region::damage);

    rg->manualDamage();
    EXPECT_TRUE(rg->damaged());
    EXPECT_EQ(rg->brush().style(), Qt::NoBrush);
    EXPECT_EQ(damaged.count(), 1);
    EXPECT_DOUBLE_EQ(rg->opacity(), 0.3);

    // Damaged, but nothing to show beyond the hover colour.
    movePointer(scene, QPointF(50, 50));
    EXPECT_EQ(rg->brush().color(), QColor("#0000FF"));

    // Under the pointer a manual damage shows the plain response colour until
    // the next refresh; a manual recovery shows nothing.
    cabin.region()->viewGroup()->setResponse(DamageResponse::FIRE);
    rg->manualDamage();
    EXPECT_EQ(rg->brush().color(), QColor("#FF0000"));
    rg->manualRecover();
    EXPECT_EQ(rg->brush().style(), Qt::NoBrush);
    movePointer(scene, QPointF(150, 150));
    movePointer(scene, QPointF(50, 50));
    EXPECT_EQ(rg->brush().color(), QColor("#0000FF"));
}

TEST_F(ReactionRegionTest, TypeChangeRecomputesTheFill)
{
    Compartment cabin(DamageResponse::ABANDON);
    ReactionRegion rg(cabin.region());
    rg.manualDamage();
    EXPECT_EQ(rg.brush().style(), Qt::NoBrush);

    cabin.region()->viewGroup()->setResponse(DamageResponse::SINK);
    cabin.region()->setType(3);
    EXPECT_EQ(rg.brush().color(), QColor("#00FF00"));
}

TEST_F(ReactionRegionTest, FollowsOutlineNameAndCode)
{
    Compartment cabin(DamageResponse::FIRE);
    ReactionRegion rg(cabin.region());
    cabin.setAlarms(2);
    const QBrush fill = rg.brush();
    const qreal opacity = rg.opacity();

    const QPolygonF moved(QRectF(200, 0, 50, 50));
    cabin.region()->setRegionPath(moved);
    EXPECT_EQ(rg.polygon(), moved);
    EXPECT_EQ(rg.brush(), fill);
    EXPECT_DOUBLE_EQ(rg.opacity(), opacity);

    cabin.region()->setName("泵舱");
    EXPECT_EQ(rg.toolTip(), "泵舱[E1]");
    cabin.region()->setCode("P2");
    EXPECT_EQ(rg.toolTip(), "泵舱[P2]");
}

TEST_F(ReactionRegionTest, OnlyALeftDoubleClickReflects)
{
    Compartment cabin(DamageResponse::FIRE);
    QGraphicsScene scene;
    auto* rg = new ReactionRegion(cabin.region());
    scene.addItem(rg);
    QSignalSpy reflected(rg, &ReactionRegion::reflectRegion);

    doubleClick(scene, QPointF(50, 50), Qt::RightButton);
    EXPECT_EQ(reflected.count(), 0);
    doubleClick(scene, QPointF(50, 50), Qt::LeftButton);
    ASSERT_EQ(reflected.count(), 1);
    EXPECT_EQ(reflected.at(0).at(0).value<harq::Region*>(), cabin.region());
    EXPECT_EQ(scene.mouseGrabberItem(), nullptr);
}

TEST_F(ReactionRegionTest, OutlivingItsCompartmentIsHarmless)
{
    QGraphicsScene scene;
    ReactionRegion* rg = nullptr;
    {
        Compartment cabin(DamageResponse::FIRE);
        rg = new ReactionRegion(cabin.region());
        scene.addItem(rg);
        cabin.setAlarms(1);
    }
    EXPECT_EQ(rg->region(), nullptr);
    movePointer(scene, QPointF(50, 50));
    EXPECT_EQ(rg->brush().color(), QColor("#0000FF"));
    rg->manualDamage();
    rg->manualRecover();
    EXPECT_EQ(rg->brush().style(), Qt::NoBrush);
}

TEST(ReactionRegionDeathTest, NullCompartmentIsRejected)
{
    EXPECT_DEATH(ReactionRegion(nullptr, nullptr),
                 "\"region_\" in ReactionRegion::ReactionRegion\\(harq::Region\\*, QGraphicsItem\\*\\)");
}
