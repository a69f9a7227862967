#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QMap>
#include <QString>

/// The consoles' Ed25519 public keys: the ship keys file (docs/security.md).
///
/// Every console signs what it shares with its own secret key (a file of its
/// own, never shared); every console holds the same ship keys file and checks
/// each shared value against the key of the console the value names.
///
/// Console names are at most kMaxConsoleBytes in GBK and hold no '|' and no
/// control character: a signed value must still fit the client's 128 bytes.
class ConsoleKeys
{
    Q_DECLARE_TR_FUNCTIONS(ConsoleKeys)

public:
    static constexpr int kFormat = 1;
    static constexpr int kMaxConsoleBytes = 12;
    static constexpr int kPublicKeyBytes = 32;
    static constexpr int kSecretKeyBytes = 64;

    /// A console's secret key with the name it signs under.
    struct Secret {
        QString console;
        QByteArray key;
    };

    /// Reads the ship keys file \a path; false with \a error set (and the ring
    /// left as it was) when it cannot be read or holds a bad entry.
    bool load(const QString& path, QString* error);
    /// Writes the ring to \a path (replaced as a whole).
    bool save(const QString& path, QString* error) const;

    /// The public key of \a console; empty for a console the ship does not know.
    QByteArray publicKey(const QString& console) const { return keys_.value(console); }
    /// The console whose key is \a key; empty if none.
    QString consoleOf(const QByteArray& key) const { return keys_.key(key); }
    QStringList consoles() const { return keys_.keys(); }
    /// Adds or replaces the key of \a console; false for a name no signed value can carry.
    bool insert(const QString& console, const QByteArray& publicKey);

    /// True for a name a console may sign under.
    static bool isValidConsole(const QString& console);

    /// A new key pair for \a console; its public key is added to the ring.
    Secret generate(const QString& console);
    /// Writes \a secret to \a path, readable by its owner only.
    static bool saveSecret(const Secret& secret, const QString& path, QString* error);
    /// Reads a secret key file; false with \a error set when it is unreadable,
    /// or when its public half is not the ring's key for its console.
    bool loadSecret(const QString& path, Secret* secret, QString* error) const;

private:
    QMap<QString, QByteArray> keys_;
};
