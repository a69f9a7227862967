#pragma once

#include "alarm_performance.h"
#include "incident_event.h"
#include "incident_store.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QVector>

/// One incident, a time range of a station's history, written out: as a
/// scenario the reference data server plays (the booked points' values, so the
/// alarms come and go as they did), and as a report of alarms,
/// acknowledgements and actions with their times, in CSV and in PDF, with the
/// alarm-system performance over the range (AlarmPerformance) in the PDF and as JSON.
///
/// The scenario starts every point at its last value before the range and
/// replays each recorded value at its offset from the first value recorded in
/// the range (a range opened long before the incident does not make the
/// replay wait for it). Operator actions
/// stay out of the scenario (a crew in training acts itself); they are in the
/// reports. The PDF needs a GUI application (the offscreen platform will do).
/// An infinite value is written as the largest finite one (JSON has none), and
/// a CSV cell a spreadsheet would run as a formula gets a leading quote.
class IncidentExport
{
    Q_DECLARE_TR_FUNCTIONS(IncidentExport)

public:
    /// Reads the range \a from to \a to (ms since the epoch, inclusive) from \a store.
    IncidentExport(IncidentStore& store, qint64 from, qint64 to);

    const QVector<IncidentEvent>& events() const { return events_; }
    /// The alarm-system performance over the range.
    const AlarmPerformance& performance() const { return performance_; }
    /// The scenario in the data server's format (docs/dataserver.md).
    QJsonObject scenario() const;

    /// Each writes its file; false with \a error set when it cannot.
    bool writeScenario(const QString& path, QString* error) const;
    bool writeCsv(const QString& path, QString* error) const;
    bool writePdf(const QString& path, QString* error) const;
    /// The performance figures as JSON (AlarmPerformance::toJson()).
    bool writeKpi(const QString& path, QString* error) const;

private:
    QString title() const;

    qint64 from_;
    qint64 to_;
    QVector<IncidentEvent> events_;
    QVector<IncidentStore::Sample> initial_;
    QVector<IncidentStore::Sample> samples_;
    // Time zero of the scenario.
    qint64 origin_;
    AlarmPerformance performance_;
};
