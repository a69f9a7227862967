// The alarm-system figures of a seeded history, read back from a real SQLite file.

#include "alarm_performance.h"
#include "incident_store.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace {

using Kind = IncidentEvent::Kind;
constexpr qint64 kSecond = 1000;
constexpr qint64 kHour = 3600 * kSecond;
constexpr qint64 kDay = 24 * kHour;

QString items(const QVector<AlarmPerformance::Frequent>& list, int shown)
{
    QStringList out;
    for (const AlarmPerformance::Frequent& item : list.mid(0, shown))
        out.append(QStringLiteral("%1:%2/%3").arg(item.tag).arg(item.raised).arg(item.mostPerMinute));
    return out.join(QLatin1Char(' '));
}

} // namespace

TEST(AlarmPerformance, FiguresOfASeededHistory)
{
    QTemporaryDir dir;
    IncidentStore store;
    QString error;
    ASSERT_TRUE(store.open(dir.filePath(QStringLiteral("history.sqlite")), &error)) << error.toStdString();
    // Recent enough to survive the store's retention.
    const qint64 base = QDateTime::currentMSecsSinceEpoch() - 5 * kDay;
    const auto raise = [&](const QString& tag, qint64 at, bool clear = true) {
        store.record({base + at, Kind::AlarmRaised, tag, tag + QStringLiteral("@deck"), QString(), QString()});
        if (clear)
            store.record({base + at + kSecond, Kind::AlarmCleared, tag, QString(), QString(), QString()});
    };
    // Eleven alarms 30 s apart: a flood from the eleventh until the first is ten minutes old.
    for (int i = 0; i <= 10; ++i)
        raise(QStringLiteral("F%1").arg(i), i * 30 * kSecond);
    // C raised three times within 40 s, N three times within 80 s.
    for (const qint64 at : {0, 20, 40, 300})
        raise(QStringLiteral("C"), 2 * kHour + at * kSecond);
    for (const qint64 at : {0, 40, 80})
        raise(QStringLiteral("N"), 2 * kHour + at * kSecond);
    // S stands from two days before, R stood two days but cleared before the range.
    raise(QStringLiteral("S"), -2 * kDay, false);
    store.record({base + 4 * kHour, Kind::AlarmCleared, QStringLiteral("S"), QString(), QString(), QString()});
    raise(QStringLiteral("R"), -3 * kDay, false);
    store.record({base - kDay, Kind::AlarmCleared, QStringLiteral("R"), QString(), QString(), QString()});
    ASSERT_TRUE(store.flush());

    using Figure = std::function<QString(const AlarmPerformance&)>;
    const struct {
        const char* name;
        qint64 from;
        qint64 to;
        Figure figure;
        QString expected;
    } rows[] = {
        {"flood share", 0, kHour - 1,
         [](const AlarmPerformance& p) { return QString::number(p.floodShare(), 'f', 5); },
         QString::number(300.0 / 3600.0, 'f', 5)},
        {"ten alarms are no flood", 30 * kSecond, kHour - 1,
         [](const AlarmPerformance& p) { return QStringLiteral("%1 %2").arg(p.floodShare()).arg(p.peakPer10Min()); },
         QStringLiteral("0 10")},
        {"peak and average", 0, kHour - 1,
         [](const AlarmPerformance& p) {
             return QStringLiteral("%1 %2 %3").arg(p.alarms()).arg(p.peakPer10Min()).arg(p.averagePer10Min(), 0, 'f', 3);
         },
         QStringLiteral("11 11 1.833")},
        {"chattering", 2 * kHour, 3 * kHour, [](const AlarmPerformance& p) { return items(p.chattering(), 5); },
         QStringLiteral("C:4/3")},
        {"most frequent", 0, 3 * kHour, [](const AlarmPerformance& p) { return items(p.mostFrequent(), 3); },
         QStringLiteral("C:4/0 N:3/0 F0:1/0")},
        {"standing", 2 * kHour, 3 * kHour,
         [](const AlarmPerformance& p) {
             QStringList out;
             for (const AlarmPerformance::Standing& s : p.standing())
                 out.append(QStringLiteral("%1:%2:%3").arg(s.tag, s.place).arg(double(s.standingMs) / kHour));
             return out.join(QLatin1Char(' '));
         },
         QStringLiteral("S:S@deck:51")},
        {"--kpi-out keys", 0, 3 * kHour,
         [](const AlarmPerformance& p) {
             const QJsonObject json = p.toJson();
             return json.keys().join(QLatin1Char(' ')) + QStringLiteral(" = %1").arg(json.value("alarms").toInt());
         },
         QStringLiteral("alarms alarms_per_10min_average alarms_per_10min_peak chattering flood_share most_frequent "
                        "standing = 18")},
    };
    for (const auto& row : rows) {
        const AlarmPerformance performance(store, base + row.from, base + row.to);
        EXPECT_EQ(row.figure(performance), row.expected) << row.name;
    }
}
