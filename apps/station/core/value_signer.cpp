#include "value_signer.h"

#include "gbk_text.h"

#include <sodium.h>

#include <cstring>

namespace {

// Z85: printable, no '|', 5 characters for 4 bytes.
const char kZ85[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ.-:+=^!/*?&<>()[]{}@%$#";
constexpr int kEd25519Bytes = crypto_sign_BYTES;
static_assert(kEd25519Bytes / 4 * 5 == ValueSigner::kSignatureChars, "Z85 of an Ed25519 signature");
const QChar kSeparator = QLatin1Char('|');
// Versioned, so a later layout can never verify as this one.
const char kDomain[] = "kelvane shared value 1";

QString z85Encode(const QByteArray& bytes)
{
    QString text;
    for (int i = 0; i + 4 <= bytes.size(); i += 4) {
        quint32 word = 0;
        for (int j = 0; j < 4; ++j)
            word = word << 8 | quint8(bytes.at(i + j));
        char chunk[5];
        for (int j = 4; j >= 0; --j, word /= 85)
            chunk[j] = kZ85[word % 85];
        text += QLatin1String(chunk, 5);
    }
    return text;
}

bool z85Decode(QStringView text, QByteArray* bytes)
{
    if (text.size() % 5 != 0)
        return false;
    bytes->clear();
    for (int i = 0; i < text.size(); i += 5) {
        quint64 word = 0;
        for (int j = 0; j < 5; ++j) {
            const char c = text.at(i + j).toLatin1();
            const char* found = c ? std::strchr(kZ85, c) : nullptr;
            if (!found)
                return false;
            word = word * 85 + quint64(found - kZ85);
        }
        if (word > 0xFFFFFFFFu)
            return false;
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes->append(char(word >> shift & 0xFF));
    }
    return true;
}

} // namespace

ValueSigner::ValueSigner(ConsoleKeys::Secret secret)
    : secret_(std::move(secret))
{
    if (sodium_init() < 0)
        qFatal("libsodium cannot be initialised");
}

ValueSigner::~ValueSigner()
{
    sodium_memzero(secret_.key.data(), std::size_t(secret_.key.size()));
}

QByteArray ValueSigner::message(const QString& point, const IncidentSharing::Value& value)
{
    // Every field but the last is free of '\n', so the fields cannot run into each other.
    return QByteArray(kDomain) + '\n' + point.toUtf8() + '\n' + QByteArray::number(value.msecs) + '\n'
        + value.console.toUtf8() + '\n' + value.payload.toUtf8();
}

int ValueSigner::textBytes(const QString& text)
{
    return tavimorio::toGbk(text).size();
}

QString ValueSigner::sign(const QString& point, qint64 msecs, const QString& payload) const
{
    const IncidentSharing::Value value{msecs, secret_.console, payload};
    const QString unsignedText = value.format();
    if (textBytes(unsignedText) + kSignatureBytes > kTextBytes)
        return QString();
    const QByteArray signed_ = message(point, value);
    QByteArray signature(kEd25519Bytes, Qt::Uninitialized);
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char*>(signed_.constData()), quint64(signed_.size()),
                         reinterpret_cast<const unsigned char*>(secret_.key.constData()));
    return unsignedText + kSeparator + z85Encode(signature);
}

bool ValueSigner::split(const QString& text, IncidentSharing::Value* value, QByteArray* signature)
{
    const int separator = text.size() - kSignatureBytes;
    return separator > 0 && text.at(separator) == kSeparator
        && z85Decode(QStringView(text).mid(separator + 1), signature)
        && IncidentSharing::Value::parse(text.left(separator), value)
        // Only the canonical form: "+12" or "012" for 12 would be the same value under another text.
        && value->format() == QStringView(text).left(separator);
}
