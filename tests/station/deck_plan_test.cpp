// One deck of the sample ship on a scene: what is put there and in which order.

#include "sample_ship_fixture.h"
#include "deck_plan.h"
#include "incident_catalogue.h"
#include "ship.h"
#include "ship_loader.h"
#include "station_config.h"

#include "entity/deck.h"
#include "entity/sensor.h"
#include "entity/view_group.h"
#include "graphics/damage_boundary.h"
#include "graphics/equipment_layer.h"
#include "graphics/mark_sensor_graphic.h"
#include "graphics/region_reaction_layer.h"
#include "graphics/scan_line.h"
#include "graphics/sensor_layer.h"
#include "graphics/team_tag.h"
#include "view/deck_scene.h"

#include <gtest/gtest.h>

#include <QGraphicsSvgItem>

#include <memory>

namespace {


class DeckPlanTest : public SampleShipFixture
{
protected:
    void SetUp() override
    {
        SampleShipFixture::SetUp();
        if (HasFatalFailure())
            return;
        incident_ = std::make_unique<IncidentState>(IncidentCatalogue::teamTypes(), IncidentCatalogue::boundaryIds(*ship_));
        IncidentCatalogue::placeStations(*ship_, *incident_);
        plan_ = std::make_unique<DeckPlan>(&scene_, *ship_, *incident_);
    }

    /// Visibility of every sensor graphic on the scene whose sensor is in view group \a group.
    QList<bool> sensorsShown(const QString& group) const
    {
        QList<bool> shown;
        for (QGraphicsItem* item : scene_.items()) {
            auto* graphic = dynamic_cast<MarkSensorGraphic*>(item);
            if (graphic && graphic->sensor()->viewGroup()->group() == group)
                shown.append(graphic->isVisible());
        }
        return shown;
    }

    DeckScene scene_;
    std::unique_ptr<IncidentState> incident_;
    std::unique_ptr<DeckPlan> plan_;
};

} // namespace

TEST_F(DeckPlanTest, LayersStackInTheirOrderAboveTheDrawing)
{
    harq::Deck* second = ship_->deckById(2);
    plan_->show(second);

    // Top-level items, bottom first.
    QList<QGraphicsItem*> top;
    for (QGraphicsItem* item : scene_.items(Qt::AscendingOrder)) {
        if (!item->parentItem())
            top.append(item);
    }
    const auto rank = [&](auto isKind) {
        for (int i = 0; i < top.size(); ++i) {
            if (isKind(top.at(i)))
                return i;
        }
        return -1;
    };
    const int drawing = rank([](QGraphicsItem* i) { return dynamic_cast<QGraphicsSvgItem*>(i) != nullptr; });
    const int regions = rank([](QGraphicsItem* i) { return dynamic_cast<RegionReactionLayer*>(i) != nullptr; });
    const int sensors = rank([](QGraphicsItem* i) { return dynamic_cast<SensorLayer*>(i) != nullptr; });
    const int boundaries = rank([](QGraphicsItem* i) { return dynamic_cast<DamageBoundary*>(i) != nullptr; });
    const int equipment = rank([](QGraphicsItem* i) { return dynamic_cast<EquipmentLayer*>(i) != nullptr; });
    const int teams = rank([](QGraphicsItem* i) { return dynamic_cast<TeamTag*>(i) != nullptr; });
    const int scan = rank([](QGraphicsItem* i) { return dynamic_cast<ScanLine*>(i) != nullptr; });
    ASSERT_GE(drawing, 0);
    EXPECT_LT(drawing, regions);
    // Sensors above the boundaries, so no boundary line covers a sensor's code.
    EXPECT_LT(regions, boundaries);
    EXPECT_LT(boundaries, sensors);
    EXPECT_LT(sensors, equipment);
    EXPECT_LT(equipment, teams);
    EXPECT_LT(teams, scan);

    std::size_t graphics = 0;
    for (QGraphicsItem* item : scene_.items())
        graphics += dynamic_cast<MarkSensorGraphic*>(item) ? 1 : 0;
    EXPECT_EQ(graphics, second->sensors().size());
}

TEST_F(DeckPlanTest, BoundaryCopiedFromAnotherDeckIsDottedAndItsMasterHidden)
{
    // The second deck has its own fire boundary and a copy of the hold deck's.
    plan_->show(ship_->deckById(2));
    int masters = 0, slaves = 0, hiddenMasters = 0;
    for (QGraphicsItem* item : scene_.items()) {
        auto* boundary = dynamic_cast<DamageBoundary*>(item);
        if (!boundary)
            continue;
        if (!boundary->isMaster()) {
            ++slaves;
            continue;
        }
        ++masters;
        const QList<QGraphicsItem*> lines = boundary->childItems();
        ASSERT_FALSE(lines.isEmpty());
        if (!lines.first()->isVisible())
            ++hiddenMasters;
    }
    EXPECT_EQ(masters, 2);
    EXPECT_EQ(slaves, 1);
    EXPECT_EQ(hiddenMasters, 1);
}

TEST_F(DeckPlanTest, HiddenSensorGroupStaysHiddenOnTheNextDeck)
{
    plan_->show(ship_->deckById(2));
    plan_->setSensorGroupVisible(QStringLiteral("fire"), false);
    ASSERT_FALSE(sensorsShown(QStringLiteral("fire")).isEmpty());
    EXPECT_FALSE(sensorsShown(QStringLiteral("fire")).contains(true));
    EXPECT_FALSE(sensorsShown(QStringLiteral("flooding")).contains(false));

    plan_->show(ship_->deckById(3));
    ASSERT_FALSE(sensorsShown(QStringLiteral("fire")).isEmpty());
    EXPECT_FALSE(sensorsShown(QStringLiteral("fire")).contains(true));

    plan_->setSensorGroupVisible(QStringLiteral("fire"), true);
    EXPECT_FALSE(sensorsShown(QStringLiteral("fire")).contains(false));
}
