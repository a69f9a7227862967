#include "scenario_player.h"

#include "CIOType.h"
#include "gbk_text.h"
#include "point_store.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kMsPerSecond = 1000.0;

bool encodeName(const QJsonValue& json, QByteArray* name)
{
    if (!json.isString() || json.toString().isEmpty())
        return false;
    *name = tavimorio::toGbk(json.toString());
    return name->size() <= tavimorio::kMaxNameLen;
}

} // namespace

ScenarioPlayer::ScenarioPlayer(PointStore* store, QObject* parent)
    : QObject(parent)
    , store_(store)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ScenarioPlayer::applyDue);
}

bool ScenarioPlayer::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    if (!parse(file.readAll(), error)) {
        *error = QStringLiteral("%1: %2").arg(path, *error);
        return false;
    }
    return true;
}

bool ScenarioPlayer::parse(const QByteArray& json, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject()) {
        *error = parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                              : QStringLiteral("not a JSON object");
        return false;
    }
    const QJsonObject root = doc.object();
    QHash<QByteArray, quint8> types;
    QVector<QPair<QByteArray, PointValue>> initial;
    QVector<Event> events;

    const QJsonArray points = root.value(QLatin1String("points")).toArray();
    for (int i = 0; i < points.size(); ++i) {
        const QJsonObject point = points.at(i).toObject();
        QByteArray name;
        quint8 type = 0;
        PointValue value;
        if (!encodeName(point.value(QLatin1String("name")), &name)) {
            *error = QStringLiteral("points[%1]: name missing or longer than 255 GBK bytes").arg(i);
            return false;
        }
        if (!PointValue::typeFromName(point.value(QLatin1String("type")).toString(), &type)) {
            *error = QStringLiteral("points[%1]: type must be int, float, double or text").arg(i);
            return false;
        }
        if (!PointValue::fromJson(type, point.value(QLatin1String("value")), &value)) {
            *error = QStringLiteral("points[%1]: value does not suit its type").arg(i);
            return false;
        }
        types.insert(name, type);
        initial.append({name, value});
    }

    const QJsonArray timeline = root.value(QLatin1String("events")).toArray();
    for (int i = 0; i < timeline.size(); ++i) {
        const QJsonObject object = timeline.at(i).toObject();
        Event event;
        event.entry = i;
        event.at = object.value(QLatin1String("at")).toDouble(-1);
        const QJsonValue value = object.value(QLatin1String("value"));
        if (event.at < 0 || !std::isfinite(event.at)) {
            *error = QStringLiteral("events[%1]: \"at\" must be a number of seconds >= 0").arg(i);
            return false;
        }
        if (!encodeName(object.value(QLatin1String("name")), &event.name)) {
            *error = QStringLiteral("events[%1]: name missing or longer than 255 GBK bytes").arg(i);
            return false;
        }
        // A point the scenario does not declare takes its type from its first value.
        const quint8 type = types.value(event.name, PointValue::typeForJson(value));
        types.insert(event.name, type);
        if (!PointValue::fromJson(type, value, &event.value)) {
            *error = QStringLiteral("events[%1]: value does not suit the point's type").arg(i);
            return false;
        }
        events.append(event);
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.at < b.at; });

    const bool repeat = root.value(QLatin1String("repeat")).toBool(false);
    if (repeat && (events.isEmpty() || events.last().at <= 0)) {
        *error = QStringLiteral("\"repeat\" needs an event later than 0 s");
        return false;
    }
    initial_ = initial;
    events_ = events;
    repeat_ = repeat;
    return true;
}

bool ScenarioPlayer::checkSpeed(double speed, QString* error) const
{
    if (!(speed > 0) || !std::isfinite(speed)) {
        *error = QStringLiteral("--speed %1: must be a number above 0").arg(speed);
        return false;
    }
    for (const Event& event : events_) {
        if (!(event.at / speed <= kMaxPlayedSeconds)) {
            *error = QStringLiteral("events[%1]: \"at\" %2 s at --speed %3 falls later than %4 s after start, "
                                    "the latest time the player keeps")
                         .arg(event.entry)
                         .arg(event.at)
                         .arg(speed)
                         .arg(kMaxPlayedSeconds, 0, 'f', 0);
            return false;
        }
    }
    // A shorter round would replay the whole timeline on every turn of the event loop.
    if (repeat_ && events_.last().at * kMsPerSecond / speed < 1.0) {
        *error = QStringLiteral("events[%1]: \"at\" %2 s at --speed %3 makes a repeating round shorter than 1 ms")
                     .arg(events_.last().entry)
                     .arg(events_.last().at)
                     .arg(speed);
        return false;
    }
    return true;
}

void ScenarioPlayer::start(double speed)
{
    speed_ = speed;
    for (const auto& point : qAsConst(initial_))
        store_->set(point.first, point.second);
    clock_.start();
    roundStartMs_ = 0;
    next_ = 0;
    applyDue();
}

qint64 ScenarioPlayer::dueMs(const Event& event) const
{
    return roundStartMs_ + qint64(std::llround(std::min(event.at / speed_, kMaxPlayedSeconds) * kMsPerSecond));
}

void ScenarioPlayer::applyDue()
{
    while (next_ < events_.size() && dueMs(events_.at(next_)) <= clock_.elapsed()) {
        const Event& event = events_.at(next_++);
        store_->set(event.name, event.value);
        if (next_ == events_.size()) {
            emit roundFinished();
            if (repeat_) {
                // The next round starts where the last event of this one fell, and
                // at least a millisecond later so a very fast speed cannot spin here.
                roundStartMs_ = std::max(dueMs(event), roundStartMs_ + 1);
                next_ = 0;
            }
        }
    }
    if (next_ < events_.size())
        timer_.start(int(std::clamp<qint64>(dueMs(events_.at(next_)) - clock_.elapsed(), 0,
                                            std::numeric_limits<int>::max())));
}
