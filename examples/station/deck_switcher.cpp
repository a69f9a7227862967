#include "deck_switcher.h"

#include "entity/deck.h"

#include <QSignalBlocker>

#include <algorithm>

DeckSwitcher::DeckSwitcher(const std::vector<harq::Deck*>& decks, QWidget* parent)
    : QListWidget(parent)
    , decks_(decks)
{
    // Highest deck on top, as on the ship.
    std::stable_sort(decks_.begin(), decks_.end(),
                     [](const harq::Deck* a, const harq::Deck* b) { return a->level() > b->level(); });
    for (harq::Deck* deck : decks_) {
        addItem(QString());
        updateRow(deck);
        connect(deck, &harq::Deck::sensorStateChanged, this, &DeckSwitcher::updateRow);
    }
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

void DeckSwitcher::updateRow(const harq::Deck* deck)
{
    const auto it = std::find(decks_.cbegin(), decks_.cend(), deck);
    if (it == decks_.cend())
        return;
    QListWidgetItem* row = item(int(it - decks_.cbegin()));
    const int alarms = deck->abnormalSensorCount();
    row->setText(alarms > 0 ? tr("%1  报警 %2").arg(deck->name()).arg(alarms) : tr("%1  正常").arg(deck->name()));
    row->setForeground(alarms > 0 ? QBrush(Qt::red) : QBrush());
}
