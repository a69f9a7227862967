#include "incident_export.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include <cmath>
#include <limits>

namespace {

constexpr double kMsPerSecond = 1000.0;
constexpr int kPdfResolution = 300;
const char kTimeFormat[] = "yyyy-MM-dd hh:mm:ss.zzz";

QString timeText(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs).toString(QLatin1String(kTimeFormat));
}

bool whole(double value)
{
    return std::floor(value) == value && value >= std::numeric_limits<qint32>::min()
        && value <= std::numeric_limits<qint32>::max();
}

QJsonValue jsonValue(double value, bool integer)
{
    if (integer)
        return QJsonValue(qint64(value));
    // JSON has no infinity (it would be written as null, which the server
    // cannot play): the largest finite value is just as far past every limit.
    if (std::isinf(value))
        return QJsonValue(std::copysign(std::numeric_limits<double>::max(), value));
    return QJsonValue(value);
}

// A spreadsheet runs a cell starting with one of these as a formula; names and
// values come from the network, so such a cell is written as text.
bool formulaLike(const QString& text)
{
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && kFormulaStarts.contains(text.front());
}

QString csvField(const QString& text)
{
    QString quoted = formulaLike(text) ? QLatin1Char('\'') + text : text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// One row of the PDF's table, every cell of tag \a cell.
QString row(const QString& cell, const QStringList& texts)
{
    QString html = QStringLiteral("<tr>");
    for (const QString& text : texts)
        html += QStringLiteral("<%1>%2</%1>").arg(cell, text.toHtmlEscaped());
    return html + QStringLiteral("</tr>");
}

bool save(const QString& path, const QByteArray& bytes, QString* error)
{
    // A device or a pipe (/dev/stdout) is written in place: a save file would replace it.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile()) {
        QFile device(path);
        if (device.open(QIODevice::WriteOnly) && device.write(bytes) == bytes.size() && device.flush())
            return true;
        *error = IncidentExport::tr("无法写入 %1: %2").arg(path, device.errorString());
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = IncidentExport::tr("无法写入 %1: %2").arg(path, file.errorString());
    return false;
}

} // namespace

IncidentExport::IncidentExport(IncidentStore& store, qint64 from, qint64 to)
    : from_(from)
    , to_(to)
    , events_(store.between(from, to))
    , initial_(store.lastSamplesAt(from - 1))
    , samples_(store.samples(from, to))
    , origin_(samples_.isEmpty() ? from : samples_.first().msecs)
    , performance_(store, from, to)
{
}

QJsonObject IncidentExport::scenario() const
{
    // A point is written as an integer only when every value of it is whole.
    QHash<QString, bool> integer;
    QStringList order;
    for (const auto* list : {&initial_, &samples_}) {
        for (const IncidentStore::Sample& sample : *list) {
            if (!integer.contains(sample.tag))
                order.append(sample.tag);
            integer[sample.tag] = integer.value(sample.tag, true) && whole(sample.value);
        }
    }
    QHash<QString, double> start;
    for (const IncidentStore::Sample& sample : initial_)
        start.insert(sample.tag, sample.value);
    for (const IncidentStore::Sample& sample : samples_) {
        if (!start.contains(sample.tag))
            start.insert(sample.tag, sample.value);
    }

    QJsonArray points;
    for (const QString& tag : qAsConst(order)) {
        const bool isInt = integer.value(tag);
        points.append(QJsonObject{{QStringLiteral("name"), tag},
                                  {QStringLiteral("type"), isInt ? QStringLiteral("int") : QStringLiteral("double")},
                                  {QStringLiteral("value"), jsonValue(start.value(tag), isInt)}});
    }
    QJsonArray events;
    for (const IncidentStore::Sample& sample : samples_) {
        events.append(QJsonObject{{QStringLiteral("at"), double(sample.msecs - origin_) / kMsPerSecond},
                                  {QStringLiteral("name"), sample.tag},
                                  {QStringLiteral("value"), jsonValue(sample.value, integer.value(sample.tag))}});
    }
    return QJsonObject{{QStringLiteral("points"), points}, {QStringLiteral("events"), events},
                       {QStringLiteral("repeat"), false}};
}

bool IncidentExport::writeScenario(const QString& path, QString* error) const
{
    return save(path, QJsonDocument(scenario()).toJson(), error);
}

bool IncidentExport::writeKpi(const QString& path, QString* error) const
{
    return save(path, QJsonDocument(performance_.toJson()).toJson(), error);
}

bool IncidentExport::writeCsv(const QString& path, QString* error) const
{
    // New columns go at the end: scripts read the first five by position.
    QStringList lines{QStringList{tr("时间"), tr("类别"), tr("位置"), tr("控制台"), tr("测点"), tr("优先级"),
                                  tr("损害类型"), tr("搁置原因")}
                          .join(QLatin1Char(','))};
    for (const IncidentEvent& event : events_) {
        lines.append(QStringList{csvField(timeText(event.msecs)), csvField(IncidentEvent::kindText(event.kind)),
                                 csvField(event.place), csvField(event.console), csvField(event.subject),
                                 csvField(event.priority), csvField(event.damage), csvField(event.shelveReason())}
                         .join(QLatin1Char(',')));
    }
    return save(path, (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8(), error);
}

QString IncidentExport::title() const
{
    return tr("事件报告 %1 至 %2").arg(timeText(from_), timeText(to_));
}

bool IncidentExport::writePdf(const QString& path, QString* error) const
{
    const QStringList headers{tr("时间"), tr("类别"), tr("优先级"), tr("损害类型"), tr("位置"), tr("控制台"), tr("搁置原因")};
    QString html = QStringLiteral("<h2>%1</h2><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">")
                       .arg(title().toHtmlEscaped());
    html += row(QStringLiteral("th"), headers);
    for (const IncidentEvent& event : events_) {
        html += row(QStringLiteral("td"), {timeText(event.msecs), IncidentEvent::kindText(event.kind), event.priority,
                                           event.damage, event.place, event.console, event.shelveReason()});
    }
    html += QStringLiteral("</table>") + performance_.toHtml();

    // Made in memory and saved as the other files are, so a full disk is noticed.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(kPdfResolution);
        writer.setTitle(title());
        QTextDocument document;
        document.setHtml(html);
        document.print(&writer);
    }
    return save(path, pdf.data(), error);
}
