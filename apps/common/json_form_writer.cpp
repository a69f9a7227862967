#include "json_form_writer.h"

#include "json_layout.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>
#include <QStringList>

#include <cmath>
#include <utility>
#include <vector>

namespace {

// Beyond this a number is written with an exponent (limits such as 1e38).
constexpr double kLargestPlain = 1e15;
// Longest-common-subsequence tables larger than this pair elements in order instead.
constexpr long long kLargestTable = 4000000;
const QByteArray kDefaultColon = ": ";

QByteArray quoted(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

/// What an element is matched by: its id when it is an object that has one, else its value.
QJsonValue matchKey(const QJsonValue& element)
{
    const QJsonValue id = element.toObject().value(QStringLiteral("id"));
    return element.isObject() && id.isDouble() ? QJsonValue(QJsonObject{{QStringLiteral("id"), id}}) : element;
}

/// For each element of \a now, the index of the old element it takes the place of, or -1.
std::vector<int> align(const QJsonArray& old, const QJsonArray& now)
{
    const int n = old.size();
    const int m = now.size();
    std::vector<int> partner(std::size_t(m), -1);
    if (static_cast<long long>(n + 1) * (m + 1) > kLargestTable) {
        for (int j = 0; j < m && j < n; ++j)
            partner[std::size_t(j)] = j;
        return partner;
    }
    std::vector<QJsonValue> oldKeys, nowKeys;
    for (const QJsonValue& v : old)
        oldKeys.push_back(matchKey(v));
    for (const QJsonValue& v : now)
        nowKeys.push_back(matchKey(v));
    // lcs[i][j]: length of the common subsequence of old[i..] and now[j..].
    std::vector<std::vector<int>> lcs(std::size_t(n + 1), std::vector<int>(std::size_t(m + 1), 0));
    for (int i = n - 1; i >= 0; --i) {
        for (int j = m - 1; j >= 0; --j) {
            const auto ui = std::size_t(i), uj = std::size_t(j);
            lcs[ui][uj] = oldKeys[ui] == nowKeys[uj] ? lcs[ui + 1][uj + 1] + 1 : std::max(lcs[ui + 1][uj], lcs[ui][uj + 1]);
        }
    }
    // Walk the table; elements left over between two matches are paired in order.
    std::vector<int> oldGap, nowGap;
    auto closeGap = [&] {
        for (std::size_t k = 0; k < oldGap.size() && k < nowGap.size(); ++k)
            partner[std::size_t(nowGap[k])] = oldGap[k];
        oldGap.clear();
        nowGap.clear();
    };
    int i = 0, j = 0;
    while (i < n || j < m) {
        const auto ui = std::size_t(i), uj = std::size_t(j);
        if (i < n && j < m && oldKeys[ui] == nowKeys[uj]) {
            closeGap();
            partner[uj] = i++;
            ++j;
        } else if (j < m && (i == n || lcs[ui][uj + 1] >= lcs[ui + 1][uj])) {
            nowGap.push_back(j++);
        } else {
            oldGap.push_back(i++);
        }
    }
    closeGap();
    return partner;
}

} // namespace

QByteArray JsonFormWriter::write(const JsonLayout& layout, const QJsonValue& old, const QJsonValue& now)
{
    JsonFormWriter writer(layout);
    const JsonSpan& root = layout.root();
    writer.out_ = layout.text().left(root.begin);
    writer.value(root, old, now);
    writer.out_ += layout.text().mid(root.end);
    return writer.out_;
}

void JsonFormWriter::value(const JsonSpan& span, const QJsonValue& old, const QJsonValue& now)
{
    if (old == now) {
        out_ += layout_.text().mid(span.begin, span.end - span.begin);
    } else if (!span.children.empty() && old.isObject() && now.isObject()) {
        object(span, old.toObject(), now.toObject());
    } else if (!span.children.empty() && old.isArray() && now.isArray()) {
        array(span, old.toArray(), now.toArray());
    } else {
        fresh(now, &span, layout_.indentAt(span.keyBegin));
    }
}

void JsonFormWriter::object(const JsonSpan& span, const QJsonObject& old, const QJsonObject& now)
{
    const QByteArray& text = layout_.text();
    out_ += '{';
    int written = 0;
    QSet<QString> kept;
    for (std::size_t i = 0; i < span.children.size(); ++i) {
        const JsonSpan& child = span.children[i];
        // Of a name given twice the last counts, as for the reader.
        if (!now.contains(child.key) || span.member(child.key) != &child)
            continue;
        kept.insert(child.key);
        if (written++ > 0)
            out_ += ',';
        out_ += layout_.leadOf(span, int(i));
        out_ += text.mid(child.keyBegin, child.begin - child.keyBegin);
        value(child, old.value(child.key), now.value(child.key));
    }
    const JsonSpan& last = span.children.back();
    const QByteArray lead = layout_.leadOf(span, int(span.children.size()) - 1);
    const QByteArray nameAndColon = text.mid(last.keyBegin, last.begin - last.keyBegin);
    const QByteArray colon = nameAndColon.mid(nameAndColon.lastIndexOf('"') + 1);
    for (auto it = now.begin(); it != now.end(); ++it) {
        if (kept.contains(it.key()))
            continue;
        if (written++ > 0)
            out_ += ',';
        out_ += lead + quoted(it.key()) + colon;
        fresh(it.value(), nullptr, indentOf(lead));
    }
    out_ += layout_.tailOf(span);
    out_ += '}';
}

void JsonFormWriter::array(const JsonSpan& span, const QJsonArray& old, const QJsonArray& now)
{
    const std::vector<int> partner = align(old, now);
    out_ += '[';
    int previous = 0;
    for (int j = 0; j < now.size(); ++j) {
        if (j > 0)
            out_ += ',';
        const int i = partner[std::size_t(j)];
        // A new element takes the spacing of the old one before it, and its number forms.
        const int model = i >= 0 ? i : previous;
        const JsonSpan& neighbour = span.children[std::size_t(model)];
        const QByteArray lead = layout_.leadOf(span, model);
        out_ += lead;
        if (i >= 0)
            value(neighbour, old.at(i), now.at(j));
        else
            fresh(now.at(j), &neighbour, indentOf(lead));
        previous = model;
    }
    out_ += layout_.tailOf(span);
    out_ += ']';
}

void JsonFormWriter::fresh(const QJsonValue& now, const JsonSpan* like, const QByteArray& indent)
{
    const bool lines = multiline(like);
    const QByteArray inner = indent + layout_.indentUnit();
    const QByteArray separator = lines ? QByteArray(",\n") + inner : QByteArray(", ");
    const QByteArray open = lines ? QByteArray("\n") + inner : QByteArray();
    const QByteArray close = lines ? QByteArray("\n") + indent : QByteArray();
    if (now.isArray()) {
        const QJsonArray array = now.toArray();
        const JsonSpan* likeElement = like ? like->element(0) : nullptr;
        out_ += '[';
        for (int i = 0; i < array.size(); ++i) {
            out_ += i == 0 ? open : separator;
            fresh(array.at(i), likeElement, inner);
        }
        out_ += (array.isEmpty() ? QByteArray() : close) + ']';
    } else if (now.isObject()) {
        const QJsonObject object = now.toObject();
        // Keys in the order of the similar object, then the others.
        QStringList keys;
        if (like) {
            for (const JsonSpan& member : like->children) {
                if (object.contains(member.key) && !keys.contains(member.key))
                    keys.append(member.key);
            }
        }
        for (const QString& key : object.keys()) {
            if (!keys.contains(key))
                keys.append(key);
        }
        out_ += '{';
        for (const QString& key : keys) {
            out_ += key == keys.first() ? open : separator;
            out_ += quoted(key) + kDefaultColon;
            fresh(object.value(key), like ? like->member(key) : nullptr, inner);
        }
        out_ += (object.isEmpty() ? QByteArray() : close) + '}';
    } else if (now.isDouble()) {
        freshNumber(now.toDouble(), like);
    } else if (now.isString()) {
        out_ += quoted(now.toString());
    } else if (now.isBool()) {
        out_ += now.toBool() ? "true" : "false";
    } else {
        out_ += "null";
    }
}

void JsonFormWriter::freshNumber(double number, const JsonSpan* like)
{
    QByteArray text = QByteArray::number(number, std::fabs(number) < kLargestPlain ? 'f' : 'g',
                                         QLocale::FloatingPointShortest);
    if (text == "-0")
        text = "0";
    const QByteArray likeText = like ? layout_.text().mid(like->begin, like->end - like->begin) : QByteArray();
    const bool decimalForm = !likeText.isEmpty() && (likeText.at(0) == '-' || (likeText.at(0) >= '0' && likeText.at(0) <= '9'))
        && (likeText.contains('.') || likeText.contains('e') || likeText.contains('E'));
    if (decimalForm && !text.contains('.') && !text.contains('e'))
        text += ".0";
    out_ += text;
}

QByteArray JsonFormWriter::indentOf(const QByteArray& lead)
{
    const int newline = lead.lastIndexOf('\n');
    return newline < 0 ? QByteArray() : lead.mid(newline + 1);
}

bool JsonFormWriter::multiline(const JsonSpan* like) const
{
    if (like && !like->children.empty())
        return layout_.text().mid(like->begin, like->end - like->begin).contains('\n');
    return !layout_.indentUnit().isEmpty();
}
