#include "record_pacer.h"

#include "Tavimor.h"

#include <QTimer>

#include <utility>

RecordPacer::RecordPacer(Handler handler, int turnBudgetMs, QObject* parent)
    : QObject(parent)
    , handler_(std::move(handler))
    , budget_ms_(turnBudgetMs)
    , next_turn_(new QTimer(this))
{
    // A timer, not a posted call: posted events go by priority, and the paint
    // a turn asks for (posted with low priority) would wait behind every slice.
    next_turn_->setSingleShot(true);
    next_turn_->setInterval(0);
    connect(next_turn_, &QTimer::timeout, this, &RecordPacer::continueInNextTurn);
}

RecordPacer::~RecordPacer() = default;

void RecordPacer::take(const stDt* records, int count)
{
    if (count <= 0)
        return;
    openTurn();
    if (waiting_.empty() && !spent()) {
        handler_(records, count);
        return;
    }
    waiting_.emplace_back(records, records + count);
}

void RecordPacer::flush()
{
    while (!waiting_.empty())
        handOnFirst();
}

bool RecordPacer::spent() const
{
    return turn_.elapsed() >= budget_ms_;
}

void RecordPacer::openTurn()
{
    if (next_turn_->isActive())
        return;
    turn_.start();
    next_turn_->start();
}

void RecordPacer::continueInNextTurn()
{
    if (waiting_.empty())
        return;
    openTurn();
    // At least one frame a turn, however small the budget.
    do
        handOnFirst();
    while (!waiting_.empty() && !spent());
}

void RecordPacer::handOnFirst()
{
    // Taken off first: the handler may take or flush frames itself.
    const std::vector<stDt> frame = std::move(waiting_.front());
    waiting_.pop_front();
    handler_(frame.data(), int(frame.size()));
}
