#pragma once

#include "incident_sharing.h"
#include "incident_store.h"
#include "station_console.h"
#include "station_window.h"

#include <QString>

#include <memory>

class AlarmSettings;
class DataLink;
class HistoryStatus;
class IncidentTracker;
class QTextStream;
class Ship;
class StationOptions;
class StationSecurity;

/// The station at work: its window on the ship, the incident history and the
/// incident state shared with the other consoles through the data server,
/// wired as the station runs them. Besides the window it reports on a text
/// stream how many events the history held at start, every action another
/// console did ("incident: ...") and how many of its own the server refuses
/// ("shared actions refused by ..."), which is how scripts follow a running station.
///
/// With security (StationSecurity::isActive()) it signs and checks the shared
/// values, shows and prints every value refused ("refused shared value from
/// ..."), asks for an operator before acting, records the operator with each
/// action and keeps log-ins, refusals, link losses and file changes in the
/// audit trail. An audit trail that cannot be written (the history off, a full
/// disk, a read-only file) is said once, and again once it writes again: on
/// standard error, in the event log and in the status bar. Officers manage the
/// operators' accounts from the menu (AccountsDialog). Without security it
/// says once that the console runs unauthenticated.
class StationSession
{
public:
    /// The window on \a ship over \a link (owned by the caller, as it also
    /// serves the snapshot mode); nothing runs before start().
    StationSession(const Ship& ship, DataLink& link, const AlarmSettings& alarms, const StationOptions& options,
                   StationSecurity& security);
    ~StationSession();

    /// Opens the history and shows what it holds with the times it happened,
    /// ties the incident together, starts the link (with the sharing on it) and
    /// shows the window. A history that cannot be written does not stop the
    /// station: the status bar and standard error say so (IncidentStore::openOwn).
    void start(QTextStream& out);

    StationWindow& window() { return window_; }
    StationConsole& console() { return console_; }

private:
    void startSecurity(QTextStream& out);
    void showAudit(bool failing, const QString& problem);

    const Ship& ship_;
    DataLink& link_;
    QString history_file_;
    QString ship_file_;
    StationSecurity& security_;
    StationConsole console_;
    StationWindow window_;
    IncidentStore history_;
    IncidentSharing sharing_;
    QString console_name_;
    // Where the operator's choice of language is kept.
    QString settings_file_;
    std::unique_ptr<IncidentTracker> tracker_;
    HistoryStatus* history_status_ = nullptr;
};
