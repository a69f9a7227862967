#include "station_security.h"

#include "incident_sharing.h"
#include "operator_session.h"
#include "station_options.h"
#include "value_signer.h"
#include "value_verifier.h"

#include <QFileInfo>

StationSecurity::StationSecurity() = default;

StationSecurity::~StationSecurity() = default;

bool StationSecurity::load(StationOptions& options, QString* error)
{
    if (options.keysFile.isEmpty() && options.secretKeyFile.isEmpty() && options.accountsFile.isEmpty())
        return true;
    if (options.keysFile.isEmpty() || options.secretKeyFile.isEmpty() || options.accountsFile.isEmpty()) {
        *error = tr("认证需要船舶密钥文件(--keys)、本控制台私钥(--secret-key)和操作员账户文件(--accounts)三者齐全");
        return false;
    }
    // A missing accounts file would be an empty list: nobody could ever act here.
    if (!QFileInfo::exists(options.accountsFile)) {
        *error = tr("没有操作员账户文件 %1").arg(options.accountsFile);
        return false;
    }
    ConsoleKeys keys;
    ConsoleKeys::Secret secret;
    if (!keys.load(options.keysFile, error) || !keys.loadSecret(options.secretKeyFile, &secret, error)
        || !accounts_.load(options.accountsFile, error))
        return false;
    if (options.consoleGiven && options.incident.console != secret.console) {
        *error = ConsoleKeys::isValidConsole(options.incident.console)
            ? tr("控制台名称 \"%1\" 与私钥的控制台 \"%2\" 不符").arg(options.incident.console, secret.console)
            : tr("控制台名称 \"%1\" 无法签名: 最多 %2 字节(GBK), 不含 | 和控制字符")
                  .arg(options.incident.console)
                  .arg(ConsoleKeys::kMaxConsoleBytes);
        return false;
    }
    options.incident.console = secret.console;
    keysFile_ = options.keysFile;
    accountsFile_ = options.accountsFile;
    console_ = secret.console;
    // The signer keeps the only copy of the key and wipes it when done.
    signer_ = std::make_unique<ValueSigner>(std::move(secret));
    verifier_ = std::make_unique<ValueVerifier>(keys, &audit_);
    session_ = std::make_unique<OperatorSession>(&accounts_, &audit_, console_);
    return true;
}

bool StationSecurity::openAudit(const QString& path, const QString& shipFile, QString* error)
{
    if (!audit_.open(path, error))
        return false;
    audit_.recordFile(QStringLiteral("ship"), shipFile, console());
    audit_.recordFile(QStringLiteral("keys"), keysFile_, console());
    audit_.recordFile(QStringLiteral("accounts"), accountsFile_, console());
    session_->recordOutsideChanges();
    return true;
}

void StationSecurity::secure(IncidentSharing& sharing, const QHash<QString, QString>& applied)
{
    for (auto it = applied.cbegin(); it != applied.cend(); ++it)
        verifier_->remember(it.key(), it.value());
    sharing.secure(signer_.get(), verifier_.get());
}
