#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <deque>
#include <functional>
#include <vector>

class QTimer;
struct stDt;

/// Hands received frames of records on in the order they came, but spends at
/// most a budget of time on them in one turn of the event loop: a socket read
/// can bring a thousand frames at once (an alarm flood, a link coming back to
/// the values standing on the ship), and handling them all in that read would
/// leave the window unpainted for as long. Frames beyond the budget wait and
/// are handed on, still in order, in the next turns, after whatever else the
/// event loop has to do (painting among it). While nothing waits and the budget
/// lasts, a frame is handed on at once, within the call that brought it.
class RecordPacer : public QObject
{
    Q_OBJECT

public:
    /// Takes the records of one frame; the array is valid only during the call.
    using Handler = std::function<void(const stDt* records, int count)>;

    /// Well below the 100 ms an operator notices, leaving room for a paint.
    static constexpr int kTurnBudgetMs = 40;

    /// With \a turnBudgetMs 0 every frame waits for a turn of its own.
    explicit RecordPacer(Handler handler, int turnBudgetMs = kTurnBudgetMs, QObject* parent = nullptr);
    ~RecordPacer() override;

    /// Hands the frame on now if nothing waits and the turn's budget lasts;
    /// otherwise it waits behind the frames taken before.
    void take(const stDt* records, int count);
    /// Hands on every waiting frame now.
    void flush();
    /// Frames waiting.
    int waiting() const { return int(waiting_.size()); }

private:
    bool spent() const;
    void openTurn();
    void continueInNextTurn();
    void handOnFirst();

    Handler handler_;
    int budget_ms_;
    std::deque<std::vector<stDt>> waiting_;
    QElapsedTimer turn_;
    // Marks the end of the turn the clock runs for.
    QTimer* next_turn_;
};
