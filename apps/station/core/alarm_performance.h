#pragma once

#include "incident_event.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QVector>

class IncidentStore;

/// How the alarm system performed over a time range of a station's history:
/// the alarm rates an operator faced, the time spent in flood, the alarms that
/// came most often, chattering alarms and alarms left standing. Every figure is
/// defined in docs/station.md ("Alarm-system performance").
///
/// A history belongs to one console and one operator watches a console, so
/// the rates per 10 minutes are per operator. Only alarm transitions count
/// (raised, cleared), per sensor item; acknowledgements and shelving do not.
class AlarmPerformance
{
    Q_DECLARE_TR_FUNCTIONS(AlarmPerformance)

public:
    static constexpr qint64 kWindowMs = 10 * 60 * 1000;
    /// More than this many alarms within kWindowMs is a flood.
    static constexpr int kFloodAlarms = 10;
    static constexpr qint64 kChatterMs = 60 * 1000;
    /// This many raises of one item within kChatterMs is chattering.
    static constexpr int kChatterRaises = 3;
    static constexpr qint64 kStandingMs = 24LL * 60 * 60 * 1000;
    static constexpr int kMostFrequentShown = 10;

    /// An item with how often it was raised in the range.
    struct Frequent {
        QString tag;
        QString place;
        int raised = 0;
        /// The most raises within kChatterMs (chattering items only).
        int mostPerMinute = 0;
    };
    /// An item that stood raised for more than kStandingMs.
    struct Standing {
        QString tag;
        QString place;
        qint64 raisedMsecs = 0;
        /// Until it cleared, or until the end of the range.
        qint64 standingMs = 0;
    };

    /// Reads what the figures need from \a store: the range \a from to \a to
    /// (ms since the epoch, inclusive) and, for the standing alarms, the
    /// transitions before it.
    AlarmPerformance(IncidentStore& store, qint64 from, qint64 to);
    /// The figures of \a events (oldest first, ending at \a to at the latest).
    AlarmPerformance(const QVector<IncidentEvent>& events, qint64 from, qint64 to);

    int alarms() const { return alarms_; }
    double averagePer10Min() const;
    int peakPer10Min() const { return peak_; }
    /// Share of the range spent in flood, 0 to 1.
    double floodShare() const;
    /// Up to kMostFrequentShown items, most raised first.
    const QVector<Frequent>& mostFrequent() const { return most_frequent_; }
    const QVector<Frequent>& chattering() const { return chattering_; }
    const QVector<Standing>& standing() const { return standing_; }

    /// The figures under the keys of --kpi-out (IncidentExport::writeKpi()).
    QJsonObject toJson() const;
    /// The figures as a report section, for the PDF report and the station's dialog.
    QString toHtml() const;

private:
    void countRates(const QVector<qint64>& raises);

    qint64 from_;
    qint64 to_;
    int alarms_ = 0;
    int peak_ = 0;
    qint64 flood_ms_ = 0;
    QVector<Frequent> most_frequent_;
    QVector<Frequent> chattering_;
    QVector<Standing> standing_;
};
