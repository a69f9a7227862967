#include "alarm_commands.h"

#include "alarm_state.h"

#include <utility>

namespace {

constexpr qint32 kAcknowledged = 1;

} // namespace

AlarmCommands::AlarmCommands(AlarmState& alarms, PointWriter write, QObject* parent)
    : QObject(parent)
    , alarms_(alarms)
    , write_(std::move(write))
{
}

void AlarmCommands::acknowledge(const QList<int>& ids)
{
    QList<int> refused;
    int sent = 0;
    for (int id : ids) {
        const AlarmState::Alarm* alarm = alarms_.alarm(id);
        if (!alarm || !AlarmState::isAwaiting(alarm->state))
            continue;
        const QString point = alarm->item.confirmTag;
        if (point.isEmpty() || write_(point, kAcknowledged)) {
            ++sent;
            emit acknowledged(id);
            alarms_.acknowledgedByOperator(id);
        } else {
            refused.append(id);
            emit acknowledgeRefused(id);
        }
    }
    emit acknowledgeFinished(refused, sent);
}

void AlarmCommands::silence()
{
    emit silenced();
}

void AlarmCommands::shelve(const QList<int>& ids, const QString& reason, int minutes)
{
    for (int id : ids) {
        if (alarms_.shelve(id, reason, minutes))
            emit shelved(id, reason, minutes);
    }
}

void AlarmCommands::unshelve(const QList<int>& ids)
{
    for (int id : ids) {
        if (alarms_.unshelve(id))
            emit unshelved(id);
    }
}
