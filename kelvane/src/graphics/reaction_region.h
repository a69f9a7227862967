#pragma once

#include "item_type.h"
#include "kelvane_export.h"

#include <QBrush>
#include <QGraphicsPolygonItem>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QPolygonF>
#include <QString>

#include <atomic>

namespace harq {
class Region;
}

/// Lets one compartment react on the plan: a polygon with the compartment's
/// outline, invisible until the pointer is over it (hover colour) or the
/// compartment is damaged (colour of its damage response, mixed with the hover
/// colour under the pointer). Every alarm makes it more opaque. Also carries
/// the manual damage and recovery commands.
///
/// The host creates one per compartment and hands it to the RegionReactionLayer,
/// which makes it a child item of a container; the region has no parent
/// object. Colours and the base opacity come from the region and damage styles.
class KELVANE_EXPORT ReactionRegion : public QObject, public QGraphicsPolygonItem
{
    Q_OBJECT

public:
    /// Item type of a reaction region, for qgraphicsitem_cast().
    enum { Type = kelvane::ReactionRegionType };

    /// A region with \a region's outline, child item of \a parent (none when
    /// null), that follows the compartment's name, code, outline, alarm count
    /// and type; the compartment is not owned. A null \a region stops the
    /// process through the library's assertion. A new region shows no fill,
    /// whatever the compartment's alarms: the count is taken from its next
    /// alarmChanged.
    ReactionRegion(harq::Region* region, QGraphicsItem* parent = nullptr);
    /// Takes the region out of its parent item; its connections end with it.
    ~ReactionRegion() override;

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

    /// The compartment; null once the compartment was destroyed.
    harq::Region* region();
    /// The compartment, read-only; null once the compartment was destroyed.
    const harq::Region* region() const;
    /// Not cancelled by a manual recovery, and damaged by hand or by alarms.
    bool damaged() const;

signals:
    /// Left double click on the region, with its compartment as \a region
    /// (null once the compartment was destroyed).
    void reflectRegion(harq::Region* region);
    /// The pointer entered the region; emitted with the region itself as
    /// \a self, once the hover fill shows. A slot may delete the region.
    void enter(ReactionRegion* self);
    /// The pointer left the region; emitted with the region itself as \a self,
    /// once the hover fill is gone. A slot may delete the region.
    void leave(ReactionRegion* self);

public slots:
    /// Marks the compartment damaged by hand and emits its damage signal.
    /// The opacity follows the current alarm count, and the plain colour of
    /// the compartment's damage response shows, not mixed with the hover
    /// colour until the next refresh; without a configured response the fill
    /// stays as it is. Once the compartment is destroyed only the state changes.
    void manualDamage();
    /// Clears the damage colour by hand until the alarm count changes, and
    /// emits the compartment's recover signal. The fill goes at once, also
    /// under the pointer; the opacity stays. Hovering later still shows the
    /// hover colour.
    void manualRecover();

protected slots:
    /// Refreshes the tool tip from the compartment; \a name is not read.
    void changeName(const QString& name);
    /// Refreshes the tool tip from the compartment; \a code is not read.
    void changeCode(const QString& code);
    /// Takes \a path, the compartment's outline, as the polygon; fill and
    /// opacity stay.
    void changePath(QPolygonF path);
    /// Takes the compartment's new alarm count \a alarms. A count that differs
    /// from the last one ends a manual recovery and refreshes opacity and fill;
    /// the same count again changes nothing.
    void changeAlarm(int alarms);
    /// Refreshes the fill: the damage response may change with the type.
    void changeType();

protected:
    /// Sets the tool tip to the compartment's name and code; nothing once the
    /// compartment is gone.
    void updateTooTip();
    /// Sets the opacity to the region style's hover opacity times 1.2 per
    /// outstanding alarm; the item bounds it at fully opaque.
    void checkOpacity();
    /// Sets the fill from the state: the hover colour under the pointer, the
    /// damage response's colour while damaged(), the integer mean of the two
    /// packed RGB values when both apply, none otherwise. A response type
    /// without a configured response leaves the hover fill.
    void checkBrush();

    /// Shows the hover fill, then emits enter() after the item's own handling.
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    /// Removes the hover fill, then emits leave() after the item's own handling;
    /// only after hoverEnterEvent(), so each enter() gets one leave().
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;
    /// Keeps the press accepted and does nothing else, so that the region, as
    /// mouse grabber, receives a following double click.
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    /// Emits reflectRegion() for a left double click, after the item's own
    /// handling; other buttons emit nothing.
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QPointer<harq::Region> region_;
    /// The last fill shown, kept for its colour's next turn.
    QBrush fill_;
    int alarm_count_ = 0;
    bool sensitive_ = false;
    std::atomic_bool manual_tag_{false};
    std::atomic_bool manual_cancel_{false};

    // What only one edition has.
#ifndef KELVANE_MAINTENANCE
signals:
    /// For the host, to ask for the fire card of \a region; nothing in the
    /// library emits it.
    void resquestFirecard(harq::Region* region);
#endif
};

Q_DECLARE_METATYPE(ReactionRegion*)
