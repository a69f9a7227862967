#include "deck_switcher.h"

#include "alarm_state.h"

#include "entity/deck.h"
#include "entity/sensor.h"

#include <QEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

DeckSwitcher::DeckSwitcher(const std::vector<harq::Deck*>& decks, const AlarmState& alarms, QWidget* parent)
    : QListWidget(parent)
    , decks_(decks)
    , alarms_(alarms)
{
    // Highest deck on top, as on the ship.
    std::stable_sort(decks_.begin(), decks_.end(),
                     [](const harq::Deck* a, const harq::Deck* b) { return a->level() > b->level(); });
    for (std::size_t i = 0; i < decks_.size(); ++i)
        addItem(QString());
    updateRows();
    connect(&alarms, &AlarmState::alarmChanged, this, [this](int id) {
        if (const AlarmState::Alarm* alarm = alarms_.alarm(id)) {
            updateRow(alarm->item.deck);
            fitLater();
        }
    });
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < int(decks_.size()))
            emit deckChosen(decks_.at(std::size_t(row)));
    });
}

void DeckSwitcher::setCurrentDeck(const harq::Deck* deck)
{
    const auto it = std::find(decks_.cbegin(), decks_.cend(), deck);
    if (it == decks_.cend())
        return;
    const QSignalBlocker blocker(this);
    setCurrentRow(int(it - decks_.cbegin()));
}

QSize DeckSwitcher::sizeHint() const
{
    // No wider than the rows need either: the plan and the alarm list need the room.
    return {minimumWidth(), QListWidget::sizeHint().height()};
}

void DeckSwitcher::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        updateRows();
    QListWidget::changeEvent(event);
}

void DeckSwitcher::updateRows()
{
    for (const harq::Deck* deck : decks_)
        updateRow(deck->id());
    fit();
}

void DeckSwitcher::fit()
{
    // As wide as the widest row, whatever the language and the counts: a row
    // cut short would hide how many alarms wait there.
    setMinimumWidth(sizeHintForColumn(0) + 2 * frameWidth() + verticalScrollBar()->sizeHint().width());
}

void DeckSwitcher::fitLater()
{
    // Once per burst of alarms: measuring every row at each of a flood's alarms would stall the window.
    if (fit_pending_)
        return;
    fit_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        fit_pending_ = false;
        fit();
    });
}

void DeckSwitcher::updateRow(quint64 id)
{
    const auto it = std::find_if(decks_.cbegin(), decks_.cend(), [id](const harq::Deck* deck) { return deck->id() == id; });
    if (it == decks_.cend())
        return;
    const harq::Deck* deck = *it;
    QListWidgetItem* row = item(int(it - decks_.cbegin()));
    const int active = alarms_.activeCount(id);
    const int unacknowledged = alarms_.unacknowledgedCount(id);
    if (unacknowledged > 0)
        row->setText(tr("%1  报警 %2, 未确认 %3").arg(deck->name()).arg(active).arg(unacknowledged));
    else if (active > 0)
        row->setText(tr("%1  报警 %2").arg(deck->name()).arg(active));
    else
        row->setText(tr("%1  正常").arg(deck->name()));
    QFont font = row->font();
    font.setBold(unacknowledged > 0);
    row->setFont(font);
    row->setForeground(active > 0 || unacknowledged > 0 ? QBrush(Qt::red) : QBrush());
}
