#include "alarm_list.h"

#include "ship.h"

#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const char kTimeFormat[] = "hh:mm:ss";

} // namespace

AlarmList::AlarmList(const Ship& ship, QWidget* parent)
    : QWidget(parent)
    , ship_(ship)
    , tree_(new QTreeWidget(this))
    , ack_selected_(new QPushButton(tr("确认所选报警"), this))
    , ack_all_(new QPushButton(tr("全部确认"), this))
{
    tree_->setColumnCount(ColumnCount);
    tree_->setHeaderLabels({tr("甲板"), tr("舱室"), tr("传感器"), tr("状态"), tr("时间"), tr("确认")});
    tree_->setRootIsDecorated(false);
    tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ack_selected_);
    buttons->addWidget(ack_all_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
    layout->addLayout(buttons);
    connect(ack_selected_, &QPushButton::clicked, this, &AlarmList::acknowledgeSelected);
    connect(ack_all_, &QPushButton::clicked, this, &AlarmList::acknowledgeAll);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) {
        if (harq::Sensor* sensor = sensors_.value(row))
            emit sensorActivated(sensor);
    });

    for (harq::Deck* deck : ship.decks()) {
        for (harq::Sensor* sensor : deck->sensors()) {
            connect(sensor, QOverload<harq::Sensor*, harq::SensorItem*>::of(&harq::Sensor::sensorStateChanged), this,
                    &AlarmList::onStateChanged);
            // Value and acknowledgement changes of an item already listed.
            connect(sensor, &harq::Sensor::itemValueChanged, this, [this, sensor](int ix) {
                harq::SensorItem* item = sensor->itemAt(ix);
                if (QTreeWidgetItem* row = rows_.value(item))
                    refresh(row, item);
            });
        }
    }
}

void AlarmList::onStateChanged(harq::Sensor* sensor, harq::SensorItem* item)
{
    QTreeWidgetItem* row = rows_.value(item);
    if (item->isNormal()) {
        if (row) {
            rows_.remove(item);
            sensors_.remove(row);
            delete row;
            emit alarmCleared(sensor, item);
        }
        return;
    }
    if (row)
        return;
    row = new QTreeWidgetItem(tree_);
    const harq::Region* compartment = ship_.compartmentOf(sensor);
    row->setText(DeckColumn, sensor->deck() ? sensor->deck()->name() : QString());
    row->setText(CompartmentColumn, compartment ? compartment->nameAndCode() : QString());
    row->setText(SensorColumn, sensor->nameAndCode());
    row->setText(TimeColumn, QDateTime::currentDateTime().toString(QLatin1String(kTimeFormat)));
    rows_.insert(item, row);
    sensors_.insert(row, sensor);
    refresh(row, item);
    emit alarmRaised(sensor, item);
}

void AlarmList::refresh(QTreeWidgetItem* row, harq::SensorItem* item) const
{
    // A state item's own text is its icon's name, which means nothing to the operator.
    const QString state = item->isValueItem() ? tr("%1 (%2)").arg(item->toolTip(), item->valueStr()) : tr("报警");
    row->setText(StateColumn, state);
    row->setText(AckColumn, item->needConfirm() ? tr("未确认") : tr("已确认"));
    row->setForeground(AckColumn, item->needConfirm() ? QBrush(Qt::red) : QBrush());
}

void AlarmList::acknowledgeSelected()
{
    for (auto it = rows_.cbegin(); it != rows_.cend(); ++it) {
        if (it.value()->isSelected() && it.key()->needConfirm())
            emit acknowledgeRequested(it.key());
    }
}

void AlarmList::acknowledgeAll()
{
    const QList<harq::SensorItem*> items = rows_.keys();
    for (harq::SensorItem* item : items) {
        if (item->needConfirm())
            emit acknowledgeRequested(item);
    }
}
