#include "data_link.h"

#include <utility>

DataLink::DataLink(const QString& address, quint16 port, Route route, const QStringList& names, QObject* parent)
    : QObject(parent)
    , supervisor_(address, port)
    , feed_(supervisor_, names, [route = std::move(route)](const QString& name, double value) { return route(name, value) > 0; })
{
    connect(&supervisor_, &LinkSupervisor::liveChanged, this, &DataLink::connectionChanged);
    connect(&feed_, &SensorFeed::updatesReceived, this, &DataLink::updatesReceived);
}
