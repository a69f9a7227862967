#pragma once

#include "kelvane_export.h"

#include <QGraphicsRectItem>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QAbstractAnimation;
class QGraphicsEffect;
class QGraphicsItem;

/// Makes one scene item blink while the thing it shows is in alarm, and gives
/// the item its former look back when the alarm ends. Subclasses build the
/// animation itself in createAnimation.
///
/// The item's former graphics effect is kept alive (moved aside, not owned by
/// the item) while the animation runs, and put back by stop().
///
/// An item may be destroyed before its animation, as when a sensor graphic that
/// owns a running animation is deleted. The animation learns this through the
/// graphics effect that createAnimation leaves on the item: an item destroys its
/// effect with itself. When that effect is destroyed (with the item, or because
/// someone replaced it) the animation is discarded without touching the item
/// again, and the former effect is not put back. For an item without such an
/// effect, the item itself must be a QGraphicsObject; anything else fails the
/// assertion in start().
///
/// The host creates the animation objects; a sensor graphic that accepts one
/// becomes its Qt parent. Edition with tags only.
class KELVANE_EXPORT AlarmAnimation : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(AlarmAnimation)

public:
    /// Creates a stopped animation with Qt parent \a parent (may be null).
    explicit AlarmAnimation(QObject* parent = nullptr);
    /// Stops the animation, restoring the item (unless the item is already gone).
    ~AlarmAnimation() override;

public slots:
    /// Starts blinking \a g (not null) from the beginning of the cycle, first
    /// stopping a running animation, so a second start, on the same item or
    /// another, restores the first item and begins a fresh cycle. The item is
    /// borrowed; a null \a g fails an assertion and stops the process.
    void start(QGraphicsItem* g);
    /// Ends the blinking and restores the item's former effect; nothing when stopped.
    void stop();

protected:
    /// Builds, but does not start, the animation for \a g; the caller takes ownership.
    virtual QAbstractAnimation* createAnimation(QGraphicsItem* g) = 0;
    /// Lets a subclass blink \a g without an animation object or effect of its
    /// own, at a lower cost per alarm; start() asks it right after stopping,
    /// and uses createAnimation() only when it returns false. The default
    /// returns false. A subclass that returns true stops such a blink in
    /// stopOwnBlink() and calls that from its own destructor.
    virtual bool startOwnBlink(QGraphicsItem* g);
    /// Ends a blink begun by startOwnBlink(); stop() calls it first. The
    /// default does nothing.
    virtual void stopOwnBlink();

private:
    void forgetItem();

    QAbstractAnimation* animation_ = nullptr;
    QPointer<QGraphicsEffect> origin_effect_;
    /// The item animated last; kept after stop(), cleared once the item is gone.
    QGraphicsItem* graphic_ = nullptr;
    /// Holds the former effect while the animation's own effect is installed;
    /// an item would destroy an effect it is made to drop.
    QGraphicsRectItem effect_keeper_;
    QMetaObject::Connection item_watch_;
};
