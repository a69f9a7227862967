#include "json_layout.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// QJsonDocument refuses deeper nesting, so the scan never recurses further.
constexpr int kDeepest = 1024;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool endsLiteral(char c)
{
    return isSpace(c) || c == ',' || c == ']' || c == '}' || c == ':';
}

} // namespace

const JsonSpan* JsonSpan::member(const QString& name) const
{
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (it->key == name)
            return &*it;
    }
    return nullptr;
}

const JsonSpan* JsonSpan::element(int index) const
{
    return index >= 0 && std::size_t(index) < children.size() ? &children[std::size_t(index)] : nullptr;
}

bool JsonLayout::scan(const QByteArray& text)
{
    text_ = text;
    unit_.clear();
    root_ = JsonSpan();
    pos_ = 0;
    line_ = 1;
    if (!value(&root_, 0))
        return false;
    skipSpace();
    if (pos_ != text_.size())
        return false;
    if (!root_.children.empty()) {
        const QByteArray lead = leadOf(root_, 0);
        const int newline = lead.lastIndexOf('\n');
        if (newline >= 0)
            unit_ = lead.mid(newline + 1).mid(indentAt(root_.begin).size());
    }
    return true;
}

QByteArray JsonLayout::indentAt(int offset) const
{
    const int start = text_.lastIndexOf('\n', offset - 1) + 1;
    int end = start;
    while (end < offset && (text_.at(end) == ' ' || text_.at(end) == '\t'))
        ++end;
    return text_.mid(start, end - start);
}

QByteArray JsonLayout::leadOf(const JsonSpan& container, int index) const
{
    const JsonSpan& child = container.children[std::size_t(index)];
    const int start = index == 0 ? container.begin + 1
                                 : text_.indexOf(',', container.children[std::size_t(index) - 1].end) + 1;
    return text_.mid(start, child.keyBegin - start);
}

QByteArray JsonLayout::tailOf(const JsonSpan& container) const
{
    const int start = container.children.empty() ? container.begin + 1 : container.children.back().end;
    return text_.mid(start, container.end - 1 - start);
}

bool JsonLayout::value(JsonSpan* span, int depth)
{
    skipSpace();
    if (pos_ >= text_.size() || depth > kDeepest)
        return false;
    span->begin = pos_;
    span->line = line_;
    if (span->keyBegin < 0)
        span->keyBegin = pos_;
    bool ok = true;
    switch (text_.at(pos_)) {
    case '{':
        ok = container(span, '}', depth);
        break;
    case '[':
        ok = container(span, ']', depth);
        break;
    case '"':
        ok = string();
        break;
    default:
        while (pos_ < text_.size() && !endsLiteral(text_.at(pos_)))
            ++pos_;
        ok = pos_ > span->begin;
    }
    span->end = pos_;
    return ok;
}

bool JsonLayout::container(JsonSpan* span, char close, int depth)
{
    const bool object = close == '}';
    ++pos_;
    skipSpace();
    if (at(close)) {
        ++pos_;
        return true;
    }
    for (;;) {
        JsonSpan child;
        skipSpace();
        if (object) {
            child.keyBegin = pos_;
            if (!at('"') || !string())
                return false;
            child.key = keyAt(child.keyBegin, pos_);
            skipSpace();
            if (!at(':'))
                return false;
            ++pos_;
        }
        if (!value(&child, depth + 1))
            return false;
        span->children.push_back(std::move(child));
        skipSpace();
        if (at(',')) {
            ++pos_;
            continue;
        }
        if (!at(close))
            return false;
        ++pos_;
        return true;
    }
}

bool JsonLayout::string()
{
    for (++pos_; pos_ < text_.size(); ++pos_) {
        const char c = text_.at(pos_);
        if (c == '\\') {
            ++pos_;
        } else if (c == '"') {
            ++pos_;
            return true;
        }
    }
    return false;
}

void JsonLayout::skipSpace()
{
    while (pos_ < text_.size() && isSpace(text_.at(pos_))) {
        if (text_.at(pos_) == '\n')
            ++line_;
        ++pos_;
    }
}

QString JsonLayout::keyAt(int begin, int end) const
{
    const QByteArray quoted = text_.mid(begin, end - begin);
    if (!quoted.contains('\\'))
        return QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
    return QJsonDocument::fromJson('[' + quoted + ']').array().at(0).toString();
}
