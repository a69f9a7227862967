#pragma once

#include <QByteArray>
#include <QJsonValue>

class JsonLayout;
struct JsonSpan;

/// Writes a changed JSON document in the form of the text it was read from, so
/// that a line-by-line comparison of the two texts shows only what changed.
///
/// - A value equal to the one read is copied from the text byte for byte.
/// - Members keep the order and the spacing of the text; a new member follows
///   the last one, in its spacing. Elements of an array are matched to the old
///   ones by their "id" member when they are objects that have one, by value
///   otherwise (longest common subsequence); what is left over is paired in order.
/// - A value written anew takes the indentation the text uses (one element per
///   line when the text is indented, one line otherwise); a new object in an
///   array takes the key order of the element before it.
/// - A number written anew takes the shortest decimal form that reads back as
///   the same double (at most 17 significant digits, no exponent below 1e15), so
///   a position stays exactly where the engineer put it; it keeps a decimal point
///   when the number it replaces, or its neighbour in the text, had one ("150.0").
class JsonFormWriter
{
public:
    /// \a now written in the form of \a layout's text, which held \a old.
    static QByteArray write(const JsonLayout& layout, const QJsonValue& old, const QJsonValue& now);

private:
    explicit JsonFormWriter(const JsonLayout& layout) : layout_(layout) {}

    /// \a now in the place of \a span, which held \a old.
    void value(const JsonSpan& span, const QJsonValue& old, const QJsonValue& now);
    void object(const JsonSpan& span, const QJsonObject& old, const QJsonObject& now);
    void array(const JsonSpan& span, const QJsonArray& old, const QJsonArray& now);
    /// \a now written without an old text; \a like is a similar value of the text, or null.
    void fresh(const QJsonValue& now, const JsonSpan* like, const QByteArray& indent);
    void freshNumber(double number, const JsonSpan* like);
    /// The element's text indentation, or null bytes when the lead stays on the line.
    static QByteArray indentOf(const QByteArray& lead);
    bool multiline(const JsonSpan* like) const;

    const JsonLayout& layout_;
    QByteArray out_;
};
