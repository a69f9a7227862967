#include "compartment_menu.h"

#include "alarm_feed.h"
#include "alarm_state.h"
#include "deck_plan.h"
#include "event_log.h"
#include "incident_commands.h"

#include "config/damage_config.h"
#include "config/team_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"
#include "graphics/reaction_region.h"
#include "graphics/team_tag.h"
#include "view/deck_view_complex.h"

#include <QContextMenuEvent>
#include <QGraphicsScene>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QPointer>

#include <optional>

CompartmentMenu::CompartmentMenu(DeckViewComplex* view, DeckPlan* plan, IncidentCommands& commands, EventLog* log,
                                 QObject* parent)
    : QObject(parent)
    , view_(view)
    , plan_(plan)
    , commands_(commands)
    , log_(log)
{
    connect(view, &DeckViewComplex::resquestContextMenu, this, &CompartmentMenu::open);
    connect(&commands, &IncidentCommands::deployRefused, this, [this](int type, IncidentCommands::Refusal) {
        refused_ = true;
        log_->log(tr("%1已全部派出, 未部署").arg(plan_->incident().teamTypes().value(type).name));
    });
}

QMenu* CompartmentMenu::menu() const
{
    return menu_;
}

void CompartmentMenu::open(QContextMenuEvent* event)
{
    const QPointF pos = view_->mapToScene(event->pos());
    // Topmost first: a team tag or a sensor wins over the compartment it stands in.
    ReactionRegion* region = nullptr;
    TeamTag* team = nullptr;
    harq::Sensor* sensor = nullptr;
    quint64 boundary = 0;
    for (QGraphicsItem* item : view_->scene()->items(pos)) {
        team = TeamTag::toTeamTag(item);
        boundary = DeckPlan::boundaryIdOf(item);
        if (team || boundary)
            break;
        sensor = alarms_ ? DeckPlan::sensorOf(item) : nullptr;
        if (sensor)
            break;
        if (item->type() == ReactionRegion::Type) {
            region = static_cast<ReactionRegion*>(item);
            break;
        }
    }
    if (!team && !region && !sensor && !boundary)
        return;

    delete menu_;
    menu_ = new QMenu(view_);
    menu_->setAttribute(Qt::WA_DeleteOnClose);
    if (team)
        fillForTeam(team);
    else if (boundary)
        fillForBoundary(boundary);
    else if (sensor)
        fillForSensor(sensor);
    else
        fillForCompartment(region, pos);
    menu_->popup(event->globalPos());
    event->accept();
}

void CompartmentMenu::fillForCompartment(ReactionRegion* region, QPointF pos)
{
    harq::Region* compartment = region->region();
    menu_->addSection(compartment->nameAndCode());
    if (alarms_) {
        const std::optional<quint64> deck
            = compartment->deck() ? std::optional<quint64>(compartment->deck()->id()) : std::nullopt;
        addAcknowledge(tr("确认本舱报警"), alarms_->alarms().unacknowledged(deck, compartment->id()));
        menu_->addSeparator();
    }
    QMenu* damage = menu_->addMenu(tr("手动报损"));
    for (int response : {harq::DamageResponse::FIRE, harq::DamageResponse::SINK, harq::DamageResponse::ABANDON})
        addDamage(damage, region, response);
    menu_->addAction(tr("手动恢复"), this, [this, region = QPointer<ReactionRegion>(region), compartment] {
        // The plan may have moved to another deck while the menu was open.
        if (!region || !permits(OperatorSession::Action::Damage))
            return;
        commands_.recover(compartment->id());
        log_->log(tr("手动恢复: %1").arg(compartment->nameAndCode()));
    });

    QMenu* deploy = menu_->addMenu(tr("部署小队"));
    // What is free counts the units out on every deck, not only the tags on this one.
    const IncidentState& incident = plan_->incident();
    const TeamConfig& teams = TeamConfig::instance();
    for (int type = 0; type < incident.teamTypes().size(); ++type) {
        const IncidentState::TeamType& team = incident.teamTypes()[type];
        const int free = incident.freeUnits(type);
        QAction* action = deploy->addAction(teams.pixmapAt(std::size_t(type)),
                                            tr("%1 (可用 %2/%3)").arg(team.name).arg(free).arg(team.units));
        action->setEnabled(free > 0);
        connect(action, &QAction::triggered, this, [this, type, name = team.name, pos, compartment] {
            // The click point belongs to the deck the menu was opened on.
            if (plan_->deck() != compartment->deck() || !permits(OperatorSession::Action::Teams))
                return;
            refused_ = false;
            commands_.deployTeam(type, compartment->deck()->id(), pos, compartment->id());
            if (!refused_)
                log_->log(tr("部署%1到%2").arg(name, compartment->nameAndCode()));
        });
    }
    deploy->setEnabled(!deploy->actions().isEmpty());
}

void CompartmentMenu::addDamage(QMenu* damage, ReactionRegion* region, int response)
{
    const std::optional<harq::DamageResponse> shown = DamageConfig::instance().response(response);
    // Without a configured response the compartment would show no colour.
    if (!shown)
        return;
    const QString name = shown->name();
    QPixmap swatch(16, 16);
    swatch.fill(shown->color());
    damage->addAction(QIcon(swatch), name, this, [this, region = QPointer<ReactionRegion>(region), response, name] {
        if (!region || !permits(OperatorSession::Action::Damage))
            return;
        commands_.damage(region->region()->id(), response);
        log_->log(tr("手动报损: %1 %2").arg(region->region()->nameAndCode(), name));
    });
}

void CompartmentMenu::fillForTeam(TeamTag* tag)
{
    const QString name = tag->teamName();
    const QString where = tag->cabin() ? tag->cabin()->nameAndCode() : QString();
    menu_->addSection(where);
    menu_->addAction(tr("撤回%1").arg(name), this, [this, tag = QPointer<TeamTag>(tag), name, where] {
        if (!tag || !permits(OperatorSession::Action::Teams))
            return;
        if (harq::Deck* deck = plan_->deck())
            commands_.withdrawTeam(plan_->incident().teamType(name), deck->id(), tag->pos());
        log_->log(tr("撤回%1 (%2)").arg(name, where));
    });
}

void CompartmentMenu::fillForBoundary(quint64 id)
{
    menu_->addSection(tr("边界 %1").arg(id));
    QAction* action = menu_->addAction(tr("边界已设置"), this, [this, id](bool set) {
        if (!permits(OperatorSession::Action::Boundaries))
            return;
        commands_.setBoundary(id, set);
        log_->log(set ? tr("边界 %1 已设置").arg(id) : tr("边界 %1 已撤除").arg(id));
    });
    action->setCheckable(true);
    action->setChecked(plan_->incident().isBoundarySet(id));
}

void CompartmentMenu::fillForSensor(harq::Sensor* sensor)
{
    menu_->addSection(sensor->nameAndCode());
    QList<int> ids;
    for (int id : alarms_->alarms().unacknowledged()) {
        if (alarms_->sensorOf(id) == sensor)
            ids.append(id);
    }
    addAcknowledge(tr("确认该传感器报警"), ids);
    menu_->addAction(tr("详细信息..."), this, [this, sensor = QPointer<harq::Sensor>(sensor)] {
        if (sensor)
            emit detailRequested(sensor);
    });
}

void CompartmentMenu::addAcknowledge(const QString& text, const QList<int>& ids)
{
    QAction* action = menu_->addAction(tr("%1 (%2)").arg(text).arg(ids.size()), this,
                                       [this, ids] { emit acknowledgeRequested(ids); });
    action->setEnabled(!ids.isEmpty());
}

bool CompartmentMenu::permits(OperatorSession::Action action) const
{
    return !permission_ || permission_(action);
}
