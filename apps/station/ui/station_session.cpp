#include "station_session.h"

#include "data_link.h"
#include "event_log.h"
#include "history_status.h"
#include "incident_tracker.h"
#include "station_options.h"

#include <QDateTime>
#include <QStatusBar>
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
}

StationSession::~StationSession() = default;

void StationSession::start(QTextStream& out)
{
    QObject::connect(&history_, &IncidentStore::stateChanged, [this](IncidentStore::State, const QString& problem) {
        if (problem.isEmpty())
            return;
        QTextStream(stderr) << "kelvane-station: " << problem << Qt::endl;
        window_.eventLog().log(problem);
    });
    history_.openOwn(history_file_);
    window_.statusBar()->addPermanentWidget(new HistoryStatus(history_, &window_));
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
}
