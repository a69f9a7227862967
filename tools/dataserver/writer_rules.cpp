#include "writer_rules.h"

#include "gbk_text.h"

#include <QFile>
#include <QRegularExpression>
#include <QString>

namespace {

// Stands for every name, which an empty prefix cannot show in the file.
const QString kAnyName = QStringLiteral("*");

// An IPv4 client of a dual-stack socket arrives as ::ffff:a.b.c.d.
QHostAddress plain(const QHostAddress& address)
{
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(v4) : address;
}

// "address/prefix length", or an address alone for that one address.
QPair<QHostAddress, int> subnetOf(const QString& field)
{
    if (field.contains(QLatin1Char('/')))
        return QHostAddress::parseSubnet(field);
    QHostAddress address;
    if (!address.setAddress(field))
        return {};
    return {address, address.protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128};
}

} // namespace

bool WriterRules::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    if (!parse(file.readAll(), error)) {
        error->prepend(path + QStringLiteral(": "));
        return false;
    }
    return true;
}

bool WriterRules::parse(const QByteArray& text, QString* error)
{
    static const QRegularExpression kBlanks(QStringLiteral("\\s+"));
    QVector<Rule> rules;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines.at(i)).section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(kBlanks);
        Rule rule;
        rule.subnet = subnetOf(fields.first());
        if (rule.subnet.first.isNull()) {
            *error = QStringLiteral("line %1: \"%2\" is not a numeric address or subnet").arg(i + 1).arg(fields.first());
            return false;
        }
        if (fields.size() < 2) {
            *error = QStringLiteral("line %1: no name prefix after %2 (use * for every name)").arg(i + 1).arg(fields.first());
            return false;
        }
        for (int f = 1; f < fields.size(); ++f) {
            bool exact = false;
            const QByteArray prefix = fields.at(f) == kAnyName ? QByteArray("") : tavimorio::toGbk(fields.at(f), &exact);
            if (fields.at(f) != kAnyName && !exact) {
                *error = QStringLiteral("line %1: prefix %2 has characters GBK cannot carry").arg(i + 1).arg(fields.at(f));
                return false;
            }
            rule.prefixes.append(prefix);
        }
        rules.append(rule);
    }
    rules_ = rules;
    restricted_ = true;
    return true;
}

QVector<QByteArray> WriterRules::prefixesFor(const QHostAddress& address) const
{
    if (!restricted_)
        return {QByteArray("")};
    const QHostAddress client = plain(address);
    QVector<QByteArray> prefixes;
    for (const Rule& rule : rules_) {
        if (client.isInSubnet(rule.subnet))
            prefixes += rule.prefixes;
    }
    return prefixes;
}
