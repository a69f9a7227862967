#pragma once

#include <QListWidget>

namespace harq {
class Deck;
}

/// The list of decks, each with the number of its sensors in alarm; choosing a
/// row asks for that deck to be shown.
class DeckSwitcher : public QListWidget
{
    Q_OBJECT

public:
    explicit DeckSwitcher(const std::vector<harq::Deck*>& decks, QWidget* parent = nullptr);

    /// Marks \a deck as the one on show (without asking for it again).
    void setCurrentDeck(const harq::Deck* deck);

signals:
    void deckChosen(harq::Deck* deck);

private:
    void updateRow(const harq::Deck* deck);

    std::vector<harq::Deck*> decks_;
};
