// Setting up a ship's security: a console's key pair into the ship keys file,
// an operator's account, and the check of a history's audit chain
// (docs/security.md).

#include "audit_trail.h"
#include "console_keys.h"
#include "example_translation.h"
#include "operator_accounts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

enum ExitCode { Ok = 0, BadArguments = 1, Failed = 2, ChainBroken = 3 };

struct StationAdmin {
    Q_DECLARE_TR_FUNCTIONS(StationAdmin)
};

int fail(ExitCode code, const QString& message)
{
    QTextStream(stderr) << "kelvane-station-admin: " << message << Qt::endl;
    return code;
}

/// A new key pair for \a console: its public key into the ship keys file (created
/// if missing), its secret key into a file of its own.
int keygen(const QString& console, const QString& keysFile, const QString& secretFile)
{
    if (!ConsoleKeys::isValidConsole(console))
        return fail(BadArguments, StationAdmin::tr("控制台名称无效：不能为空，不含 \"|\"，最多 %1 字节 (GBK)")
                                      .arg(ConsoleKeys::kMaxConsoleBytes));
    ConsoleKeys keys;
    QString error;
    if (QFileInfo::exists(keysFile) && !keys.load(keysFile, &error))
        return fail(Failed, error);
    const ConsoleKeys::Secret secret = keys.generate(console);
    if (!ConsoleKeys::saveSecret(secret, secretFile, &error) || !keys.save(keysFile, &error))
        return fail(Failed, error);
    return Ok;
}

/// Adds or changes an operator's account; the password is the first line of standard input.
int setAccount(const QString& name, const QString& roleName, const QString& accountsFile)
{
    OperatorAccounts::Role role;
    if (!OperatorAccounts::roleFromName(roleName, &role))
        return fail(BadArguments, StationAdmin::tr("未知的角色 %1").arg(roleName));
    OperatorAccounts accounts;
    QString error;
    const QString password = QTextStream(stdin).readLine();
    if (!accounts.load(accountsFile, &error) || !accounts.set(name, role, password, &error))
        return fail(Failed, error);
    return Ok;
}

int checkAudit(const QString& history)
{
    const AuditTrail::Verdict verdict = AuditTrail::check(history);
    if (!verdict.intact)
        return fail(verdict.brokenAt > 0 ? ChainBroken : Failed, verdict.problem);
    QTextStream(stdout) << StationAdmin::tr("审计记录完整：%1 条").arg(verdict.rows) << Qt::endl;
    return Ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString error;
    if (!exampletranslation::installRequested(app.arguments(), &error))
        return fail(BadArguments, error);

    QCommandLineParser parser;
    parser.setApplicationDescription(StationAdmin::tr("船舶安全设置：控制台密钥、操作员账户、审计记录检查 (docs/security.md)"));
    parser.addHelpOption();
    parser.addOption(exampletranslation::languageOption());
    const QCommandLineOption keys(QStringLiteral("keys"), StationAdmin::tr("船舶密钥文件"), QStringLiteral("file"));
    const QCommandLineOption secret(QStringLiteral("secret"), StationAdmin::tr("本控制台的私钥文件"), QStringLiteral("file"));
    const QCommandLineOption role(QStringLiteral("role"), StationAdmin::tr("操作员角色"), QStringLiteral("role"));
    const QCommandLineOption accounts(QStringLiteral("accounts"), StationAdmin::tr("操作员账户文件"), QStringLiteral("file"));
    parser.addOptions({keys, secret, role, accounts});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 StationAdmin::tr("keygen <控制台> | account <操作员> (密码从标准输入读取) | check-audit <历史数据库>"));
    parser.process(app);

    const QStringList arguments = parser.positionalArguments();
    const QString command = arguments.value(0);
    if (arguments.size() == 2 && command == QLatin1String("keygen") && parser.isSet(keys) && parser.isSet(secret))
        return keygen(arguments.at(1), parser.value(keys), parser.value(secret));
    if (arguments.size() == 2 && command == QLatin1String("account") && parser.isSet(role) && parser.isSet(accounts))
        return setAccount(arguments.at(1), parser.value(role), parser.value(accounts));
    if (arguments.size() == 2 && command == QLatin1String("check-audit"))
        return checkAudit(arguments.at(1));
    return fail(BadArguments, parser.helpText());
}
