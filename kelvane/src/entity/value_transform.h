#pragma once

#include "kelvane_export.h"

#include <QString>

#include <utility>
#include <vector>

namespace harq {

/// Converts a raw data-point value into an engineering value: a sum of terms,
/// each a coefficient times the raw value raised to an exponent.
///
/// Text form: numbers separated by white space and/or parentheses, read as
/// (coefficient, exponent) pairs, e.g. "(0.5 1) (10 0) " for 0.5·x + 10.
class KELVANE_EXPORT ValueTransform
{
public:
    /// Empty formula (0 for every input) unless \a text is given.
    explicit ValueTransform(const QString& text = QString());

    /// Replaces the formula by the terms read from \a text. Never fails:
    /// unparsable numbers read as 0, a dangling last number is dropped.
    void loadFromStr(const QString& text);
    /// Sum of coefficient · pow(x, exponent) over all terms.
    double transform(double x) const;
    /// The formula in canonical text form, one "(c e) " group per term.
    QString str() const;

private:
    using Formula = std::vector<std::pair<double, double>>;
    Formula formula_;
};

} // namespace harq
