#include "value_verifier.h"

#include "audit_trail.h"
#include "value_signer.h"

#include <QMetaEnum>

#include <sodium.h>

namespace {

bool verifies(const QByteArray& signature, const QByteArray& message, const QByteArray& publicKey)
{
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(signature.constData()),
                                       reinterpret_cast<const unsigned char*>(message.constData()),
                                       quint64(message.size()),
                                       reinterpret_cast<const unsigned char*>(publicKey.constData()))
        == 0;
}

} // namespace

ValueVerifier::ValueVerifier(ConsoleKeys keys, AuditTrail* audit, const ConsoleClock& clock, QObject* parent)
    : QObject(parent)
    , keys_(std::move(keys))
    , audit_(audit)
    , clock_(clock)
{
    if (sodium_init() < 0)
        qFatal("libsodium cannot be initialised");
    qRegisterMetaType<ValueVerifier::Refusal>();
}

ValueVerifier::Outcome ValueVerifier::check(const QString& point, const QString& text, IncidentSharing::Value* value)
{
    const Outcome outcome = verify(point, text, value);
    if (outcome == Outcome::Accepted)
        newest_.insert(point, {value->msecs, text});
    else if (outcome != Outcome::Known)
        report(outcome, point, text, value->console);
    return outcome;
}

ValueVerifier::Outcome ValueVerifier::verify(const QString& point, const QString& text,
                                             IncidentSharing::Value* value) const
{
    QByteArray signature;
    *value = {};
    if (!ValueSigner::split(text, value, &signature))
        return Outcome::Unsigned;
    const auto newest = newest_.constFind(point);
    if (newest != newest_.cend() && newest->text == text)
        return Outcome::Known;
    const QByteArray key = keys_.publicKey(value->console);
    if (key.isEmpty())
        return Outcome::UnknownConsole;
    const QByteArray message = ValueSigner::message(point, *value);
    if (!verifies(signature, message, key)) {
        // Signed by a console of the ship in another one's name, or not signed at all.
        for (const QString& other : keys_.consoles()) {
            if (verifies(signature, message, keys_.publicKey(other)))
                return Outcome::ForgedConsole;
        }
        return Outcome::BadSignature;
    }
    // What the history recorded as applied (remember()) keeps the unsigned form.
    if (newest != newest_.cend() && newest->text == value->format())
        return Outcome::Known;
    const qint64 now = clock_.nowMs();
    if (value->msecs < now - window_.pastMs)
        return Outcome::TooOld;
    if (value->msecs > now + window_.futureMs)
        return Outcome::FromFuture;
    if (newest != newest_.cend() && value->msecs < newest->msecs)
        return Outcome::Replayed;
    return Outcome::Accepted;
}

void ValueVerifier::remember(const QString& point, const QString& text)
{
    IncidentSharing::Value value;
    QByteArray signature;
    if (ValueSigner::split(text, &value, &signature) || IncidentSharing::Value::parse(text, &value))
        newest_.insert(point, {value.msecs, text});
}

void ValueVerifier::report(Outcome cause, const QString& point, const QString& text, const QString& console)
{
    const QString key = QString::number(int(cause)) + QLatin1Char('|') + console;
    const qint64 now = clock_.nowMs();
    Reported& reported = reported_[key];
    if (reported.at != 0 && now - reported.at < kReportAgainMs) {
        ++reported.since;
        return;
    }
    const Refusal refusal{cause, console, point, text, reported.since};
    reported = {now, 0};
    if (audit_) {
        audit_->append(AuditTrail::Kind::ValueRefused, QString(), console,
                       QStringLiteral("%1 %2 %3 (+%4)")
                           .arg(QLatin1String(QMetaEnum::fromType<Outcome>().valueToKey(int(cause))), point, text)
                           .arg(refusal.since));
    }
    emit refused(refusal);
}

QString ValueVerifier::describe(const Refusal& refusal)
{
    switch (refusal.cause) {
    case Outcome::Unsigned:
        return tr("拒绝了 %1 的未签名数值").arg(refusal.point);
    case Outcome::UnknownConsole:
        return tr("拒绝了未知控制台 \"%1\" 的数值").arg(refusal.console);
    case Outcome::ForgedConsole:
        return tr("拒绝了冒充控制台 \"%1\" 的数值").arg(refusal.console);
    case Outcome::BadSignature:
        return tr("拒绝了控制台 \"%1\" 签名无效的数值").arg(refusal.console);
    case Outcome::TooOld:
        return tr("拒绝了控制台 \"%1\" 时间过旧的数值").arg(refusal.console);
    case Outcome::FromFuture:
        return tr("拒绝了控制台 \"%1\" 时间在未来的数值").arg(refusal.console);
    case Outcome::Replayed:
        return tr("拒绝了控制台 \"%1\" 重放的旧数值").arg(refusal.console);
    case Outcome::Accepted:
    case Outcome::Known:
        break;
    }
    return QString();
}
