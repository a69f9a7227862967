#include "station_session.h"

#include "data_link.h"
#include "event_log.h"
#include "incident_tracker.h"
#include "station_options.h"

#include <QDateTime>
#include <QTextStream>

namespace {

// Events of the history shown at start, as far back as a window shows.
constexpr int kHistoryShown = 1000;

} // namespace

StationSession::StationSession(const Ship& ship, DataLink& link, const AlarmSettings& alarms,
                               const StationOptions& options)
    : ship_(ship)
    , link_(link)
    , history_file_(options.incident.historyFile)
    , window_(ship, link, alarms, options.mute)
    , sharing_(options.address, options.port, options.incident.console, IncidentTracker::sharedPoints(ship))
{
    sharing_.setTls(options.tls.settings);
}

StationSession::~StationSession() = default;

bool StationSession::start(QTextStream& out, QString* error)
{
    if (!history_.open(history_file_, error))
        return false;
    tracker_ = std::make_unique<IncidentTracker>(ship_, window_.plan(), history_, sharing_);
    tracker_->followAlarms(window_.alarms());
    const QVector<IncidentEvent> before = history_.recent(kHistoryShown);
    for (const IncidentEvent& event : before)
        window_.eventLog().logAt(QDateTime::fromMSecsSinceEpoch(event.msecs), event.describe());
    out << "history: " << before.size() << " events" << Qt::endl;
    QObject::connect(tracker_.get(), &IncidentTracker::remoteAction, &window_, [this, &out](const IncidentEvent& event) {
        window_.eventLog().log(event.describe());
        out << "incident: " << event.describe() << Qt::endl;
    });
    link_.start();
    sharing_.open();
    window_.show();
    return true;
}
