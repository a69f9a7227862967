#pragma once

#include <QListWidget>

class AlarmState;

namespace harq {
class Deck;
}

/// The list of decks, each with the number of its sensor items in alarm and of
/// those awaiting acknowledgement (the alarm list's rows, counted the same way);
/// choosing a row asks for that deck to be shown. It is never narrower than its
/// widest row.
class DeckSwitcher : public QListWidget
{
    Q_OBJECT

public:
    DeckSwitcher(const std::vector<harq::Deck*>& decks, const AlarmState& alarms, QWidget* parent = nullptr);

    /// Marks \a deck as the one on show (without asking for it again).
    void setCurrentDeck(const harq::Deck* deck);

    QSize sizeHint() const override;

signals:
    void deckChosen(harq::Deck* deck);

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateRows();
    void updateRow(quint64 deck);
    void fit();
    void fitLater();

    std::vector<harq::Deck*> decks_;
    const AlarmState& alarms_;
    bool fit_pending_ = false;
};
