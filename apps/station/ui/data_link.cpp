#include "data_link.h"

#include "entity/sensor_item_index.h"

DataLink::DataLink(const QString& address, quint16 port, const harq::SensorItemIndex& index,
                   const QStringList& names, QObject* parent)
    : QObject(parent)
    , supervisor_(address, port)
    , feed_(supervisor_, names, [&index](const QString& name, double value) { return index.dispatch(name, value) > 0; })
{
    connect(&supervisor_, &LinkSupervisor::liveChanged, this, &DataLink::connectionChanged);
    connect(&feed_, &SensorFeed::updatesReceived, this, &DataLink::updatesReceived);
}
