#pragma once

#include "kelvane_export.h"

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
class KELVANE_EXPORT ReactionRegion : public QObject, public QGraphicsPolygonItem
{
    Q_OBJECT

public:
    enum { Type = UserType + 13 };

    /// \a region must not be null. A new region shows no fill, whatever the
    /// compartment's alarms: the count is taken from its next alarmChanged.
    ReactionRegion(harq::Region* region, QGraphicsItem* parent = nullptr);
    ~ReactionRegion() override;

    int type() const override { return Type; }

    /// The compartment; null once the compartment was destroyed.
    harq::Region* region();
    const harq::Region* region() const;
    /// Not cancelled by a manual recovery, and damaged by hand or by alarms.
    bool damaged() const;

signals:
    /// Left double click.
    void reflectRegion(harq::Region* region);
    void enter(ReactionRegion* self);
    void leave(ReactionRegion* self);
#ifndef KELVANE_MAINTENANCE
    /// For the host; nothing in the library emits it.
    void resquestFirecard(harq::Region* region);
#endif

public slots:
    /// Marks the compartment damaged by hand and emits its damage signal.
    void manualDamage();
    /// Clears the damage colour by hand until the alarm count changes, and
    /// emits the compartment's recover signal.
    void manualRecover();

protected slots:
    void changeName(const QString& name);
    void changeCode(const QString& code);
    void changePath(QPolygonF path);
    void changeAlarm(int alarms);
    void changeType();

protected:
    void updateTooTip();
    void checkOpacity();
    void checkBrush();

    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QPointer<harq::Region> region_;
    int alarm_count_ = 0;
    bool sensitive_ = false;
    std::atomic_bool manual_tag_{false};
    std::atomic_bool manual_cancel_{false};
};

Q_DECLARE_METATYPE(ReactionRegion*)
