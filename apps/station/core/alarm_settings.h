#pragma once

#include "alarm_priority.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

/// The station's alarm handling as the configuration file alarm.lua sets it:
/// the priority and the shown name of every sensor item, how long a silenced
/// alarm stays quiet and how long an alarm may be shelved.
///
/// An item's priority comes from the first `item` rule whose `tag` equals the
/// item's tag, else from the `item` rule with the longest `suffix` the tag ends
/// with, else from the `view_group` rule of the sensor's view group name, else
/// `default_priority`. The name comes from the same item rule, else it is the
/// sensor's name. The unit of a measured value comes from the same item rule,
/// else from the view group rule; none is invented when neither gives one.
/// Without a file everything is "alarm", named after its sensor and without unit.
class AlarmSettings
{
    Q_DECLARE_TR_FUNCTIONS(AlarmSettings)

public:
    static constexpr int kDefaultResoundSeconds = 120;
    static constexpr int kDefaultShelveLimitMinutes = 480;

    /// Reads the global `alarm` of the Lua file \a path. False with \a error set
    /// when the file cannot be loaded or a priority word is unknown; the settings
    /// stay as they were then.
    bool load(const QString& path, QString* error);

    /// The priority of the item \a tag of a sensor in the view group named \a viewGroup (empty for none).
    AlarmPriority priorityOf(const QString& tag, const QString& viewGroup) const;
    /// The item's own name, so two items of one detector read apart; else \a sensorName.
    QString nameOf(const QString& tag, const QString& sensorName) const;
    /// The unit of the shown value of item \a tag ("°C", "mm"); empty when none is configured.
    QString unitOf(const QString& tag, const QString& viewGroup) const;

    /// Seconds after a silence before unacknowledged alarms sound again.
    int resoundSeconds() const { return resound_seconds_; }
    /// The longest an operator may shelve an alarm, in minutes.
    int shelveLimitMinutes() const { return shelve_limit_minutes_; }

private:
    struct ItemRule {
        QString tag;
        QString suffix;
        QString name;
        QString unit;
        AlarmPriority priority = AlarmPriority::Alarm;
        bool hasPriority = false;
    };
    struct GroupRule {
        QString group;
        QString unit;
        AlarmPriority priority = AlarmPriority::Alarm;
        bool hasPriority = false;
    };

    const ItemRule* ruleFor(const QString& tag) const;
    const GroupRule* groupRuleFor(const QString& viewGroup) const;

    QList<ItemRule> items_;
    QList<GroupRule> groups_;
    AlarmPriority default_priority_ = AlarmPriority::Alarm;
    int resound_seconds_ = kDefaultResoundSeconds;
    int shelve_limit_minutes_ = kDefaultShelveLimitMinutes;
};
