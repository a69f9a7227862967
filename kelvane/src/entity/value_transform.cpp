#include "entity/value_transform.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace harq {

namespace {

const QRegularExpression& whiteSpace()
{
    // Input methods type full-width and no-break spaces; without Unicode
    // properties \s would take them for part of a number.
    static const QRegularExpression re(QStringLiteral("\\s"), QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

// QString::arg with precision -1 gives six significant digits; the text form
// must read back to the same number.
QString shortest(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

} // namespace

ValueTransform::ValueTransform(const QString& text)
{
    if (!text.isEmpty())
        loadFromStr(text);
}

void ValueTransform::loadFromStr(const QString& text)
{
    formula_.clear();
    QString plain = text;
    plain.replace(QLatin1Char('('), QLatin1Char(' ')).replace(QLatin1Char(')'), QLatin1Char(' '));
    const QStringList parts = plain.split(whiteSpace(), Qt::SkipEmptyParts);
    const int pairs = parts.size() / 2;
    for (int i = 0; i < pairs; ++i)
        formula_.emplace_back(parts.at(2 * i).toDouble(), parts.at(2 * i + 1).toDouble());
}

double ValueTransform::transform(double x) const
{
    double sum = 0.0;
    for (const auto& term : formula_)
        sum += term.first * std::pow(x, term.second);
    return sum;
}

QString ValueTransform::str() const
{
    QString text;
    for (const auto& term : formula_)
        text += QCoreApplication::translate("harq::ValueTransform", "(%1 %2) ")
                    .arg(shortest(term.first), shortest(term.second));
    return text;
}

} // namespace harq
