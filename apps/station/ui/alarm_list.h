#pragma once

#include <QList>
#include <QPersistentModelIndex>
#include <QWidget>

class AlarmModel;
class QLabel;
class QSortFilterProxyModel;
class QTreeView;

namespace harq {
class Deck;
class Sensor;
class SensorItem;
}

/// The alarm list: every listed alarm of the ship, one row per sensor item,
/// most urgent priority first and newest first within a priority; a new row is
/// scrolled into view (the last one, when many come at once). Below it the
/// operator's actions: acknowledge the selected alarms, those of the deck on
/// show or all; silence; shelve and unshelve. A row's context menu offers the
/// same for that row plus the sensor's detail; a double click shows the sensor
/// on the plan. Outcomes the operator must see (an acknowledgement that could
/// not be written) appear in a notice above the buttons.
class AlarmList : public QWidget
{
    Q_OBJECT

public:
    AlarmList(AlarmModel& model, QWidget* parent = nullptr);

    /// The deck whose alarms "acknowledge deck" acknowledges.
    void setCurrentDeck(const harq::Deck* deck) { deck_ = deck; }
    /// Shows \a text in the notice until the next notice; empty hides it.
    void showNotice(const QString& text);
    QString notice() const;

    QTreeView* view() const { return view_; }
    /// The item of the list's row \a row as sorted on screen; null outside the rows.
    harq::SensorItem* itemAtRow(int row) const;

signals:
    void acknowledgeRequested(const QList<harq::SensorItem*>& items);
    void shelveRequested(const QList<harq::SensorItem*>& items);
    void unshelveRequested(const QList<harq::SensorItem*>& items);
    void silenceRequested();
    /// The operator double-clicked the alarm of \a sensor.
    void sensorActivated(harq::Sensor* sensor);
    void detailRequested(harq::Sensor* sensor);

private:
    QList<harq::SensorItem*> selectedItems() const;
    void openMenu(const QPoint& pos);
    void scrollToNewest();

    AlarmModel& model_;
    QSortFilterProxyModel* sorted_;
    QTreeView* view_;
    QLabel* notice_;
    const harq::Deck* deck_ = nullptr;
    /// The last row added since the list last scrolled to a new row.
    QPersistentModelIndex newest_;
};
