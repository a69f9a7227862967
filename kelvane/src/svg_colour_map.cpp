#include "svg_colour_map.h"

#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const QStringList kPaintProperties = {
    QStringLiteral("fill"),        QStringLiteral("stroke"),         QStringLiteral("stop-color"),
    QStringLiteral("flood-color"), QStringLiteral("lighting-color"), QStringLiteral("solid-color"),
    QStringLiteral("viewport-fill"), QStringLiteral("color"),
};

// A declaration of a style attribute or sheet: property, colon, value up to the next ';' or '}'.
const QRegularExpression kDeclaration(QStringLiteral("([A-Za-z-]+)(\\s*:\\s*)([^;{}]*[^;{}\\s])"));
// rgb(r, g, b) with numbers 0-255 or percentages.
const QRegularExpression kFunctional(
    QStringLiteral("^rgb\\(\\s*([\\d.]+)(%?)\\s*,\\s*([\\d.]+)(%?)\\s*,\\s*([\\d.]+)(%?)\\s*\\)$"));
constexpr double kFullChannel = 255.0;
constexpr double kPercent = 100.0;

QColor parsed(const QString& value)
{
    const QRegularExpressionMatch functional = kFunctional.match(value);
    if (!functional.hasMatch())
        return QColor(value);
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const double number = functional.captured(1 + 2 * i).toDouble();
        const double channel = functional.captured(2 + 2 * i).isEmpty() ? number : number * kFullChannel / kPercent;
        channels[i] = int(qBound(0.0, channel, kFullChannel) + 0.5);
    }
    return QColor(channels[0], channels[1], channels[2]);
}

} // namespace

SvgColourMap::SvgColourMap(Map map)
    : map_(std::move(map))
{
}

QByteArray SvgColourMap::apply(const QByteArray& svg) const
{
    QXmlStreamReader reader(svg);
    QByteArray mapped;
    QXmlStreamWriter writer(&mapped);
    bool inStyleSheet = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            writer.writeStartElement(reader.namespaceUri().toString(), reader.name().toString());
            for (const QXmlStreamNamespaceDeclaration& space : reader.namespaceDeclarations())
                writer.writeNamespace(space.namespaceUri().toString(), space.prefix().toString());
            for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                const QString name = attribute.name().toString();
                const QString value = attribute.value().toString();
                const QString written = !attribute.namespaceUri().isEmpty() ? value
                                        : name == QLatin1String("style") ? mapDeclarations(value)
                                                                          : mapProperty(name, value);
                writer.writeAttribute(attribute.namespaceUri().toString(), name, written);
            }
            inStyleSheet = reader.name() == QLatin1String("style");
            break;
        }
        case QXmlStreamReader::EndElement:
            inStyleSheet = false;
            writer.writeCurrentToken(reader);
            break;
        case QXmlStreamReader::Characters:
            if (inStyleSheet && reader.isCDATA())
                writer.writeCDATA(mapDeclarations(reader.text().toString()));
            else if (inStyleSheet)
                writer.writeCharacters(mapDeclarations(reader.text().toString()));
            else
                writer.writeCurrentToken(reader);
            break;
        default:
            writer.writeCurrentToken(reader);
            break;
        }
    }
    return reader.hasError() ? svg : mapped;
}

QString SvgColourMap::mapProperty(const QString& name, const QString& value) const
{
    if (!kPaintProperties.contains(name))
        return value;
    const QColor colour = parsed(value.trimmed());
    if (!colour.isValid())
        return value;
    return map_(colour).name(QColor::HexRgb);
}

QString SvgColourMap::mapDeclarations(const QString& text) const
{
    QString mapped;
    int copied = 0;
    QRegularExpressionMatchIterator declarations = kDeclaration.globalMatch(text);
    while (declarations.hasNext()) {
        const QRegularExpressionMatch declaration = declarations.next();
        mapped.append(text.constData() + copied, declaration.capturedStart(3) - copied);
        mapped += mapProperty(declaration.captured(1), declaration.captured(3));
        copied = declaration.capturedEnd(3);
    }
    mapped.append(text.constData() + copied, text.size() - copied);
    return mapped;
}
