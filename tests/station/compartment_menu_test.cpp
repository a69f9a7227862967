// The compartment menu of the shown station window, opened by right clicks on
// the deck plan: damage and recovery by hand, teams deployed and withdrawn.

#include "station_window_fixture.h"
#include "compartment_menu.h"
#include "data_link.h"
#include "event_log.h"
#include "ship.h"
#include "ship_loader.h"
#include "station_config.h"
#include "station_window.h"

#include "config/damage_config.h"
#include "config/team_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"
#include "deck_plan.h"
#include "graphics/boundary_line.h"
#include "graphics/reaction_region.h"
#include "graphics/sensor_graphic.h"
#include "link_banner.h"
#include "graphics/team_tag.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QLabel>
#include <QStatusBar>
#include <QMenu>
#include <QMouseEvent>
#include <QTcpServer>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

const QString kFireTeam = QStringLiteral("消防队");

class CompartmentMenuTest : public StationWindowFixture
{
protected:
    void SetUp() override
    {
        StationWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        view_ = window_->findChild<DeckViewComplex*>();
        menus_ = window_->findChild<CompartmentMenu*>();
        ASSERT_TRUE(view_ && menus_);
        deck_ = ship_->decks().front();
        compartment_ = freeCompartment();
        ASSERT_NE(compartment_, nullptr);
    }

    /// The reaction region of \a compartment on the plan.
    ReactionRegion* reactionOf(const harq::Region* compartment) const
    {
        for (QGraphicsItem* item : view_->scene()->items()) {
            if (item->type() == ReactionRegion::Type && static_cast<ReactionRegion*>(item)->region() == compartment)
                return static_cast<ReactionRegion*>(item);
        }
        return nullptr;
    }

    /// A point of the viewport where the topmost item is \a compartment's reaction
    /// region or something under it, and no tag; a null point if there is none.
    QPoint pointIn(const harq::Region* compartment) const
    {
        const QRect area = view_->mapFromScene(compartment->regionPath()).boundingRect() & view_->viewport()->rect();
        constexpr int kStep = 4;
        for (int y = area.top(); y <= area.bottom(); y += kStep) {
            for (int x = area.left(); x <= area.right(); x += kStep) {
                if (hitsOnly(compartment, QPoint(x, y)))
                    return QPoint(x, y);
            }
        }
        return {};
    }

    bool hitsOnly(const harq::Region* compartment, QPoint at) const
    {
        for (QGraphicsItem* item : view_->scene()->items(view_->mapToScene(at))) {
            if (PixmapTag::toPixmapTag(item) || qobject_cast<SensorGraphic*>(item->toGraphicsObject()))
                return false;
            if (item->type() == ReactionRegion::Type)
                return static_cast<ReactionRegion*>(item)->region() == compartment;
        }
        return false;
    }

    /// A compartment of the first deck with no alarm and room for a right click.
    harq::Region* freeCompartment() const
    {
        for (harq::Region* region : deck_->regions()) {
            const ReactionRegion* reaction = reactionOf(region);
            if (reaction && !reaction->damaged() && !pointIn(region).isNull())
                return region;
        }
        return nullptr;
    }

    /// Right-clicks the viewport at \a at and returns the menu that opened, if any.
    QMenu* rightClick(QPoint at)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view_->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view_->viewport(), &event);
        return menus_->menu();
    }

    /// The action of \a menu or one of its sub-menus whose text starts with \a text.
    static QAction* action(QMenu* menu, const QString& text)
    {
        if (!menu)
            return nullptr;
        for (QAction* entry : menu->actions()) {
            if (entry->text().startsWith(text))
                return entry;
            if (QAction* inner = action(entry->menu(), text))
                return inner;
        }
        return nullptr;
    }

    /// Right-clicks at \a at and triggers the entry \a text of the menu that opens.
    void choose(QPoint at, const QString& text)
    {
        QAction* entry = action(rightClick(at), text);
        ASSERT_NE(entry, nullptr) << text.toStdString();
        ASSERT_TRUE(entry->isEnabled()) << text.toStdString();
        entry->trigger();
    }

    QList<TeamTag*> teamTagsAt(QPointF pos) const
    {
        QList<TeamTag*> tags;
        for (QGraphicsItem* item : view_->scene()->items(pos)) {
            if (auto* tag = TeamTag::toTeamTag(item); tag && !tags.contains(tag))
                tags.append(tag);
        }
        return tags;
    }

    /// Units of \a team not out, on any deck.
    int available(const QString& team) const
    {
        return console_->incident().freeUnits(console_->incident().teamType(team));
    }

    QColor responseColour(int response) const { return DamageConfig::instance().response(response)->color(); }

    DeckViewComplex* view_ = nullptr;
    CompartmentMenu* menus_ = nullptr;
    harq::Deck* deck_ = nullptr;
    harq::Region* compartment_ = nullptr;
};

} // namespace

TEST_F(CompartmentMenuTest, DamageByHandColoursTheCompartmentAndRecoveryClearsIt)
{
    const int own = compartment_->responseType();
    const QPoint at = pointIn(compartment_);
    ReactionRegion* reaction = reactionOf(compartment_);

    choose(at, QStringLiteral("进水"));
    EXPECT_TRUE(reaction->damaged());
    EXPECT_EQ(reaction->brush().style(), Qt::SolidPattern);
    EXPECT_EQ(reaction->brush().color(), responseColour(harq::DamageResponse::SINK));
    EXPECT_TRUE(log_->toPlainText().contains(QStringLiteral("手动报损: %1 进水").arg(compartment_->nameAndCode())));
    // The pointer over it outlines it and keeps the damage colour in sight.
    QMouseEvent move(QEvent::MouseMove, at, at, view_->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view_->viewport(), &move);
    bool named = false;
    for (QLabel* label : window_->statusBar()->findChildren<QLabel*>())
        named = named || label->text() == compartment_->nameAndCode();
    EXPECT_TRUE(named);
    EXPECT_EQ(reaction->brush().color(), responseColour(harq::DamageResponse::SINK));

    choose(at, QStringLiteral("火灾"));
    EXPECT_EQ(reaction->brush().color(), responseColour(harq::DamageResponse::FIRE));

    choose(at, QStringLiteral("手动恢复"));
    EXPECT_FALSE(reaction->damaged());
    EXPECT_EQ(reaction->brush().style(), Qt::NoBrush);
    // The compartment answers to its own responses again, not to the one marked by hand.
    EXPECT_EQ(compartment_->responseType(), own);
    EXPECT_TRUE(log_->toPlainText().contains(QStringLiteral("手动恢复: %1").arg(compartment_->nameAndCode())));
}

TEST_F(CompartmentMenuTest, BoundaryIsMarkedSetAndLiftedFromItsOwnMenu)
{
    const Ship::Boundary& planned = ship_->boundaries().front();
    window_->showDeck(ship_->deckById(planned.deck));
    QPoint at;
    QGraphicsItem* shown = nullptr;
    for (QGraphicsItem* item : view_->scene()->items()) {
        if (item->type() == BoundaryLine::Type && DeckPlan::boundaryIdOf(item) == planned.id) {
            at = view_->mapFromScene(item->mapToScene(static_cast<BoundaryLine*>(item)->line().center()));
            shown = item->parentItem();
        }
    }
    ASSERT_NE(shown, nullptr);
    for (const bool set : {true, false}) {
        choose(at, QStringLiteral("边界已设置"));
        EXPECT_EQ(window_->plan().incident().isBoundarySet(planned.id), set);
        const QList<QGraphicsItem*> children = shown->childItems();
        EXPECT_EQ(std::count_if(children.begin(), children.end(),
                                [](const QGraphicsItem* c) { return c->type() == QGraphicsPathItem::Type; }),
                  set ? 1 : 0);
    }
    EXPECT_TRUE(log_->toPlainText().contains(QStringLiteral("边界 %1 已撤除").arg(planned.id)));
}

TEST_F(CompartmentMenuTest, DamageByHandOutlivesAChangeOfDeck)
{
    choose(pointIn(compartment_), QStringLiteral("弃船"));
    window_->showDeck(ship_->decks().back());
    window_->showDeck(deck_);

    ReactionRegion* reaction = reactionOf(compartment_);
    ASSERT_NE(reaction, nullptr);
    EXPECT_TRUE(reaction->damaged());
    EXPECT_EQ(reaction->brush().color(), responseColour(harq::DamageResponse::ABANDON));
}

TEST_F(CompartmentMenuTest, DeployedTeamIsBookedOutShownAndWithdrawnByItsOwnMenu)
{
    const int before = available(kFireTeam);
    ASSERT_GT(before, 0);
    const QPoint at = pointIn(compartment_);
    const QPointF pos = view_->mapToScene(at);

    choose(at, kFireTeam);
    EXPECT_EQ(available(kFireTeam), before - 1);
    const QList<TeamTag*> placed = teamTagsAt(pos);
    ASSERT_EQ(placed.size(), 1);
    EXPECT_EQ(placed.front()->teamName(), kFireTeam);
    EXPECT_EQ(placed.front()->pos(), pos);
    EXPECT_EQ(placed.front()->cabin(), compartment_);
    EXPECT_TRUE(log_->toPlainText().contains(QStringLiteral("部署%1到%2").arg(kFireTeam, compartment_->nameAndCode())));

    // The tag is now on top: the right click reaches its own menu.
    QMenu* menu = rightClick(at);
    EXPECT_EQ(action(menu, QStringLiteral("手动恢复")), nullptr);
    QAction* withdraw = action(menu, QStringLiteral("撤回%1").arg(kFireTeam));
    ASSERT_NE(withdraw, nullptr);
    withdraw->trigger();
    EXPECT_EQ(available(kFireTeam), before);
    EXPECT_TRUE(teamTagsAt(pos).isEmpty());
    EXPECT_TRUE(log_->toPlainText().contains(QStringLiteral("撤回%1").arg(kFireTeam)));
}

TEST_F(CompartmentMenuTest, TeamEntryIsDisabledOnceNoneIsLeft)
{
    QPoint at = pointIn(compartment_);
    // The teams standing on other decks count too.
    while (window_->plan().incident().freeUnits(window_->plan().incident().teamType(kFireTeam)) > 0) {
        QAction* deploy = action(rightClick(at), kFireTeam);
        ASSERT_NE(deploy, nullptr);
        ASSERT_TRUE(deploy->isEnabled());
        deploy->trigger();
        // The new tag covers the point: move on to a free one.
        at = pointIn(compartment_);
        ASSERT_FALSE(at.isNull()) << "no room left in the compartment";
    }
    QAction* deploy = action(rightClick(at), kFireTeam);
    ASSERT_NE(deploy, nullptr);
    EXPECT_FALSE(deploy->isEnabled());
    EXPECT_EQ(window_->plan().incident().freeUnits(window_->plan().incident().teamType(kFireTeam)), 0);
}

TEST_F(CompartmentMenuTest, DeployedTeamStaysDeployedAcrossAChangeOfDeck)
{
    const int before = available(kFireTeam);
    const QPoint at = pointIn(compartment_);
    const QPointF pos = view_->mapToScene(at);
    choose(at, kFireTeam);

    // Every deck's menu counts the teams standing on any deck, stations included.
    const TeamConfig& teams = TeamConfig::instance();
    const int count = teams.countAt(teams.teamIndex(kFireTeam));
    int free = count - 1;
    for (const harq::Deck* deck : ship_->decks()) {
        const QList<Ship::Team> stationed = ship_->teamsOn(deck->id());
        free -= int(std::count_if(stationed.begin(), stationed.end(),
                                  [](const Ship::Team& team) { return team.name == kFireTeam; }));
    }
    for (harq::Deck* deck : {ship_->decks().back(), deck_}) {
        window_->showDeck(deck);
        const QList<harq::Region*> regions = deck->regions();
        const auto room = std::find_if(regions.begin(), regions.end(),
                                       [this](const harq::Region* region) { return !pointIn(region).isNull(); });
        ASSERT_NE(room, regions.end());
        QAction* entry = action(rightClick(pointIn(*room)), kFireTeam);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->text(), QStringLiteral("%1 (可用 %2/%3)").arg(kFireTeam).arg(std::max(free, 0)).arg(count));
    }

    EXPECT_EQ(teamTagsAt(pos).size(), 1);
    EXPECT_EQ(available(kFireTeam), before - 1);
}

TEST_F(CompartmentMenuTest, ClosingTheWindowBooksEveryTeamBack)
{
    choose(pointIn(compartment_), kFireTeam);
    window_.reset();
    const TeamConfig& teams = TeamConfig::instance();
    EXPECT_EQ(teams.availableAt(teams.teamIndex(kFireTeam)), teams.countAt(teams.teamIndex(kFireTeam)));
}

TEST_F(CompartmentMenuTest, TeamAtItsStationCanBeWithdrawnForGood)
{
    harq::Deck* stationed = nullptr;
    for (harq::Deck* deck : ship_->decks()) {
        if (!ship_->teamsOn(deck->id()).isEmpty()) {
            stationed = deck;
            break;
        }
    }
    ASSERT_NE(stationed, nullptr);
    window_->showDeck(stationed);
    const Ship::Team team = ship_->teamsOn(stationed->id()).front();
    const int before = available(team.name);
    ASSERT_EQ(teamTagsAt(team.position).size(), 1);

    choose(view_->mapFromScene(team.position), QStringLiteral("撤回%1").arg(team.name));
    EXPECT_EQ(available(team.name), before + 1);

    window_->showDeck(stationed == deck_ ? ship_->decks().back() : deck_);
    window_->showDeck(stationed);
    EXPECT_TRUE(teamTagsAt(team.position).isEmpty());
    EXPECT_EQ(available(team.name), before + 1);
}

TEST_F(CompartmentMenuTest, PlanAcknowledgesASensorsOrACompartmentsAlarmsAndSaysWhenItCannot)
{
    harq::Sensor* sensor = nullptr;
    for (harq::Sensor* candidate : deck_->sensors())
        sensor = sensor ? sensor : (candidate->isStateSensor() ? candidate : nullptr);
    ASSERT_NE(sensor, nullptr);
    const QString tag = sensor->itemAt(0)->tag();
    ship_->index().dispatch(tag, 1.0);

    choose(view_->mapFromScene(sensor->point()), QStringLiteral("确认该传感器报警 (1)"));
    // The link is down: said above the plan, where the operator clicked.
    EXPECT_TRUE(window_->banner().notice().contains(tag)) << window_->banner().notice().toStdString();
    EXPECT_TRUE(log_->toPlainText().contains(QStringLiteral("确认报警 %1 失败").arg(tag)));

    const harq::Region* compartment = ship_->compartmentOf(sensor);
    ASSERT_NE(compartment, nullptr);
    const QPoint inside = pointIn(compartment);
    ASSERT_FALSE(inside.isNull());
    EXPECT_NE(action(rightClick(inside), QStringLiteral("确认本舱报警 (1)")), nullptr);
}
