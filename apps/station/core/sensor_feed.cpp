#include "sensor_feed.h"

#include "link_supervisor.h"
#include "tavimor_record.h"

#include "Tavimor.h"

#include <QTimer>

SensorFeed::SensorFeed(LinkSupervisor& link, const QStringList& names, ValueHandler handler, QObject* parent)
    : QObject(parent)
    , link_(link)
    , handler_(std::move(handler))
{
    connect(&link_, &LinkSupervisor::recordsReceived, this, &SensorFeed::deliver, Qt::DirectConnection);
    link_.book(names);
}

bool SensorFeed::writeInt(const QString& name, qint32 value)
{
    return link_.write(name, tavimor::intRecord(value));
}

void SensorFeed::deliver(const stDt* records, int count)
{
    const int before = batch_count_;
    for (int i = 0; i < count; ++i) {
        // Text is the shared incident state's, which no sensor item follows.
        double value = 0.0;
        if (!tavimor::recordNumber(records[i], &value))
            continue;
        ++batch_count_;
        if (handler_(tavimor::recordName(records[i]), value))
            ++batch_routed_;
    }
    if (before == 0 && batch_count_ > 0)
        QTimer::singleShot(0, this, &SensorFeed::reportBatch);
}

void SensorFeed::reportBatch()
{
    const int count = batch_count_;
    const int routed = batch_routed_;
    batch_count_ = 0;
    batch_routed_ = 0;
    emit updatesReceived(count, routed);
}
