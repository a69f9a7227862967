#pragma once

#include "view/alarm_animation.h"
#include "view/blink_clock.h"

#include <QMetaObject>

/// Fades its item out and in like OpacityAnimation (invisible to the item's own
/// opacity in 2 s, back in 2 s), but on one clock shared by every BlinkAnimation
/// instead of an animation of its own ticking 60 times a second.
///
/// The clock steps all blinking items together, 12.5 times a second, which a
/// 2 s fade needs and which lets the view repaint them all in one go. Every
/// item therefore blinks in the same phase: start() joins the clock where it
/// stands, from its next step, instead of beginning at invisible. A host
/// chooses it for sensors in numbers; edition with tags only.
///
/// An alarm costs no objects: an item that is a QGraphicsObject, or a
/// descendant of one (as a sensor graphic's mark), blinks through its own
/// opacity, the opacity it had at start() times the clock's level, and gets
/// that opacity back on stop(). Its graphics effect is left alone. The
/// QGraphicsObject tells the animation of its end; a descendant must therefore
/// stay under it, and not be deleted on its own, while it blinks, and the host
/// must not set the item's opacity meanwhile (stop() would put the former one
/// back). Each item of a part drawn at its own opacity also fades on its own:
/// a pen over a brush shows the brush through it, as it does at the steady
/// opacity of a sensor style.
///
/// Any other item blinks as under OpacityAnimation: a QGraphicsOpacityEffect
/// on the item while it blinks, the former effect back on stop(), nothing kept
/// while stopped.
class KELVANE_EXPORT BlinkAnimation : public AlarmAnimation, private BlinkClock::Blinker
{
    Q_OBJECT

public:
    /// Creates a stopped animation with Qt parent \a parent (may be null).
    explicit BlinkAnimation(QObject* parent = nullptr);
    /// Stops the animation, restoring the item.
    ~BlinkAnimation() override;

    /// Milliseconds between two steps of the shared clock.
    static int stepMilliseconds();

protected:
    /// Installs an opacity effect on \a g at the clock's present level and
    /// returns an endless animation that keeps the effect on the shared clock
    /// while it exists. The caller takes ownership. Used for items with no
    /// QGraphicsObject among them and their ancestors.
    QAbstractAnimation* createAnimation(QGraphicsItem* g) override;
    /// Blinks \a g through its own opacity when a QGraphicsObject tells of its
    /// end (see the class); false otherwise.
    bool startOwnBlink(QGraphicsItem* g) override;
    /// Gives the item blinking through its own opacity that opacity back.
    void stopOwnBlink() override;

private:
    void showLevel(qreal level) override;
    /// Learns of the end of \a life, the object that ends with the item, once
    /// per object rather than at every alarm.
    void watchLife(QObject* life);
    void forgetItem();

    /// The item blinking through its own opacity; null when none does.
    QGraphicsItem* item_ = nullptr;
    /// Its opacity before the blink.
    qreal own_opacity_ = 1.0;
    /// The object whose end is watched (kept across alarms); null when none.
    QObject* life_ = nullptr;
    QMetaObject::Connection life_watch_;
};
