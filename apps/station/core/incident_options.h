#pragma once

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QString>

class QCommandLineParser;

/// The station's command-line options for its incident history, the shared
/// incident state and the export of an incident (docs/station.md).
///
/// An export (--export-from and --export-to with at least one of the output
/// files) reads the history and exits without connecting or showing a window;
/// export times without an output file are refused, as is a console name
/// holding a control character.
class IncidentOptions
{
    Q_DECLARE_TR_FUNCTIONS(IncidentOptions)

public:
    IncidentOptions();

    /// This console's name in the shared state: the host name unless given.
    QString console;
    /// The history database: incident-<console>.sqlite in the user's data folder unless given.
    QString historyFile;
    /// The incident to export, in ms since the epoch; valid only when exporting.
    qint64 from = 0;
    qint64 to = 0;
    QString scenarioOut;
    QString csvOut;
    QString pdfOut;
    /// The alarm-system performance figures (AlarmPerformance), as JSON.
    QString kpiOut;

    /// True when an export was asked for; checked before the application
    /// exists, so the offscreen platform can be chosen in time.
    static bool wantsExport(int argc, char** argv);
    bool exporting() const
    {
        return !scenarioOut.isEmpty() || !csvOut.isEmpty() || !pdfOut.isEmpty() || !kpiOut.isEmpty();
    }

    void addTo(QCommandLineParser& parser) const;
    /// Reads the values after parsing; false with \a error set on bad values.
    bool read(const QCommandLineParser& parser, QString* error);

    /// A time as given on the command line: ISO 8601 (local time unless it
    /// says otherwise) or milliseconds since the epoch; -1 when it is neither.
    static qint64 parseTime(const QString& text);

private:
    QCommandLineOption console_;
    QCommandLineOption history_;
    QCommandLineOption from_;
    QCommandLineOption to_;
    QCommandLineOption scenario_;
    QCommandLineOption csv_;
    QCommandLineOption pdf_;
    QCommandLineOption kpi_;
};
