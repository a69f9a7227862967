#include "station_session.h"

#include "console_clock.h"
#include "data_link.h"
#include "history_status.h"
#include "incident_catalogue.h"
#include "incident_tracker.h"
#include "link_banner.h"
#include "station_options.h"

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
    , console_(ship, link, alarms, ConsoleClock::system())
    , window_(ship, console_, link, alarms, options.mute)
    , sharing_(link.supervisor(), options.incident.console,
               IncidentTracker::sharedPoints(IncidentCatalogue::of(ship), console_.incident(), console_.alarms()))
{
}

StationSession::~StationSession() = default;

void StationSession::start(QTextStream& out)
{
    QObject::connect(&history_, &IncidentStore::stateChanged, [this](IncidentStore::State, const QString& problem) {
        if (problem.isEmpty())
            return;
        QTextStream(stderr) << "kelvane-station: " << problem << Qt::endl;
        window_.logText(problem);
    });
    history_.openOwn(history_file_);
    window_.statusBar()->addPermanentWidget(new HistoryStatus(history_, &window_));
    const AlarmFeed& feed = console_.feed();
    tracker_ = std::make_unique<IncidentTracker>(
        IncidentCatalogue::of(ship_), console_.incident(), console_.incidentCommands(), console_.alarms(),
        [&feed](int id) { return IncidentCatalogue::read(feed, id); }, history_, sharing_);
    QObject::connect(&feed, &AlarmFeed::valueChanged, tracker_.get(), &IncidentTracker::valueChanged);
    const QVector<IncidentEvent> before = history_.recent(kHistoryShown);
    for (const IncidentEvent& event : before)
        window_.logPastEvent(event);
    out << "history: " << before.size() << " events" << Qt::endl;
    QObject::connect(tracker_.get(), &IncidentTracker::remoteAction, &window_,
                     [this, &out](const IncidentEvent& event, bool caughtUp) {
                         // One caught up was shown with the history already.
                         if (!caughtUp)
                             window_.logEvent(event);
                         out << "incident: " << event.describe() << Qt::endl;
                     });
    QObject::connect(&sharing_, &IncidentSharing::publicationChanged, &window_.banner(), &LinkBanner::setPublication);
    QObject::connect(&sharing_, &IncidentSharing::publicationChanged, &window_,
                     [this, &out, shown = 0](int, int refused, int) mutable {
                         if (refused != shown)
                             out << "shared actions refused by " << link_.serverText() << ": " << refused << Qt::endl;
                         shown = refused;
                     });
    link_.start();
    window_.show();
}
