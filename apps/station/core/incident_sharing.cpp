#include "incident_sharing.h"

#include "link_supervisor.h"
#include "tavimor_record.h"
#include "value_signer.h"
#include "value_verifier.h"

#include "Tavimor.h"
#include "gbk_text.h"
#include "value_types.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace {

// How often writes on their way are checked against the deadline.
constexpr int kJudgeMs = 1000;
const QChar kSeparator = QLatin1Char('|');

/// The record's text as it came, up to its first NUL.
QByteArray rawText(const stDt& record)
{
    const auto* bytes = reinterpret_cast<const char*>(record.unDt.sz);
    const auto* end = static_cast<const char*>(std::memchr(bytes, '\0', sizeof record.unDt.sz));
    return QByteArray::fromRawData(bytes, end ? int(end - bytes) : int(sizeof record.unDt.sz));
}

QString textOf(const stDt& record)
{
    const QByteArray bytes = rawText(record);
    return tavimorio::fromGbk(bytes.constData(), bytes.size());
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
    value->msecs = QStringView(text).left(first).toLongLong(&ok);
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

QString IncidentSharing::acknowledgementPoint(const QString& tag)
{
    return kPrefix + QStringLiteral("ACK.") + tag;
}

IncidentSharing::IncidentSharing(LinkSupervisor& link, const QString& console, QStringList points, QObject* parent)
    : QObject(parent)
    , link_(link)
    , console_(console.left(kMaxConsoleName).replace(kSeparator, QLatin1Char('_')))
    , retry_timer_(new QTimer(this))
    , judge_timer_(new QTimer(this))
{
    clock_.start();
    retry_timer_->setSingleShot(true);
    connect(retry_timer_, &QTimer::timeout, this, [this] { sendAll(true); });
    judge_timer_->setInterval(kJudgeMs);
    connect(judge_timer_, &QTimer::timeout, this, &IncidentSharing::judge);
    connect(&link_, &LinkSupervisor::recordsReceived, this, &IncidentSharing::deliver, Qt::DirectConnection);
    // Sent after the bookings, so whatever the server takes comes back on this connection.
    connect(&link_, &LinkSupervisor::connected, this, [this] {
        sendAll(false);
        emit linked();
    });
    link_.book(points);
}

void IncidentSharing::secure(const ValueSigner* signer, ValueVerifier* verifier)
{
    signer_ = signer;
    verifier_ = verifier;
    if (signer_)
        console_ = signer_->console();
}

IncidentSharing::Value IncidentSharing::publish(const QString& point, const QString& payload)
{
    Value value{QDateTime::currentMSecsSinceEpoch(), console_, payload};
    const auto encoded = [&] {
        if (!signer_)
            return tavimorio::toGbk(value.format());
        const QString signedText = signer_->sign(point, value.msecs, value.payload);
        // Too long to sign: longer than the client carries.
        return signedText.isEmpty() ? QByteArray(sizeof stDt::unDt.sz + 1, ' ') : tavimorio::toGbk(signedText);
    };
    QByteArray text = encoded();
    // Only free text (a shelving reason) can be this long; its end goes.
    while (text.size() > int(sizeof stDt::unDt.sz) && !value.payload.isEmpty()) {
        value.payload.chop(1);
        text = encoded();
    }
    // Only a console name ConsoleKeys refuses leaves no room; never written past the record.
    text.truncate(int(sizeof stDt::unDt.sz));
    write(point, text);
    return value;
}

void IncidentSharing::republish(const QString& point, const Value& value)
{
    if (!signer_) {
        write(point, tavimorio::toGbk(value.format()));
        return;
    }
    // Signed, only this console's own values can be put back: another's would fail the check.
    if (value.console != console_)
        return;
    const QString signedText = signer_->sign(point, value.msecs, value.payload);
    if (!signedText.isEmpty())
        write(point, tavimorio::toGbk(signedText));
}

void IncidentSharing::write(const QString& point, const QByteArray& text)
{
    Pending& pending = pending_[point];
    pending = Pending{text};
    send(point, pending);
    report();
}

int IncidentSharing::unpublished() const
{
    return pending_.size();
}

int IncidentSharing::refused() const
{
    return int(std::count_if(pending_.cbegin(), pending_.cend(), [](const Pending& p) { return p.refused; }));
}

void IncidentSharing::sendAll(bool refusedOnly)
{
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
        if (!refusedOnly || (it->refused && it->sentAt < 0))
            send(it.key(), *it);
    }
}

void IncidentSharing::send(const QString& point, Pending& pending)
{
    stDt record{};
    record.nTp = tavimorio::TypeText;
    std::memcpy(record.unDt.sz, pending.text.constData(), std::size_t(pending.text.size()));
    // Not sent, it goes out with the next connection.
    if (!link_.write(point, record))
        return;
    pending.sentAt = clock_.elapsed();
    if (!judge_timer_->isActive())
        judge_timer_->start();
}

void IncidentSharing::judge()
{
    // A link that has not answered is the link's failure, not a refusal.
    if (!link_.isLive())
        return;
    bool due = false;
    bool waiting = false;
    for (Pending& pending : pending_) {
        if (pending.sentAt < 0)
            continue;
        if (clock_.elapsed() - pending.sentAt < LinkSupervisor::kDeadlineMs) {
            waiting = true;
            continue;
        }
        pending.refused = true;
        pending.sentAt = -1;
        due = true;
    }
    if (!waiting)
        judge_timer_->stop();
    if (due) {
        retry_timer_->start(retry_.next());
        report();
    }
}

void IncidentSharing::report()
{
    const int refusedNow = refused();
    emit publicationChanged(unpublished(), refusedNow, refusedNow > 0 ? retry_timer_->remainingTime() : -1);
}

void IncidentSharing::deliver(const stDt* records, int count)
{
    for (int i = 0; i < count; ++i) {
        if ((records[i].nTp & 0xFF) != tavimorio::TypeText)
            continue;
        const QString point = tavimor::recordName(records[i]);
        const auto pending = pending_.find(point);
        if (pending != pending_.end() && pending->text == rawText(records[i])) {
            pending_.erase(pending);
            if (refused() == 0) {
                retry_.reset();
                retry_timer_->stop();
            }
            report();
        }
        Value value;
        const QString text = textOf(records[i]);
        if (verifier_) {
            const ValueVerifier::Outcome outcome = verifier_->check(point, text, &value);
            if (outcome != ValueVerifier::Outcome::Accepted && outcome != ValueVerifier::Outcome::Known)
                continue;
            emit received(point, value);
        } else if (Value::parse(text, &value)) {
            emit received(point, value);
        }
    }
}
