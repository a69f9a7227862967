#pragma once

#include "view/alarm_animation.h"

/// Fades its item out and in without end: from invisible to the item's own
/// opacity in 2 s, back in 2 s, until stopped.
///
/// The fading is done by a QGraphicsOpacityEffect installed on the item, which
/// multiplies with the item's own opacity: an item drawn at 0.6 blinks between
/// 0 and 0.6. Edition with tags only.
class KELVANE_EXPORT OpacityAnimation : public AlarmAnimation
{
    Q_OBJECT

public:
    /// Creates a stopped animation with Qt parent \a parent (may be null).
    explicit OpacityAnimation(QObject* parent = nullptr);
    /// Stops the animation, restoring the item.
    ~OpacityAnimation() override;

protected:
    /// Installs a fresh opacity effect on \a g (the item owns it, replacing a
    /// former effect, which AlarmAnimation keeps aside) and returns a linear
    /// 2000 ms animation of that effect's opacity from 0 to 1 that reverses its
    /// direction and restarts each time it finishes. The caller takes ownership.
    QAbstractAnimation* createAnimation(QGraphicsItem* g) override;
};
