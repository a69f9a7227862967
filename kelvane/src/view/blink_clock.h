#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QTimer>

class QGraphicsOpacityEffect;

/// The clock behind BlinkAnimation: one timer on the GUI thread that sets the
/// opacity of every effect on it to the same level of a 4 s fade out and in,
/// and runs only while some effect is on it.
class BlinkClock : public QObject
{
public:
    /// Time between two steps of the fade: 12.5 steps a second are smooth
    /// enough for a 4 s fade.
    static constexpr int kStepMs = 80;

    /// The one clock; GUI thread only.
    static BlinkClock& instance();

    /// The opacity the clock gives its effects now: 0 to 1 and back in 4 s.
    qreal level() const;
    /// Puts \a effect on the clock, starting the clock if it was idle.
    void add(QGraphicsOpacityEffect* effect);
    /// Takes \a effect off the clock, stopping it when no effect is left.
    void remove(QGraphicsOpacityEffect* effect);

private:
    BlinkClock();
    void step();

    QTimer timer_;
    QElapsedTimer since_;
    QSet<QGraphicsOpacityEffect*> effects_;
};
