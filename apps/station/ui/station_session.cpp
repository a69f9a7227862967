#include "station_session.h"

#include "accounts_dialog.h"
#include "alarm_performance_dialog.h"
#include "console_clock.h"
#include "data_link.h"
#include "export_dialog.h"
#include "history_status.h"
#include "incident_catalogue.h"
#include "incident_tracker.h"
#include "kept_translated.h"
#include "language_menu.h"
#include "link_banner.h"
#include "operator_session.h"
#include "station_options.h"
#include "station_security.h"
#include "station_settings.h"
#include "value_verifier.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QAction>
#include <QMenu>
#include <QMetaEnum>
#include <QStatusBar>
#include <QTextStream>

namespace {

// Events of the history shown at start, as far back as a window shows.
constexpr int kHistoryShown = 1000;

} // namespace

StationSession::StationSession(const Ship& ship, DataLink& link, const AlarmSettings& alarms,
                               const StationOptions& options, StationSecurity& security)
    : ship_(ship)
    , link_(link)
    , history_file_(options.incident.historyFile)
    , ship_file_(options.shipFile)
    , security_(security)
    , console_(ship, link, alarms, ConsoleClock::system())
    , window_(ship, console_, link, alarms, options.mute)
    , sharing_(link.supervisor(), options.incident.console,
               IncidentTracker::sharedPoints(IncidentCatalogue::of(ship), console_.incident(), console_.alarms()))
    , console_name_(options.incident.console)
    , settings_file_(options.settingsFile)
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
    history_status_ = new HistoryStatus(history_, &window_);
    window_.statusBar()->addPermanentWidget(history_status_);
    // A silence is this console's own: recorded, not shared.
    QObject::connect(&console_.commands(), &AlarmCommands::silenced, &window_, [this] {
        const int waiting = console_.alarms().unacknowledged().size();
        history_.record({QDateTime::currentMSecsSinceEpoch(), IncidentEvent::Kind::Silenced, QString(),
                         QCoreApplication::translate("StationSession", "%1 条报警未确认").arg(waiting), console_name_, QString()});
    });
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
    startSecurity(out);
    QAction* exporting = window_.reportMenu()->addAction(QString(), &window_, [this] {
        auto* dialog = new ExportDialog(history_, &window_);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
    keepTranslated(window_.reportMenu(), [exporting] { exporting->setText(ExportDialog::tr("导出事件报告...")); });
    QObject::connect(&window_.languages(), &LanguageMenu::languageChosen, &window_, [this](const QString& language) {
        QString error;
        if (!StationSettings::remember(settings_file_, QStringLiteral("console/language"), language, &error))
            window_.logText(error);
    });
    AlarmPerformanceDialog::addTo(*window_.reportMenu(), window_, history_);
    link_.start();
    window_.show();
}

void StationSession::startSecurity(QTextStream& out)
{
    window_.setOperators(security_.session());
    if (!security_.isActive()) {
        out << "unauthenticated console: shared values are not signed and actions need no log-in" << Qt::endl;
        return;
    }
    QObject::connect(&security_.audit(), &AuditTrail::failingChanged, &window_,
                     [this](bool failing, const QString& problem) { showAudit(failing, problem); });
    // Not beside a history this station does not write: another station's, or one it cannot write.
    QString error;
    if (history_.state() == IncidentStore::State::Off)
        showAudit(true, QCoreApplication::translate("StationSession", "历史未记录, 审计记录不会写入: %1")
                            .arg(history_.problem()));
    else
        security_.openAudit(history_file_, ship_file_, &error); // a failure is reported through failingChanged
    AccountsDialog::addTo(window_, *security_.session());
    security_.secure(sharing_, history_.lastActionValues());
    out << "authenticated console " << security_.console() << ": shared values signed and checked" << Qt::endl;
    QObject::connect(security_.verifier(), &ValueVerifier::refused, &window_,
                     [this, &out](const ValueVerifier::Refusal& refusal) {
                         window_.notify(ValueVerifier::describe(refusal));
                         out << "refused shared value from " << refusal.console << ": "
                             << QMetaEnum::fromType<ValueVerifier::Outcome>().valueToKey(int(refusal.cause)) << ' '
                             << refusal.point << Qt::endl;
                     });
    OperatorSession* operators = security_.session();
    QObject::connect(operators, &OperatorSession::changed, tracker_.get(),
                     [this, operators] { tracker_->setOperatorName(operators->operatorName()); });
    QObject::connect(&link_, &DataLink::connectionChanged, &window_, [this, operators](bool connected) {
        if (!connected)
            security_.audit().append(AuditTrail::Kind::LinkLost, operators->operatorName(), security_.console(),
                                     link_.serverText());
    });
}

void StationSession::showAudit(bool failing, const QString& problem)
{
    const QString text = failing ? problem : QCoreApplication::translate("StationSession", "审计记录恢复写入");
    QTextStream(stderr) << "kelvane-station: " << text << Qt::endl;
    window_.logText(text);
    history_status_->showAudit(failing, problem);
}
