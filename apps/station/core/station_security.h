#pragma once

#include "audit_trail.h"
#include "console_keys.h"
#include "operator_accounts.h"

#include <QCoreApplication>
#include <QString>

#include <memory>

class IncidentSharing;
class OperatorSession;
class StationOptions;
class ValueSigner;
class ValueVerifier;

/// What makes a console authenticated (docs/security.md): its signing key, the
/// check of what the other consoles share, the operators who may act and the
/// audit trail, set up from the station's options.
///
/// Given no ship keys file, no secret key and no accounts file, the console
/// runs unauthenticated, as a ship that has not set up keys: isActive() is
/// false and nothing is signed, checked or logged in. Given some of them, all
/// three are needed, and the console's name must be the one its key signs
/// under: a console half set up, or with a name a signed value cannot carry,
/// does not start.
class StationSecurity
{
    Q_DECLARE_TR_FUNCTIONS(StationSecurity)

public:
    StationSecurity();
    ~StationSecurity();

    /// Reads the files \a options name and settles this console's name in
    /// \a options (the secret key's, unless --console gave the same one);
    /// false with \a error set when they are missing, unreadable or do not fit together.
    bool load(StationOptions& options, QString* error);

    bool isActive() const { return session_ != nullptr; }

    /// Opens the audit trail in the history database \a path and records the
    /// ship, keys and accounts files when they changed since the last start,
    /// and each account added, removed or changed since then; false with
    /// \a error set when the file cannot take it (the rows wait in memory, and
    /// AuditTrail::failingChanged() said so too).
    bool openAudit(const QString& path, const QString& shipFile, QString* error);
    /// Seeds the check with what the history recorded as applied and secures \a sharing.
    void secure(IncidentSharing& sharing, const QHash<QString, QString>& applied);

    AuditTrail& audit() { return audit_; }
    OperatorSession* session() const { return session_.get(); }
    ValueVerifier* verifier() const { return verifier_.get(); }
    const QString& console() const { return console_; }

private:
    QString keysFile_;
    QString accountsFile_;
    QString console_;
    AuditTrail audit_;
    OperatorAccounts accounts_;
    std::unique_ptr<ValueSigner> signer_;
    std::unique_ptr<ValueVerifier> verifier_;
    std::unique_ptr<OperatorSession> session_;
};
