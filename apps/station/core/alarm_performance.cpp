#include "alarm_performance.h"

#include "incident_store.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>

#include <algorithm>
#include <tuple>

namespace {

using Kind = IncidentEvent::Kind;

constexpr double kMsPerHour = 3600.0 * 1000.0;
const char kTimeFormat[] = "yyyy-MM-dd hh:mm:ss";

// The most of the sorted \a times that fall within one span: (t - span, t] for some t.
int mostWithin(const QVector<qint64>& times, qint64 span)
{
    int most = 0;
    for (int first = 0, last = 0; last < times.size(); ++last) {
        while (times.at(first) <= times.at(last) - span)
            ++first;
        most = std::max(most, last - first + 1);
    }
    return most;
}

QString hoursText(qint64 ms)
{
    return QString::number(double(ms) / kMsPerHour, 'f', 1);
}

QString row(const QStringList& cells, const char* tag = "td")
{
    QString out = QStringLiteral("<tr>");
    for (const QString& cell : cells)
        out += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), cell.toHtmlEscaped());
    return out + QStringLiteral("</tr>");
}

QString table(const QStringList& header, const QList<QStringList>& rows)
{
    QString out = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">")
        + row(header, "th");
    for (const QStringList& cells : rows)
        out += row(cells);
    return out + QStringLiteral("</table>");
}

} // namespace

AlarmPerformance::AlarmPerformance(IncidentStore& store, qint64 from, qint64 to)
    // An alarm standing at the start of the range was raised before it, so
    // the whole history up to its end is read.
    : AlarmPerformance(store.between(0, to), from, to)
{
}

AlarmPerformance::AlarmPerformance(const QVector<IncidentEvent>& events, qint64 from, qint64 to)
    : from_(from)
    , to_(to)
{
    struct Item {
        QString place;
        QVector<qint64> raises;
        // When its standing alarm was raised; -1 while it is clear.
        qint64 raisedAt = -1;
    };
    QHash<QString, Item> items;
    QStringList order;
    QVector<qint64> raises;
    const auto stood = [this](const QString& tag, const Item& item, qint64 until) {
        if (until >= from_ && until - item.raisedAt > kStandingMs)
            standing_.append({tag, item.place, item.raisedAt, until - item.raisedAt});
    };
    for (const IncidentEvent& event : events) {
        if ((event.kind != Kind::AlarmRaised && event.kind != Kind::AlarmCleared) || event.msecs > to)
            continue;
        if (!items.contains(event.subject))
            order.append(event.subject);
        Item& item = items[event.subject];
        if (event.kind == Kind::AlarmCleared) {
            if (item.raisedAt >= 0)
                stood(event.subject, item, event.msecs);
            item.raisedAt = -1;
            continue;
        }
        // A raise without a clearing before it (a restarted station) does not restart the alarm.
        if (item.raisedAt < 0)
            item.raisedAt = event.msecs;
        item.place = event.place;
        if (event.msecs >= from) {
            item.raises.append(event.msecs);
            raises.append(event.msecs);
        }
    }
    for (const QString& tag : qAsConst(order)) {
        const Item& item = items.value(tag);
        if (item.raisedAt >= 0)
            stood(tag, item, to);
        if (item.raises.isEmpty())
            continue;
        const int perMinute = mostWithin(item.raises, kChatterMs);
        most_frequent_.append({tag, item.place, int(item.raises.size()), 0});
        if (perMinute >= kChatterRaises)
            chattering_.append({tag, item.place, int(item.raises.size()), perMinute});
    }
    const auto byCount = [](const Frequent& a, const Frequent& b) {
        return std::tie(b.mostPerMinute, b.raised, a.tag) < std::tie(a.mostPerMinute, a.raised, b.tag);
    };
    std::sort(most_frequent_.begin(), most_frequent_.end(), byCount);
    if (most_frequent_.size() > kMostFrequentShown)
        most_frequent_.resize(kMostFrequentShown);
    std::sort(chattering_.begin(), chattering_.end(), byCount);
    std::sort(standing_.begin(), standing_.end(),
              [](const Standing& a, const Standing& b) { return a.raisedMsecs < b.raisedMsecs; });
    countRates(raises);
}

void AlarmPerformance::countRates(const QVector<qint64>& raises)
{
    alarms_ = raises.size();
    peak_ = mostWithin(raises, kWindowMs);
    // The time t is in flood while (t - window, t] holds more than kFloodAlarms
    // raises: from the raise that makes one too many until the next raise or
    // until the oldest of those leaves the window, whichever comes first.
    const qint64 end = to_ + 1;
    for (int last = kFloodAlarms; last < raises.size(); ++last) {
        const qint64 next = last + 1 < raises.size() ? raises.at(last + 1) : end;
        const qint64 until = std::min(next, raises.at(last - kFloodAlarms) + kWindowMs);
        flood_ms_ += std::max<qint64>(0, std::min(until, end) - raises.at(last));
    }
}

double AlarmPerformance::averagePer10Min() const
{
    // A range shorter than a window counts as one window.
    return double(alarms_) * double(kWindowMs) / double(std::max(to_ - from_ + 1, kWindowMs));
}

double AlarmPerformance::floodShare() const
{
    return double(flood_ms_) / double(to_ - from_ + 1);
}

QJsonObject AlarmPerformance::toJson() const
{
    const auto items = [](const QVector<Frequent>& list, bool chattering) {
        QJsonArray out;
        for (const Frequent& item : list) {
            QJsonObject entry{{QStringLiteral("tag"), item.tag},
                              {QStringLiteral("place"), item.place},
                              {QStringLiteral("count"), item.raised}};
            if (chattering)
                entry.insert(QStringLiteral("most_per_minute"), item.mostPerMinute);
            out.append(entry);
        }
        return out;
    };
    QJsonArray standing;
    for (const Standing& item : standing_) {
        standing.append(QJsonObject{
            {QStringLiteral("tag"), item.tag},
            {QStringLiteral("place"), item.place},
            {QStringLiteral("raised_at"),
             QDateTime::fromMSecsSinceEpoch(item.raisedMsecs, Qt::UTC).toString(Qt::ISODateWithMs)},
            {QStringLiteral("hours"), double(item.standingMs) / kMsPerHour}});
    }
    return QJsonObject{{QStringLiteral("alarms"), alarms_},
                       {QStringLiteral("alarms_per_10min_average"), averagePer10Min()},
                       {QStringLiteral("alarms_per_10min_peak"), peak_},
                       {QStringLiteral("flood_share"), floodShare()},
                       {QStringLiteral("most_frequent"), items(most_frequent_, false)},
                       {QStringLiteral("chattering"), items(chattering_, true)},
                       {QStringLiteral("standing"), standing}};
}

QString AlarmPerformance::toHtml() const
{
    const auto items = [](const QVector<Frequent>& list, bool chattering) {
        QList<QStringList> rows;
        for (const Frequent& item : list) {
            rows.append({item.tag, item.place, QString::number(item.raised)});
            if (chattering)
                rows.last().append(QString::number(item.mostPerMinute));
        }
        return rows;
    };
    QList<QStringList> standing;
    for (const Standing& item : standing_) {
        standing.append({item.tag, item.place,
                         QDateTime::fromMSecsSinceEpoch(item.raisedMsecs).toString(QLatin1String(kTimeFormat)),
                         hoursText(item.standingMs)});
    }
    const QStringList itemHeader{tr("测点"), tr("位置"), tr("报警次数")};
    return QStringLiteral("<h3>%1</h3>").arg(tr("报警系统性能").toHtmlEscaped())
        + table({tr("指标"), tr("数值")},
                {{tr("报警总数"), QString::number(alarms_)},
                 {tr("每 10 分钟平均报警数"), QString::number(averagePer10Min(), 'f', 2)},
                 {tr("10 分钟内最多报警数"), QString::number(peak_)},
                 {tr("报警泛滥时间占比"), QStringLiteral("%1 %").arg(floodShare() * 100.0, 0, 'f', 1)}})
        + QStringLiteral("<h4>%1</h4>").arg(tr("最频繁的报警").toHtmlEscaped()) + table(itemHeader, items(most_frequent_, false))
        + QStringLiteral("<h4>%1</h4>").arg(tr("抖动报警(1 分钟内 3 次以上)").toHtmlEscaped())
        + table(itemHeader + QStringList{tr("1 分钟内最多")}, items(chattering_, true))
        + QStringLiteral("<h4>%1</h4>").arg(tr("长期报警(超过 24 小时)").toHtmlEscaped())
        + table({tr("测点"), tr("位置"), tr("报警时间"), tr("持续小时")}, standing);
}
