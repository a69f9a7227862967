#include "console_keys.h"

#include "gbk_text.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <sodium.h>

namespace {

const QString kFormatKey = QStringLiteral("format");
const QString kConsolesKey = QStringLiteral("consoles");
const QString kConsoleKey = QStringLiteral("console");
const QString kPublicKey = QStringLiteral("public_key");
const QString kSecretKey = QStringLiteral("secret_key");

bool readJson(const QString& path, QJsonObject* object, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = ConsoleKeys::tr("无法读取密钥文件 %1: %2").arg(path, file.errorString());
        return false;
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject() || document.object().value(kFormatKey).toInt() != ConsoleKeys::kFormat) {
        *error = ConsoleKeys::tr("密钥文件 %1 格式不对").arg(path);
        return false;
    }
    *object = document.object();
    return true;
}

bool writeJson(const QString& path, const QJsonObject& object, QFileDevice::Permissions permissions, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.setPermissions(permissions)
        && file.write(QJsonDocument(object).toJson()) >= 0 && file.commit())
        return true;
    *error = ConsoleKeys::tr("无法写入密钥文件 %1: %2").arg(path, file.errorString());
    return false;
}

QByteArray keyFrom(const QJsonValue& value, int size)
{
    const QByteArray key = QByteArray::fromBase64(value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return key.size() == size ? key : QByteArray();
}

} // namespace

bool ConsoleKeys::isValidConsole(const QString& console)
{
    bool exact = false;
    const QByteArray bytes = tavimorio::toGbk(console, &exact);
    if (console.isEmpty() || console.contains(QLatin1Char('|')) || !exact)
        return false;
    for (const QChar c : console) {
        if (!c.isPrint())
            return false;
    }
    return bytes.size() <= kMaxConsoleBytes;
}

bool ConsoleKeys::insert(const QString& console, const QByteArray& publicKey)
{
    if (!isValidConsole(console) || publicKey.size() != kPublicKeyBytes)
        return false;
    keys_.insert(console, publicKey);
    return true;
}

bool ConsoleKeys::load(const QString& path, QString* error)
{
    QJsonObject object;
    if (!readJson(path, &object, error))
        return false;
    ConsoleKeys ring;
    for (const QJsonValue& entry : object.value(kConsolesKey).toArray()) {
        const QString console = entry.toObject().value(kConsoleKey).toString();
        const QByteArray key = keyFrom(entry.toObject().value(kPublicKey), kPublicKeyBytes);
        // A console listed twice would leave open which key is meant.
        if (ring.keys_.contains(console) || !ring.insert(console, key)) {
            *error = tr("密钥文件 %1 中控制台 \"%2\" 的条目无效").arg(path, console);
            return false;
        }
    }
    keys_ = ring.keys_;
    return true;
}

bool ConsoleKeys::save(const QString& path, QString* error) const
{
    QJsonArray consoles;
    for (auto it = keys_.cbegin(); it != keys_.cend(); ++it)
        consoles.append(QJsonObject{{kConsoleKey, it.key()}, {kPublicKey, QString::fromLatin1(it.value().toBase64())}});
    return writeJson(path, {{kFormatKey, kFormat}, {kConsolesKey, consoles}},
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther,
                     error);
}

ConsoleKeys::Secret ConsoleKeys::generate(const QString& console)
{
    Q_ASSERT(isValidConsole(console));
    if (sodium_init() < 0)
        return {};
    QByteArray publicKey(kPublicKeyBytes, Qt::Uninitialized);
    Secret secret{console, QByteArray(kSecretKeyBytes, Qt::Uninitialized)};
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(publicKey.data()),
                        reinterpret_cast<unsigned char*>(secret.key.data()));
    insert(console, publicKey);
    return secret;
}

bool ConsoleKeys::saveSecret(const Secret& secret, const QString& path, QString* error)
{
    return writeJson(path,
                     {{kFormatKey, kFormat},
                      {kConsoleKey, secret.console},
                      {kSecretKey, QString::fromLatin1(secret.key.toBase64())}},
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner, error);
}

bool ConsoleKeys::loadSecret(const QString& path, Secret* secret, QString* error) const
{
    QJsonObject object;
    if (!readJson(path, &object, error))
        return false;
    const QString console = object.value(kConsoleKey).toString();
    const QByteArray key = keyFrom(object.value(kSecretKey), kSecretKeyBytes);
    QByteArray publicHalf(kPublicKeyBytes, Qt::Uninitialized);
    if (key.isEmpty()
        || crypto_sign_ed25519_sk_to_pk(reinterpret_cast<unsigned char*>(publicHalf.data()),
                                        reinterpret_cast<const unsigned char*>(key.constData()))
            != 0
        || publicKey(console) != publicHalf) {
        *error = tr("密钥文件 %1 与船舶密钥文件中控制台 \"%2\" 的公钥不符").arg(path, console);
        return false;
    }
    *secret = {console, key};
    return true;
}
