#include "deck_plan.h"

#include "ship.h"

#include "config/equipment_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/view_group.h"
#include "graphics/damage_boundary.h"
#include "graphics/equipment_layer.h"
#include "graphics/equipment_tag.h"
#include "graphics/mark_sensor_graphic.h"
#include "graphics/reaction_region.h"
#include "graphics/region_reaction_layer.h"
#include "graphics/scan_line.h"
#include "graphics/sensor_graphic.h"
#include "graphics/sensor_layer.h"
#include "config/team_config.h"
#include "graphics/team_tag.h"
#include "view/blink_animation.h"
#include "view/deck_scene.h"

#include <QGraphicsPathItem>
#include <QLineF>
#include <QMetaObject>
#include <QPen>


namespace {

constexpr uint kScanShowMs = 6000;
constexpr uint kScanHideMs = 2000;
constexpr qreal kOutlineWidth = 3.0;
const QColor kOutlineColour(0x00, 0xB0, 0xD0);
// Item data key under which a drawn boundary keeps its id in the ship file.
constexpr int kBoundaryIdKey = 0;
// The band under a boundary the crew has set: wide, green, see-through.
const QColor kBoundarySetColour(0x20, 0xC0, 0x40, 0x90);
constexpr qreal kBoundarySetWidth = 10.0;

} // namespace

DeckPlan::DeckPlan(DeckScene* scene, const Ship& ship, const IncidentState& incident, QObject* parent)
    : QObject(parent)
    , scene_(scene)
    , ship_(ship)
    , incident_(incident)
{
    connect(&incident, &IncidentState::damageChanged, this, &DeckPlan::showDamage);
    connect(&incident, &IncidentState::teamPlaced, this, &DeckPlan::placeTeam);
    connect(&incident, &IncidentState::teamRemoved, this, &DeckPlan::removeTeamTag);
    connect(&incident, &IncidentState::boundaryChanged, this, &DeckPlan::showBoundary);
    for (auto it = incident.damage().cbegin(); it != incident.damage().cend(); ++it)
        showDamage(it.key(), it.value());
}

void DeckPlan::show(harq::Deck* deck)
{
    deck_ = deck;
    if (pointed_)
        emit leaveCompartment(pointed_);
    pointed_ = nullptr;
    scene_->setDeck(deck->name(), deck->svgFilename());
    addCompartments();
    addBoundaries();
    addSensors();
    addEquipment();
    addTeams();
    addScanLine();
}

void DeckPlan::setSensorGroupVisible(const QString& group, bool visible)
{
    if (visible)
        hidden_groups_.remove(group);
    else
        hidden_groups_.insert(group);
    if (sensors_)
        sensors_->setGroupVisible(group, visible);
}

void DeckPlan::addCompartments()
{
    auto* layer = new RegionReactionLayer;
    scene_->addItem(layer);
    connect(layer, &RegionReactionLayer::regionReflect, this, &DeckPlan::compartmentDoubleClicked);
    outline_ = new QGraphicsPathItem(layer);
    QPen pen(kOutlineColour, kOutlineWidth);
    pen.setCosmetic(true);
    outline_->setPen(pen);
    outline_->setAcceptedMouseButtons(Qt::NoButton);
    outline_->setZValue(1.0); // above the compartments' fills
    for (harq::Region* region : deck_->regions()) {
        auto* reaction = new ReactionRegion(region);
        reaction->setAcceptHoverEvents(false);
        layer->addRegion(reaction);
        if (damaged_by_hand_.contains(region))
            reaction->manualDamage();
        // A new reaction region shows no damage until the compartment's next
        // alarm change; let the compartment recount now so a deck shown in the
        // middle of an incident shows it at once.
        QMetaObject::invokeMethod(region, "onSensorStateChanged");
    }
}

void DeckPlan::trackPointer(QPointF pos)
{
    if (!deck_)
        return;
    harq::Region* under = nullptr;
    for (harq::Region* region : deck_->regions()) {
        if (region->regionPath().containsPoint(pos, Qt::OddEvenFill)) {
            under = region;
            break;
        }
    }
    if (under == pointed_)
        return;
    if (pointed_)
        emit leaveCompartment(pointed_);
    pointed_ = under;
    QPainterPath outline;
    if (under) {
        outline.addPolygon(under->regionPath());
        outline.closeSubpath();
    }
    outline_->setPath(outline);
    if (under)
        emit enterCompartment(under);
}

void DeckPlan::addSensors()
{
    sensors_ = new SensorLayer;
    scene_->addItem(sensors_);
    for (harq::Sensor* sensor : deck_->sensors()) {
        auto* graphic = new MarkSensorGraphic;
        graphic->setSensor(sensor);
        graphic->acceptAnimotion(new BlinkAnimation);
        sensors_->addSensor(graphic);
        // The animation starts on the sensor's next state change; a sensor
        // already in alarm must blink now.
        if (!sensor->isNormal())
            QMetaObject::invokeMethod(graphic, "updateSensor");
    }
    for (const QString& group : qAsConst(hidden_groups_))
        sensors_->hideGroup(group);
}

void DeckPlan::addBoundaries()
{
    for (const Ship::Boundary& boundary : ship_.boundaries()) {
        const bool own = boundary.deck == deck_->id();
        if (!own && !boundary.copies.contains(deck_->id()))
            continue;
        auto* master = new DamageBoundary(deck_);
        scene_->addItem(master);
        master->makeMasterBoundary(boundary.outline);
        master->setBType(boundary.smoke ? DamageBoundary::SMOKE : DamageBoundary::FIRE);
        if (own) {
            showWhetherSet(master, boundary.id);
            continue;
        }
        // A copy is drawn dotted, as the slave of a master that stays hidden here.
        master->setBoundaryVisible(false);
        auto* copy = new DamageBoundary(deck_);
        scene_->addItem(copy);
        copy->makeSlaveBoundary(master);
        copy->setBType(boundary.smoke ? DamageBoundary::SMOKE : DamageBoundary::FIRE);
        showWhetherSet(copy, boundary.id);
    }
}

void DeckPlan::showBoundary(quint64 id)
{
    // Gathered first: showing the change deletes items the scene's list holds.
    QList<DamageBoundary*> shown;
    for (QGraphicsItem* item : scene_->items()) {
        if (item->type() == DamageBoundary::Type && boundaryIdOf(item) == id)
            shown.append(static_cast<DamageBoundary*>(item));
    }
    for (DamageBoundary* boundary : shown)
        showWhetherSet(boundary, id);
}

void DeckPlan::showWhetherSet(DamageBoundary* shown, quint64 id)
{
    // The id goes only on the boundary seen on this deck, not on the hidden
    // master a copy follows, so the menu and the band find the one drawn.
    shown->setData(kBoundaryIdKey, id);
    for (QGraphicsItem* child : shown->childItems()) {
        if (child->type() == QGraphicsPathItem::Type)
            delete child;
    }
    if (!incident_.isBoundarySet(id))
        return;
    QPainterPath outline;
    outline.addPolygon(shown->boundaryPath());
    outline.closeSubpath();
    auto* band = new QGraphicsPathItem(outline, shown);
    QPen pen(kBoundarySetColour, kBoundarySetWidth);
    pen.setCosmetic(true);
    band->setPen(pen);
    band->setFlag(QGraphicsItem::ItemStacksBehindParent);
    band->setAcceptedMouseButtons(Qt::NoButton);
}

quint64 DeckPlan::boundaryIdOf(const QGraphicsItem* item)
{
    // A segment or the band of a set boundary stands for its boundary.
    if (item && item->parentItem() && item->parentItem()->type() == DamageBoundary::Type)
        item = item->parentItem();
    return item && item->type() == DamageBoundary::Type ? item->data(kBoundaryIdKey).toULongLong() : 0;
}

harq::Sensor* DeckPlan::sensorOf(const QGraphicsItem* item)
{
    for (; item; item = item->parentItem()) {
        if (const auto* graphic = qobject_cast<const SensorGraphic*>(item->toGraphicsObject()))
            return graphic->sensor();
    }
    return nullptr;
}

void DeckPlan::addEquipment()
{
    EquipmentLayer* layer = scene_->getOrCreateEquipmentLayer();
    for (const auto& equipment : ship_.equipmentOn(deck_)) {
        auto* tag = new EquipmentTag(equipment);
        tag->setDeck(deck_);
        tag->setCabin(ship_.compartmentOf(equipment.get()));
        tag->setPixmap(EquipmentConfig::instance().pixmapByName(equipment->classifier()->name()));
        layer->addEquipment(tag);
    }
}

void DeckPlan::addTeams()
{
    for (const IncidentState::Team& team : incident_.teams())
        placeTeam(team);
}

void DeckPlan::placeTeam(const IncidentState::Team& team)
{
    if (!deck_ || team.deck != deck_->id())
        return;
    auto* tag = new TeamTag;
    tag->setPos(team.position);
    tag->setDeck(deck_);
    tag->setCabin(ship_.regionById(team.compartment));
    tag->deployTeam(incident_.teamTypes().value(team.type).name);
    scene_->addItem(tag);
}

void DeckPlan::removeTeamTag(const IncidentState::Team& team)
{
    if (!deck_ || team.deck != deck_->id())
        return;
    constexpr qreal kSamePlace = 0.5;
    const QString name = incident_.teamTypes().value(team.type).name;
    for (QGraphicsItem* item : scene_->items()) {
        TeamTag* tag = TeamTag::toTeamTag(item);
        if (tag && tag->teamName() == name && QLineF(tag->pos(), team.position).length() < kSamePlace) {
            // The tag books its team back into the catalogue as it goes.
            delete tag;
            return;
        }
    }
}

void DeckPlan::showDamage(quint64 id, int response)
{
    harq::Region* compartment = ship_.regionById(id);
    if (!compartment)
        return;
    if (response <= 0) {
        const auto own = damaged_by_hand_.find(compartment);
        if (own != damaged_by_hand_.end()) {
            compartment->setViewGroup(own.value());
            damaged_by_hand_.erase(own);
        }
        if (ReactionRegion* region = reactionOf(compartment))
            region->manualRecover();
        return;
    }
    const harq::ViewGroup* own = compartment->viewGroup();
    if (!damaged_by_hand_.contains(compartment))
        damaged_by_hand_.insert(compartment, own ? std::make_shared<harq::ViewGroup>(*own) : nullptr);
    // The colour follows the compartment's response; a copy keeps the view
    // group shared with other compartments of the type untouched.
    auto shown = own ? std::make_shared<harq::ViewGroup>(*own) : std::make_shared<harq::ViewGroup>();
    shown->setResponse(response);
    compartment->setViewGroup(shown);
    if (ReactionRegion* region = reactionOf(compartment))
        region->manualDamage();
}

ReactionRegion* DeckPlan::reactionOf(const harq::Region* compartment) const
{
    if (!deck_ || compartment->deck() != deck_)
        return nullptr;
    for (QGraphicsItem* item : scene_->items()) {
        if (item->type() == ReactionRegion::Type && static_cast<ReactionRegion*>(item)->region() == compartment)
            return static_cast<ReactionRegion*>(item);
    }
    return nullptr;
}

void DeckPlan::addScanLine()
{
    auto* scan = new ScanLine;
    scene_->addItem(scan);
    scan->initScan(scene_->sceneRect(), kScanShowMs, kScanHideMs);
}
