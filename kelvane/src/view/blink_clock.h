#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <vector>

/// The clock behind BlinkAnimation: one timer on the GUI thread that brings
/// every blinker on it to the same level of a 4 s fade out and in. It runs
/// while some blinker is on it and stops at its first step without one.
class BlinkClock : public QObject
{
public:
    /// Something the clock steps: it shows the level it is given.
    class Blinker
    {
    public:
        /// Shows \a level, 0 (invisible) to 1 (as without the blink).
        virtual void showLevel(qreal level) = 0;

    protected:
        ~Blinker() = default;

    private:
        friend class BlinkClock;
        /// Its place on the clock; -1 while off it.
        int place_ = -1;
    };

    /// Time between two steps of the fade: 12.5 steps a second are smooth
    /// enough for a 4 s fade.
    static constexpr int kStepMs = 80;

    /// The one clock; GUI thread only.
    static BlinkClock& instance();

    /// The level the clock gives its blinkers now: 0 to 1 and back in 4 s.
    qreal level() const;
    /// Puts \a blinker on the clock (once however often it is added),
    /// starting the clock if it was idle; the blinker shows the level from the
    /// next step. Joining and leaving take constant time and, once the clock
    /// has held that many blinkers, no allocation: they happen at every alarm.
    void add(Blinker* blinker);
    /// Takes \a blinker off the clock, if it is on it; nothing shows a level
    /// to it after.
    void remove(Blinker* blinker);

private:
    BlinkClock();
    void step();

    QTimer timer_;
    QElapsedTimer since_;
    /// In no order: one leaving takes the last one's place.
    std::vector<Blinker*> blinkers_;
};
