// Signed shared values, operators' log-ins and the audit chain, with real
// keys, real Argon2id hashes and a real SQLite history.

#include "accounts_dialog.h"
#include "audit_trail.h"
#include "console_keys.h"
#include "incident_store.h"
#include "operator_session.h"
#include "value_signer.h"
#include "value_verifier.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMetaEnum>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <functional>

namespace {

const QString kPoint = QStringLiteral("KLV.INC.DMG.12");
const QString kPassword = QStringLiteral("correct horse");

template <typename Enum>
QString nameOf(Enum value)
{
    return QLatin1String(QMetaEnum::fromType<Enum>().valueToKey(int(value)));
}

QString nameOf(OperatorAccounts::Result result)
{
    const char* const names[] = {"Accepted", "WrongPassword", "LockedOut"};
    return QLatin1String(names[int(result)]);
}

// The bridge console receiving, the engine console sending; li keeps watch, wang only looks.
struct Ship {
    QTemporaryDir dir;
    struct HandClock : ConsoleClock {
        qint64 nowMs() const override { return now; }
        qint64 now = 1'780'000'000'000;
    } clock;
    qint64& now = clock.now;
    AuditTrail audit{clock};
    ConsoleKeys keys;
    ConsoleKeys::Secret bridge = keys.generate(QStringLiteral("bridge"));
    ConsoleKeys::Secret engine = keys.generate(QStringLiteral("engine"));
    ValueVerifier verifier{keys, &audit, clock};
    OperatorAccounts accounts;
    OperatorSession session{&accounts, &audit, QStringLiteral("bridge"), clock};

    Ship()
    {
        QString error;
        EXPECT_TRUE(audit.open(history(), &error)) << qPrintable(error);
        EXPECT_TRUE(accounts.load(dir.filePath(QStringLiteral("operators.json")), &error));
        EXPECT_TRUE(accounts.set(QStringLiteral("li"), OperatorAccounts::Role::Watchkeeper, kPassword, &error));
        EXPECT_TRUE(accounts.set(QStringLiteral("wang"), OperatorAccounts::Role::Viewer, kPassword, &error));
        EXPECT_TRUE(accounts.set(QStringLiteral("zhou"), OperatorAccounts::Role::Officer, kPassword, &error));
        session.recordOutsideChanges();
    }
    QString error;
    QString done(bool ok) const { return QString::number(ok); }
    // What kelvane-station-admin account answers, given \a password on its standard input.
    QString admin(const QString& name, const QString& role, const QString& password)
    {
        QProcess tool;
        tool.start(QStringLiteral(KELVANE_STATION_ADMIN_PATH),
                   {QStringLiteral("account"), name, QStringLiteral("--role"), role, QStringLiteral("--accounts"),
                    dir.filePath(QStringLiteral("operators.json"))});
        tool.write(password.toUtf8() + '\n');
        tool.closeWriteChannel();
        return QString::number(tool.waitForFinished() ? tool.exitCode() : -1);
    }
    QString history() const { return dir.filePath(QStringLiteral("bridge.sqlite")); }
    QString signedBy(const ConsoleKeys::Secret& secret, qint64 msecs, const QString& payload) const
    {
        return ValueSigner(secret).sign(kPoint, msecs, payload);
    }
    QString receive(const QString& text)
    {
        IncidentSharing::Value value;
        return nameOf(verifier.check(kPoint, text, &value));
    }
    QString logIn(const QString& name, const QString& password) { return nameOf(session.logIn(name, password)); }
};

struct Case {
    const char* name;
    std::function<QStringList(Ship&)> act;
    QStringList outcomes;
    /// "<kind>/<operator>/<console>/<start of the details>" of every row the case adds.
    QStringList audit;
};

const Case kCases[] = {
    {"genuine", [](Ship& s) { return QStringList{s.receive(s.signedBy(s.engine, s.now, QStringLiteral("1")))}; },
     {"Accepted"}, {}},
    {"unsigned", [](Ship& s) { return QStringList{s.receive(QStringLiteral("%1|engine|1").arg(s.now))}; },
     {"Unsigned"}, {"value_refused///Unsigned"}},
    {"forged console, reported once",
     [](Ship& s) {
         const ConsoleKeys::Secret posing{QStringLiteral("engine"), s.bridge.key};
         return QStringList{s.receive(s.signedBy(posing, s.now, QStringLiteral("1"))),
                            s.receive(s.signedBy(posing, s.now, QStringLiteral("4")))};
     },
     {"ForgedConsole", "ForgedConsole"}, {"value_refused//engine/ForgedConsole KLV.INC.DMG.12"}},
    {"unknown console",
     [](Ship& s) {
         ConsoleKeys other;
         return QStringList{s.receive(s.signedBy(other.generate(QStringLiteral("intruder")), s.now, "1"))};
     },
     {"UnknownConsole"}, {"value_refused//intruder/UnknownConsole"}},
    {"changed payload",
     [](Ship& s) {
         return QStringList{s.receive(s.signedBy(s.engine, s.now, "1").replace(QStringLiteral("|1|"), "|0|"))};
     },
     {"BadSignature"}, {"value_refused//engine/BadSignature"}},
    {"bad signature",
     [](Ship& s) {
         QString text = s.signedBy(s.engine, s.now, QStringLiteral("1"));
         text[text.size() - 3] = text.at(text.size() - 3) == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
         return QStringList{s.receive(text)};
     },
     {"BadSignature"}, {"value_refused//engine/BadSignature"}},
    {"old time", [](Ship& s) { return QStringList{s.receive(s.signedBy(s.engine, s.now - 25 * 3600'000LL, "1"))}; },
     {"TooOld"}, {"value_refused//engine/TooOld"}},
    {"future time", [](Ship& s) { return QStringList{s.receive(s.signedBy(s.engine, s.now + 180'000, "1"))}; },
     {"FromFuture"}, {"value_refused//engine/FromFuture"}},
    {"replay does not undo the newer value",
     [](Ship& s) {
         const QString older = s.signedBy(s.engine, s.now - 1000, QStringLiteral("1"));
         const QString newer = s.signedBy(s.engine, s.now, QStringLiteral("0"));
         return QStringList{s.receive(older), s.receive(newer), s.receive(older), s.receive(newer)};
     },
     {"Accepted", "Accepted", "Replayed", "Known"}, {"value_refused//engine/Replayed"}},
    {"log-in and out",
     [](Ship& s) {
         const QString in = s.logIn(QStringLiteral("li"), kPassword);
         s.session.logOut();
         return QStringList{in};
     },
     {"Accepted"}, {"log_in/li/bridge/watchkeeper", "log_out/li/bridge/"}},
    {"wrong password and unknown name",
     [](Ship& s) { return QStringList{s.logIn("li", "guess"), s.logIn("nobody", kPassword)}; },
     {"WrongPassword", "WrongPassword"},
     {"log_in_failed/li/bridge/wrong name or password", "log_in_failed/nobody/bridge/wrong name or password"}},
    {"lock-out until it runs out",
     [](Ship& s) {
         QStringList outcomes;
         for (int i = 0; i < OperatorAccounts::kMaxFailures; ++i)
             outcomes << s.logIn("li", "guess");
         outcomes << s.logIn("li", kPassword);
         s.now += OperatorAccounts::kLockOutMs;
         return outcomes.mid(OperatorAccounts::kMaxFailures - 2) << s.logIn("li", kPassword);
     },
     {"WrongPassword", "LockedOut", "LockedOut", "Accepted"},
     {"log_in_failed/li/bridge/wrong", "log_in_failed/li/bridge/wrong", "log_in_failed/li/bridge/wrong",
      "log_in_failed/li/bridge/wrong", "log_in_failed/li/bridge/locked out", "log_in_failed/li/bridge/locked out",
      "log_in/li/bridge/"}},
    {"role refused, silence allowed",
     [](Ship& s) {
         s.logIn("wang", kPassword);
         return QStringList{QString::number(s.session.attempt(OperatorSession::Action::Acknowledge)),
                            QString::number(s.session.attempt(OperatorSession::Action::Silence))};
     },
     {"0", "1"}, {"log_in/wang/bridge/viewer", "action_refused/wang/bridge/Acknowledge"}},
    {"idle session locks its actions",
     [](Ship& s) {
         s.logIn("li", kPassword);
         const bool before = s.session.attempt(OperatorSession::Action::Damage);
         s.now += OperatorSession::kIdleLockMs;
         return QStringList{QString::number(before), QString::number(s.session.attempt(OperatorSession::Action::Damage)),
                            QString::number(s.session.may(OperatorSession::Action::View))};
     },
     {"1", "0", "1"}, {"log_in/li/bridge/", "action_refused/li/bridge/Damage (locked)"}},
    {"watchkeeper refused a user change",
     [](Ship& s) {
         s.logIn("li", kPassword);
         return QStringList{s.done(s.session.setAccount("zhao", OperatorAccounts::Role::Officer, kPassword, &s.error)),
                            s.logIn("zhao", kPassword)};
     },
     {"0", "WrongPassword"},
     {"log_in/li/bridge/watchkeeper", "action_refused/li/bridge/Users", "log_in_failed/zhao/bridge/wrong"}},
    {"officer adds a user who can then log in",
     [](Ship& s) {
         s.logIn("zhou", kPassword);
         const bool added = s.session.setAccount("zhao", OperatorAccounts::Role::Watchkeeper, "new passphrase", &s.error);
         return QStringList{s.done(added), s.logIn("zhao", "new passphrase")};
     },
     {"1", "Accepted"},
     {"log_in/zhou/bridge/officer", "user_changed/zhou/bridge/zhao: added as watchkeeper", "log_out/zhou/bridge/",
      "log_in/zhao/bridge/watchkeeper"}},
    {"officer ends a lock-out, changes a role and a password",
     [](Ship& s) {
         for (int i = 0; i < OperatorAccounts::kMaxFailures; ++i)
             s.logIn("li", "guess");
         s.logIn("zhou", kPassword);
         return QStringList{s.done(s.session.unlockAccount("li", &s.error)),
                            s.done(s.session.setAccount("li", OperatorAccounts::Role::Officer, "new passphrase", &s.error)),
                            s.logIn("li", "new passphrase")};
     },
     {"1", "1", "Accepted"},
     {"log_in_failed/li", "log_in_failed/li", "log_in_failed/li", "log_in_failed/li", "log_in_failed/li/bridge/locked",
      "log_in/zhou/bridge/officer", "user_changed/zhou/bridge/li: unlocked",
      "user_changed/zhou/bridge/li: watchkeeper -> officer, password set", "log_out/zhou", "log_in/li/bridge/officer"}},
    {"last officer can be neither removed nor demoted",
     [](Ship& s) {
         s.logIn("zhou", kPassword);
         return QStringList{s.done(s.session.removeAccount("zhou", &s.error)),
                            s.done(s.session.setAccount("zhou", OperatorAccounts::Role::Viewer, QString(), &s.error)),
                            s.done(s.session.setAccount("zhao", OperatorAccounts::Role::Officer, kPassword, &s.error)),
                            s.done(s.session.removeAccount("zhou", &s.error)),
                            s.done(s.session.may(OperatorSession::Action::Users))};
     },
     {"0", "0", "1", "1", "0"},
     {"log_in/zhou/bridge/officer", "user_changed/zhou/bridge/zhao: added as officer",
      "user_changed/zhou/bridge/zhou: removed"}},
    {"admin tool's changes audited per account",
     [](Ship& s) {
         return QStringList{s.admin("li", "officer", "admin passphrase"), s.admin("zhao", "viewer", kPassword),
                            s.logIn("zhao", kPassword)};
     },
     {"0", "0", "Accepted"},
     {"user_changed//bridge/li: watchkeeper -> officer, password set (accounts file)",
      "user_changed//bridge/zhao: added as viewer (accounts file)", "log_in/zhao/bridge/viewer"}},
    {"audit write failure reported once, rows kept",
     [](Ship& s) {
         QSignalSpy failing(&s.audit, &AuditTrail::failingChanged);
         {
             QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
             holder.setDatabaseName(s.history());
             EXPECT_TRUE(holder.open() && QSqlQuery(holder).exec(QStringLiteral("BEGIN EXCLUSIVE")));
             s.logIn("li", kPassword);
             s.logIn("wang", kPassword);
             QSqlQuery(holder).exec(QStringLiteral("ROLLBACK"));
         }
         QSqlDatabase::removeDatabase(QStringLiteral("holder"));
         const int whileHeld = failing.size();
         s.session.logOut();
         QStringList outcomes{QString::number(whileHeld)};
         for (const QList<QVariant>& change : failing)
             outcomes << change.at(0).toString();
         return outcomes;
     },
     {"1", "true", "false"},
     {"log_in/li", "log_out/li", "log_in/wang", "log_out/wang"}},
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class RefusedAndLogIn : public testing::TestWithParam<Case> {};

TEST_P(RefusedAndLogIn, OutcomeAndAuditRows)
{
    Ship ship;
    QSignalSpy refused(&ship.verifier, &ValueVerifier::refused);
    const int before = ship.audit.rows().size();
    EXPECT_EQ(GetParam().act(ship), GetParam().outcomes) << qPrintable(ship.error);

    QStringList rows;
    for (const AuditTrail::Row& row : ship.audit.rows().mid(before))
        rows << QStringList{AuditTrail::kindName(row.kind), row.operatorName, row.console, row.details}.join('/');
    ASSERT_EQ(rows.size(), GetParam().audit.size()) << qPrintable(rows.join('\n'));
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_TRUE(rows.at(i).startsWith(GetParam().audit.at(i))) << qPrintable(rows.at(i));
    // The operator hears of a refusal as often as the trail records it.
    EXPECT_EQ(refused.size(), GetParam().audit.filter(QStringLiteral("value_refused")).size());
    EXPECT_TRUE(AuditTrail::check(ship.history()).intact);
}

INSTANTIATE_TEST_SUITE_P(Security, RefusedAndLogIn, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(AccountsDialog, AnOfficerAddsAnOperatorAndNobodyElseMay)
{
    Ship ship;
    QMainWindow window;
    AccountsDialog::addTo(window, ship.session);
    QAction* manage = window.menuBar()->actions().constFirst()->menu()->actions().constFirst();
    EXPECT_FALSE(manage->isEnabled());
    ship.logIn("zhou", kPassword);
    EXPECT_TRUE(manage->isEnabled());

    AccountsDialog dialog(ship.session);
    const QList<QLineEdit*> fields = dialog.findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    const auto click = [&](const char* button) {
        for (QPushButton* candidate : dialog.findChildren<QPushButton*>())
            if (candidate->text() == AccountsDialog::tr(button))
                candidate->click();
        const AuditTrail::Row last = ship.audit.rows().constLast();
        return QStringList{AuditTrail::kindName(last.kind), last.operatorName, last.details}.join('/');
    };
    fields.at(0)->setText(QStringLiteral("zhao"));
    dialog.findChild<QComboBox*>()->setCurrentIndex(1);
    fields.at(1)->setText(QStringLiteral("new passphrase"));
    EXPECT_EQ(click("添加"), QStringLiteral("user_changed/zhou/zhao: added as watchkeeper"));
    EXPECT_EQ(ship.accounts.role(QStringLiteral("zhao")), OperatorAccounts::Role::Watchkeeper);

    ship.session.logOut();
    EXPECT_FALSE(manage->isEnabled());
    EXPECT_EQ(click("删除"), QStringLiteral("action_refused//Users"));
    EXPECT_TRUE(ship.accounts.contains(QStringLiteral("zhao")));
}

// A copy of \a history with \a statement run on its audit table.
QString tampered(const QString& history, const QString& name, const QString& statement)
{
    const QString copy = history + QLatin1Char('.') + name;
    EXPECT_TRUE(QFile::copy(history, copy));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(copy);
        EXPECT_TRUE(db.open());
        for (const QString& part : statement.split(QLatin1Char(';')))
            EXPECT_TRUE(QSqlQuery(db).exec(part)) << qPrintable(part);
    }
    QSqlDatabase::removeDatabase(name);
    return copy;
}

TEST(AuditChain, DetectsDeletedAndEditedRowsAndOutlivesRetention)
{
    QTemporaryDir dir;
    const QString history = dir.filePath(QStringLiteral("bridge.sqlite"));
    {
        IncidentStore store;
        QString error;
        ASSERT_TRUE(store.open(history, &error));
        AuditTrail audit;
        ASSERT_TRUE(audit.open(history, &error));
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(audit.append(AuditTrail::Kind::LinkLost, QString(), QStringLiteral("bridge"), QString::number(i)));
        // Retention that empties the history leaves the trail whole.
        store.setLimits({0, 0, 0});
        store.prune(QDateTime::currentMSecsSinceEpoch() + 1000);
    }
    const AuditTrail::Verdict intact = AuditTrail::check(history);
    EXPECT_TRUE(intact.intact) << qPrintable(intact.problem);
    EXPECT_EQ(intact.rows, 4);

    const struct {
        const char* name;
        const char* statement;
        qint64 brokenAt;
    } breaks[] = {
        {"deleted", "DELETE FROM audit WHERE id = 2", 2},
        {"edited", "UPDATE audit SET operator = 'nobody' WHERE id = 3", 3},
        {"renumbered", "DELETE FROM audit WHERE id = 2; UPDATE audit SET id = id - 1 WHERE id > 2", 2},
        {"cut", "DELETE FROM audit WHERE id = 4", 4},
    };
    for (const auto& broken : breaks) {
        const QString copy = tampered(history, QLatin1String(broken.name), QLatin1String(broken.statement));
        const AuditTrail::Verdict verdict = AuditTrail::check(copy);
        EXPECT_FALSE(verdict.intact) << broken.name;
        EXPECT_EQ(verdict.brokenAt, broken.brokenAt) << broken.name;
        EXPECT_EQ(QProcess::execute(QStringLiteral(KELVANE_STATION_ADMIN_PATH), {QStringLiteral("check-audit"), copy}),
                  3)
            << broken.name;
    }
}

} // namespace
