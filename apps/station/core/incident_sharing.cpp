#include "incident_sharing.h"

#include "tavimor_record.h"

#include <QDateTime>
#include <QTextCodec>
#include <QTimer>

#include <cstring>

namespace {

constexpr int kTextCode = 64;
constexpr int kOnChangeOnly = 0;
constexpr int kQueue = 0;
constexpr int kCommit = 1;
const QChar kSeparator = QLatin1Char('|');

QTextCodec* gbk()
{
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    return codec;
}

QByteArray encode(const QString& text)
{
    return gbk() ? gbk()->fromUnicode(text) : text.toUtf8();
}

QString textOf(const stDt& record)
{
    const auto* bytes = reinterpret_cast<const char*>(record.unDt.sz);
    const auto* end = static_cast<const char*>(std::memchr(bytes, '\0', sizeof record.unDt.sz));
    const int length = end ? int(end - bytes) : int(sizeof record.unDt.sz);
    return gbk() ? gbk()->toUnicode(bytes, length) : QString::fromUtf8(bytes, length);
}

} // namespace

const QString IncidentSharing::kPrefix = QStringLiteral("KLV.INC.");

QString IncidentSharing::Value::format() const
{
    return QString::number(msecs) + kSeparator + console + kSeparator + payload;
}

bool IncidentSharing::Value::parse(const QString& text, Value* value)
{
    const int first = text.indexOf(kSeparator);
    const int second = first < 0 ? -1 : text.indexOf(kSeparator, first + 1);
    if (second < 0)
        return false;
    bool ok = false;
    value->msecs = text.leftRef(first).toLongLong(&ok);
    value->console = text.mid(first + 1, second - first - 1);
    value->payload = text.mid(second + 1);
    return ok;
}

QString IncidentSharing::damagePoint(quint64 compartmentId)
{
    return kPrefix + QStringLiteral("DMG.%1").arg(compartmentId);
}

QString IncidentSharing::teamPoint(int teamType, int unit)
{
    return kPrefix + QStringLiteral("TEAM.%1.%2").arg(teamType).arg(unit);
}

QString IncidentSharing::boundaryPoint(quint64 boundaryId)
{
    return kPrefix + QStringLiteral("BND.%1").arg(boundaryId);
}

QString IncidentSharing::shelvePoint(const QString& tag)
{
    return kPrefix + QStringLiteral("SHELVE.") + tag;
}

IncidentSharing::IncidentSharing(const QString& address, quint16 port, const QString& console, QStringList points,
                                 QObject* parent)
    : QObject(parent)
    , address_(address)
    , port_(port)
    , console_(console.left(kMaxConsoleName).replace(kSeparator, QLatin1Char('_')))
    , points_(std::move(points))
    , retry_timer_(new QTimer(this))
{
    retry_timer_->setSingleShot(true);
    retry_timer_->setInterval(kRetryMs);
    connect(retry_timer_, &QTimer::timeout, this, &IncidentSharing::open);
    connect(&client_, &Tavimor::stateChanged, this, &IncidentSharing::onClientState);
    client_.setRecordHandler(this, [this](stDt* records, int count) { deliver(records, count); });
}

void IncidentSharing::open()
{
    if (!client_.connectToServer(address_, port_))
        qWarning("incident sharing: %s is not a numeric address", qPrintable(address_));
}

void IncidentSharing::onClientState(Tavimor::State state)
{
    if (state == Tavimor::State::Connected) {
        book();
        return;
    }
    if (state != Tavimor::State::Unconnected)
        return;
    connected_ = false;
    retry_timer_->start();
}

void IncidentSharing::book()
{
    client_.CancelDt(QString());
    // Offline actions first: booking then brings them back to everyone.
    for (auto it = unsent_.cbegin(); it != unsent_.cend(); ++it)
        write(it.key(), it.value());
    unsent_.clear();
    bool booked = true;
    for (int i = 0; i < points_.size(); ++i) {
        const int mode = i + 1 == points_.size() ? kCommit : kQueue;
        booked = client_.BookDt(points_.at(i), kOnChangeOnly, mode, nullptr) >= 0 && booked;
    }
    connected_ = booked;
}

IncidentSharing::Value IncidentSharing::publish(const QString& point, const QString& payload)
{
    Value value{QDateTime::currentMSecsSinceEpoch(), console_, payload};
    QString text = value.format();
    // Only free text (a shelving reason) can be this long; its end goes.
    while (encode(text).size() > int(sizeof stDt::unDt.sz)) {
        value.payload.chop(1);
        text = value.format();
    }
    if (!connected_ || !write(point, text))
        unsent_.insert(point, text);
    return value;
}

bool IncidentSharing::write(const QString& point, const QString& text)
{
    stDt record{};
    record.nTp = kTextCode;
    const QByteArray bytes = encode(text);
    std::memcpy(record.unDt.sz, bytes.constData(), std::size_t(bytes.size()));
    return client_.WriteDt(point, record) > 0;
}

void IncidentSharing::deliver(const stDt* records, int count)
{
    for (int i = 0; i < count; ++i) {
        Value value;
        if ((records[i].nTp & 0xFF) == kTextCode && Value::parse(textOf(records[i]), &value))
            emit received(tavimor::recordName(records[i]), value);
    }
}
