#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QPair>
#include <QVector>

class QString;

/**
 * Which client addresses may write which data-point names, read from a writers
 * file (docs/dataserver.md): each line an address or a subnet and the name
 * prefixes clients there may write. Without a file every client may write
 * every name; with one, a client may write a name only when a line matching
 * its address has a prefix the name starts with. Reading is never restricted.
 */
class WriterRules
{
public:
    /// Reads a writers file; on failure `error` names the file, the line and the fault.
    bool load(const QString& path, QString* error);
    /// Reads the text of a writers file; on failure `error` names the line and the fault.
    bool parse(const QByteArray& text, QString* error);

    /// True once a file was read: writes are then limited to what it allows.
    bool restricted() const { return restricted_; }
    /// The GBK name prefixes a client at `address` may write (an empty prefix
    /// allows every name); empty when it may write nothing.
    QVector<QByteArray> prefixesFor(const QHostAddress& address) const;

private:
    struct Rule {
        QPair<QHostAddress, int> subnet;
        QVector<QByteArray> prefixes;
    };

    QVector<Rule> rules_;
    bool restricted_ = false;
};
