#pragma once

#include "view/alarm_animation.h"

/// Fades its item out and in like OpacityAnimation (invisible to the item's own
/// opacity in 2 s, back in 2 s), but on one clock shared by every BlinkAnimation
/// instead of an animation of its own ticking 60 times a second.
///
/// The clock steps all blinking items together, 12.5 times a second, which a
/// 2 s fade needs and which lets the view repaint them all in one go. Every
/// item therefore blinks in the same phase: start() joins the clock where it
/// stands instead of beginning at invisible. Otherwise it behaves as
/// OpacityAnimation: a QGraphicsOpacityEffect on the item while it blinks, the
/// former effect back on stop(), nothing kept while stopped. A host chooses it
/// for sensors in numbers; edition with tags only.
class KELVANE_EXPORT BlinkAnimation : public AlarmAnimation
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
    /// while it exists. The caller takes ownership.
    QAbstractAnimation* createAnimation(QGraphicsItem* g) override;
};
