#include "view/opacity_animation.h"

#include <QGraphicsItem>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>

namespace {

constexpr int kFadeMilliseconds = 2000;
constexpr qreal kInvisible = 0.0;
constexpr qreal kOwnOpacity = 1.0;

QAbstractAnimation::Direction reversed(QAbstractAnimation::Direction direction)
{
    return direction == QAbstractAnimation::Forward ? QAbstractAnimation::Backward : QAbstractAnimation::Forward;
}

} // namespace

OpacityAnimation::OpacityAnimation(QObject* parent)
    : AlarmAnimation(parent)
{
}

OpacityAnimation::~OpacityAnimation() = default;

QAbstractAnimation* OpacityAnimation::createAnimation(QGraphicsItem* g)
{
    auto* effect = new QGraphicsOpacityEffect;
    g->setGraphicsEffect(effect);

    auto* animation = new QPropertyAnimation(effect, "opacity");
    animation->setDuration(kFadeMilliseconds);
    animation->setEasingCurve(QEasingCurve::Linear);
    animation->setStartValue(kInvisible);
    animation->setEndValue(kOwnOpacity);
    // Ping-pong: each pass ends by starting the pass the other way.
    connect(animation, &QAbstractAnimation::finished, animation, [animation] {
        animation->setDirection(reversed(animation->direction()));
        animation->start(QAbstractAnimation::KeepWhenStopped);
    });
    return animation;
}
