#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

/// One value of a JSON text: where it lies and, for arrays and objects, where
/// its members lie. Offsets are bytes of the UTF-8 text.
struct JsonSpan
{
    int begin = 0;     ///< first byte of the value
    int end = 0;       ///< one past its last byte
    int line = 1;      ///< line of its first byte, counted from 1
    int keyBegin = -1; ///< first byte of the member's quoted name; begin for array elements and the root
    QString key;       ///< the member's name, empty for array elements
    std::vector<JsonSpan> children;

    /// The member named \a name (the last one, as QJsonDocument keeps), or null.
    const JsonSpan* member(const QString& name) const;
    /// The element at \a index, or null.
    const JsonSpan* element(int index) const;
};

/// The layout of a JSON text, so that a changed document can be written back in
/// the text's own form and a reader can name the line of a faulty entry.
///
/// The text is expected to be one QJsonDocument accepted; anything else is
/// refused (scan() false) without reading past the text. Nesting is bounded as
/// QJsonDocument bounds it.
class JsonLayout
{
public:
    bool scan(const QByteArray& text);

    const QByteArray& text() const { return text_; }
    const JsonSpan& root() const { return root_; }
    /// The whitespace that opens the line holding byte \a offset.
    QByteArray indentAt(int offset) const;
    /// One level of indentation as the text uses it; empty for a text on one line.
    const QByteArray& indentUnit() const { return unit_; }
    /// The text between member or element \a index's predecessor (its comma, or
    /// the opening bracket) and the start of the member.
    QByteArray leadOf(const JsonSpan& container, int index) const;
    /// The text between the last member and the closing bracket.
    QByteArray tailOf(const JsonSpan& container) const;

private:
    bool value(JsonSpan* span, int depth);
    bool container(JsonSpan* span, char close, int depth);
    bool string();
    void skipSpace();
    bool at(char c) const { return pos_ < text_.size() && text_.at(pos_) == c; }
    QString keyAt(int begin, int end) const;

    QByteArray text_;
    QByteArray unit_;
    JsonSpan root_;
    int pos_ = 0;
    int line_ = 1;
};
