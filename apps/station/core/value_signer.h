#pragma once

#include "console_keys.h"
#include "incident_sharing.h"

#include <QByteArray>
#include <QString>

/// Signs the values this console shares (docs/security.md, "Signed shared values").
///
/// A signed value is the usual "<ms>|<console>|<payload>" followed by '|' and
/// the console's Ed25519 signature in Z85 (80 characters). The signature
/// covers the point's name too, so a value cannot be moved to another point.
/// It costs kSignatureBytes of the client's 128 bytes of text; console names
/// are kept short (ConsoleKeys::kMaxConsoleBytes) so a payload keeps at least
/// kMinPayloadBytes.
class ValueSigner
{
public:
    static constexpr int kTextBytes = 128;
    static constexpr int kSignatureChars = 80;
    /// The separator and the signature.
    static constexpr int kSignatureBytes = kSignatureChars + 1;
    static constexpr int kMinPayloadBytes
        = kTextBytes - kSignatureBytes - 13 - 2 - ConsoleKeys::kMaxConsoleBytes; // 13: the ms until 2286

    explicit ValueSigner(ConsoleKeys::Secret secret);
    ~ValueSigner();
    ValueSigner(const ValueSigner&) = delete;
    ValueSigner& operator=(const ValueSigner&) = delete;

    QString console() const { return secret_.console; }

    /// The signed text of \a payload for \a point at \a msecs under this
    /// console's name; empty when it does not fit the client's 128 bytes (GBK),
    /// so the caller decides what of the payload may go.
    QString sign(const QString& point, qint64 msecs, const QString& payload) const;

    /// What a signature covers.
    static QByteArray message(const QString& point, const IncidentSharing::Value& value);
    /// Splits a signed text into its value and its 64-byte signature; false
    /// for text that is not a signed value.
    static bool split(const QString& text, IncidentSharing::Value* value, QByteArray* signature);
    /// The text's size as the client carries it (GBK).
    static int textBytes(const QString& text);

private:
    ConsoleKeys::Secret secret_;
};
