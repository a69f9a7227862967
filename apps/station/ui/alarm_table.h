#pragma once

#include <QAbstractTableModel>
#include <QVector>

class AlarmFeed;

/// The listed alarms of the console's alarm state as the alarm list shows
/// them: one row per listed item, with the priority's colour, bold while an
/// alarm awaits acknowledgement, greyed while stale, shaded while shelved or
/// suppressed. Rows keep the order they were listed in; AlarmList sorts them
/// through SortRole, by whichever column the operator chose.
class AlarmTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        PriorityColumn,
        DeckColumn,
        CompartmentColumn,
        SensorColumn,
        ItemColumn,
        StateColumn,
        ValueColumn,
        TimeColumn,
        ColumnCount
    };
    enum Role {
        /// What a column sorts by. The priority column's ascending order is the
        /// list's own: priority, then newest first, shelved and suppressed last;
        /// the time sorts by the raise time, the value as a number, the rest by text.
        SortRole = Qt::UserRole + 1,
    };

    explicit AlarmTable(const AlarmFeed& feed, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Tells the views that every header and row reads anew, in the language
    /// now installed; the rows, and so the views' selection, stay as they are.
    void retranslate();

    /// The alarm id of row \a row; -1 outside the rows.
    int idAt(int row) const { return row >= 0 && row < rows_.size() ? rows_.at(row) : -1; }

private:
    QVariant display(int id, int column) const;
    QVariant sortKey(int id, int column) const;
    void refresh(int id);
    void refreshAll();

    const AlarmFeed& feed_;
    QVector<int> rows_;
};
