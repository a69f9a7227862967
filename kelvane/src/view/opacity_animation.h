#pragma once

#include "view/alarm_animation.h"

/// Fades its item out and in without end: from invisible to the item's own
/// opacity in 2 s, back in 2 s, until stopped.
class KELVANE_EXPORT OpacityAnimation : public AlarmAnimation
{
    Q_OBJECT

public:
    explicit OpacityAnimation(QObject* parent = nullptr);
    ~OpacityAnimation() override;

protected:
    QAbstractAnimation* createAnimation(QGraphicsItem* g) override;
};
