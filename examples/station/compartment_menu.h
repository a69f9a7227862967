#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

class DeckPlan;
class DeckViewComplex;
class EventLog;
class QContextMenuEvent;
class QMenu;
class ReactionRegion;
class TeamTag;

/// The menu a right click on the deck plan opens: on a compartment, damage or
/// recovery by hand and the deployment of a team of the team catalogue there;
/// on a team tag, the withdrawal of that team. Every action goes to the event log.
class CompartmentMenu : public QObject
{
    Q_OBJECT

public:
    CompartmentMenu(DeckViewComplex* view, DeckPlan* plan, EventLog* log, QObject* parent = nullptr);

    /// The menu opened last, while it is open.
    QMenu* menu() const;

private:
    void open(QContextMenuEvent* event);
    void fillForCompartment(ReactionRegion* region, QPointF pos);
    void fillForTeam(TeamTag* tag);
    void addDamage(QMenu* damage, ReactionRegion* region, int response);

    DeckViewComplex* view_;
    DeckPlan* plan_;
    EventLog* log_;
    QPointer<QMenu> menu_;
};
