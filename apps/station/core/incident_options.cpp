#include "incident_options.h"

#include "example_options.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QHostInfo>
#include <QStandardPaths>

#include <algorithm>
#include <iterator>

namespace {

const char* const kOutputFlags[] = {"--scenario-out", "--csv-out", "--pdf-out", "--kpi-out"};

} // namespace

IncidentOptions::IncidentOptions()
    : console_(QStringLiteral("console"), tr("本控制台在共享事件状态中的名称(默认为主机名)。"), QStringLiteral("name"))
    , history_(QStringLiteral("history"), tr("历史数据库文件(默认为用户数据目录下的 incident-<名称>.sqlite)。"),
               QStringLiteral("file"))
    , from_(QStringLiteral("export-from"), tr("导出事件的开始时间(ISO 8601 或毫秒)。"), QStringLiteral("time"))
    , to_(QStringLiteral("export-to"), tr("导出事件的结束时间(ISO 8601 或毫秒)。"), QStringLiteral("time"))
    , scenario_(QStringLiteral("scenario-out"), tr("把事件导出为数据服务器的场景文件。"), QStringLiteral("file"))
    , csv_(QStringLiteral("csv-out"), tr("把事件报告写成 CSV 文件。"), QStringLiteral("file"))
    , pdf_(QStringLiteral("pdf-out"), tr("把事件报告写成 PDF 文件。"), QStringLiteral("file"))
    , kpi_(QStringLiteral("kpi-out"), tr("把报警系统性能指标写成 JSON 文件。"), QStringLiteral("file"))
{
}

bool IncidentOptions::wantsExport(int argc, char** argv)
{
    return std::any_of(std::begin(kOutputFlags), std::end(kOutputFlags),
                       [argc, argv](const char* flag) { return exampleapp::hasOption(argc, argv, flag); });
}

void IncidentOptions::addTo(QCommandLineParser& parser) const
{
    parser.addOptions({console_, history_, from_, to_, scenario_, csv_, pdf_, kpi_});
}

qint64 IncidentOptions::parseTime(const QString& text)
{
    bool number = false;
    const qint64 msecs = text.toLongLong(&number);
    if (number)
        return msecs >= 0 ? msecs : -1;
    const QDateTime at = QDateTime::fromString(text, Qt::ISODateWithMs);
    return at.isValid() ? at.toMSecsSinceEpoch() : -1;
}

bool IncidentOptions::read(const QCommandLineParser& parser, QString* error)
{
    console = parser.isSet(console_) ? parser.value(console_) : QHostInfo::localHostName();
    if (console.isEmpty())
        console = QStringLiteral("station");
    // The name goes into lines scripts read and into values other consoles parse.
    const auto control = std::find_if(console.cbegin(), console.cend(), [](QChar c) {
        return c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
            || c.category() == QChar::Separator_Paragraph;
    });
    if (control != console.cend()) {
        *error = tr("控制台名称不能含控制字符(U+%1)").arg(control->unicode(), 4, 16, QLatin1Char('0'));
        return false;
    }
    historyFile = parser.value(history_);
    if (historyFile.isEmpty()) {
        const QDir data(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
        historyFile = data.filePath(QStringLiteral("incident-%1.sqlite").arg(console));
    }
    scenarioOut = parser.value(scenario_);
    csvOut = parser.value(csv_);
    pdfOut = parser.value(pdf_);
    kpiOut = parser.value(kpi_);
    if (!exporting()) {
        if (!parser.isSet(from_) && !parser.isSet(to_))
            return true;
        *error = tr("--export-from 和 --export-to 需要至少一个输出文件(--scenario-out, --csv-out, --pdf-out 或 --kpi-out)");
        return false;
    }
    from = parseTime(parser.value(from_));
    to = parseTime(parser.value(to_));
    if (from < 0 || to < 0 || to < from) {
        *error = tr("导出需要有效的 --export-from 和 --export-to 时间(开始不晚于结束): %1 %2")
                     .arg(parser.value(from_), parser.value(to_));
        return false;
    }
    return true;
}
