#pragma once

#include <QList>
#include <QPersistentModelIndex>
#include <QWidget>

#include <array>
#include <optional>

class AlarmFilter;
class AlarmState;
class AlarmTable;
class FilterBar;
class QLabel;
class QPushButton;
class QTreeView;

/// The alarm list: every listed alarm of the ship, one row per sensor item,
/// most urgent priority first and newest first within a priority until the
/// operator sorts by another column (a click on its header); a new row is
/// scrolled into view (the last one, when many come at once). Filters above
/// it, as the event log has, narrow it to a deck, compartment, priority or text. Below it the
/// operator's actions: acknowledge the selected alarms, those of the deck on
/// show or all; silence; shelve and unshelve. A row's context menu offers the
/// same for that row plus the sensor's detail; a double click shows the sensor
/// on the plan. Alarms are named by their ids in the alarm state. Outcomes the
/// operator must see (an acknowledgement that could not be written) appear in
/// a notice above the buttons.
class AlarmList : public QWidget
{
    Q_OBJECT

public:
    /// \a decks are offered in the deck filter, in this order.
    AlarmList(AlarmTable& table, const AlarmState& alarms, const QStringList& decks, QWidget* parent = nullptr);

    /// The deck (id) whose alarms "acknowledge deck" acknowledges.
    void setCurrentDeck(quint64 deck) { deck_ = deck; }
    /// Shows \a text in the notice until the next notice; empty hides it.
    void showNotice(const QString& text);
    QString notice() const;

    QTreeView* view() const { return view_; }
    FilterBar* filters() const { return filters_; }
    /// The alarm id of the list's row \a row as sorted and filtered on screen; -1 outside the rows.
    int alarmAtRow(int row) const;

signals:
    void acknowledgeRequested(const QList<int>& ids);
    void shelveRequested(const QList<int>& ids);
    void unshelveRequested(const QList<int>& ids);
    void silenceRequested();
    /// The operator double-clicked alarm \a id (to see its sensor on the plan).
    void alarmActivated(int id);
    /// The detail of alarm \a id's sensor.
    void detailRequested(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    enum Button {
        AcknowledgeSelected,
        AcknowledgeDeck,
        AcknowledgeAll,
        Silence,
        ShelveSelected,
        UnshelveSelected,
        ButtonCount
    };

    void retranslate();
    QList<int> selectedAlarms() const;
    void openMenu(const QPoint& pos);
    void scrollToNewest();

    AlarmTable& table_;
    const AlarmState& alarms_;
    FilterBar* filters_;
    AlarmFilter* sorted_;
    QTreeView* view_;
    QLabel* notice_;
    std::array<QPushButton*, ButtonCount> buttons_{};
    std::optional<quint64> deck_;
    /// The last row added since the list last scrolled to a new row.
    QPersistentModelIndex newest_;
};
