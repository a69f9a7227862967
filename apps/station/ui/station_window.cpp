#include "station_window.h"

#include "alarm_list.h"
#include "alarm_settings.h"
#include "alarm_sound.h"
#include "alarm_table.h"
#include "compartment_menu.h"
#include "data_link.h"
#include "deck_plan.h"
#include "deck_switcher.h"
#include "event_log.h"
#include "incident_event.h"
#include "kept_translated.h"
#include "language_menu.h"
#include "link_banner.h"
#include "operator_bar.h"
#include "plan_marks.h"
#include "sensor_detail.h"
#include "shelve_dialog.h"
#include "ship.h"
#include "station_console.h"
#include "station_palette.h"
#include "zoom_keeper.h"

#include "config/sensor_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/view_group.h"
#include "view/deck_scene.h"
#include "view/deck_view_complex.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QDateTime>
#include <QDockWidget>
#include <QGraphicsItem>
#include <QLabel>
#include <QMouseEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr qreal kZoomStep = 1.2;
constexpr qint64 kMsPerMinute = 60000;
constexpr qreal kMinZoom = 0.9;   // of the fitted scale
constexpr qreal kMaxZoom = 20.0;
// Sensor codes on lines lower than this, in pixels, cannot be read: not drawn.
constexpr qreal kSmallestReadableLabel = 6.0;
constexpr int kInitialWidth = 1600;
constexpr int kInitialHeight = 1000;
// The first values of a connection come in several batches; the busiest deck
// is chosen once they have settled.
constexpr int kFirstPictureMs = 1500;
// A press and release closer than this are a click, not a drag.
constexpr int kClickSlop = 4;
constexpr int kPlanHeight = 600;
constexpr int kListHeight = 300;
constexpr int kAlarmListStretch = 3;
constexpr int kLogStretch = 2;
// Half the extent of the plan shown around a sensor picked from the alarm list.
const QPointF kSensorView(300.0, 150.0);
const char kTitleStyle[] = "font-weight: bold; padding: 2px;";
// Steps day, dusk, night and round again, so the watch can dim without the mouse.
const char kNextPaletteKey[] = "Ctrl+Shift+P";

harq::Sensor* sensorAt(const QList<QGraphicsItem*>& items)
{
    for (const QGraphicsItem* item : items) {
        if (harq::Sensor* sensor = DeckPlan::sensorOf(item))
            return sensor;
    }
    return nullptr;
}

QStringList deckNames(const Ship& ship)
{
    QStringList names;
    for (const harq::Deck* deck : ship.decks())
        names.append(deck->name());
    return names;
}

// Blue-grey like the banner: a frozen picture is not an alarm.
QString connectionStyle(bool connected)
{
    return connected ? QString()
                     : QStringLiteral("color: %1; font-weight: bold;").arg(StationPalette::instance().staleText().name());
}

/// \a content under a title whose text \a setTitle sets on the label it is given.
QWidget* titled(const std::function<void(QLabel*)>& setTitle, QWidget* content, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* label = new QLabel(box);
    keepTranslated(label, [label, setTitle] { setTitle(label); });
    label->setStyleSheet(QLatin1String(kTitleStyle));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(label);
    layout->addWidget(content);
    return box;
}

} // namespace

StationWindow::StationWindow(const Ship& ship, StationConsole& console, DataLink& link, const AlarmSettings& settings,
                             bool mute, QWidget* parent)
    : QMainWindow(parent)
    , ship_(ship)
    , link_(link)
    , settings_(settings)
    , console_(console)
    , table_(new AlarmTable(console.feed(), this))
    , scene_(new DeckScene(this))
    , view_(new DeckViewComplex(scene_, this))
    , plan_(new DeckPlan(scene_, ship, console.incident(), this))
    , marks_(new PlanMarks(scene_, console.feed(), this))
    , switcher_(new DeckSwitcher(ship.decks(), console.alarms(), this))
    , alarm_list_(new AlarmList(*table_, console.alarms(), deckNames(ship), this))
    , log_(new EventLog(deckNames(ship), this))
    , banner_(new LinkBanner(link.serverText(), this))
    , sound_(new AlarmSound(console.alarms(), settings.resoundSeconds(), mute, this))
    , menu_(new CompartmentMenu(view_, plan_, console.incidentCommands(), log_, this))
    , connection_label_(new QLabel(this))
    , sound_label_(new QLabel(this))
    , compartment_label_(new QLabel(this))
    , position_label_(new QLabel(this))
    , languages_(new LanguageMenu(this))
{
    keepTranslated(this, [this] { setWindowTitle(tr("损管监控台 - %1").arg(ship_.name())); });
    menuBar()->addMenu(languages_);
    connect(languages_, &LanguageMenu::switchFailed, this, &StationWindow::notify);
    resize(kInitialWidth, kInitialHeight);
    view_->setScaleFactor(kMinZoom, kMaxZoom);
    view_->setZoomPreview(true);
    SensorConfig::instance().setMinimumLabelSize(kSmallestReadableLabel);
    new ZoomKeeper(view_);
    view_->viewport()->installEventFilter(this);
    buildToolBar();
    buildLayout();
    buildStatusBar();
    connectLink();
    connectAlarms();
    connectCommands();
    menu_->setAlarms(&console.feed());
    connect(menu_, &CompartmentMenu::acknowledgeRequested, this,
            [this](const QList<int>& ids) { acknowledge(ids, Origin::Plan); });
    connect(menu_, &CompartmentMenu::detailRequested, this, &StationWindow::openDetail);

    connect(switcher_, &DeckSwitcher::deckChosen, this, [this](harq::Deck* deck) {
        deck_chosen_ = true;
        showDeck(deck);
    });
    connect(plan_, &DeckPlan::compartmentDoubleClicked, this,
            [this](harq::Region* region) { view_->scaleSceneTo(region->regionPath().boundingRect()); });
    connect(plan_, &DeckPlan::enterCompartment, this,
            [this](harq::Region* region) { compartment_label_->setText(region->nameAndCode()); });
    connect(plan_, &DeckPlan::leaveCompartment, this, [this](harq::Region*) { compartment_label_->clear(); });
    connect(view_, &DeckView::trackingChanged, this, [this](QPointF pos) {
        plan_->trackPointer(pos);
        position_label_->setText(tr("X %1  Y %2").arg(pos.x(), 0, 'f', 0).arg(pos.y(), 0, 'f', 0));
    });
    showBusiestDeck();
}

void StationWindow::showDeck(harq::Deck* deck)
{
    compartment_label_->clear();
    plan_->show(deck);
    marks_->decorate();
    view_->changeDeck(deck->name());
    switcher_->setCurrentDeck(deck);
    alarm_list_->setCurrentDeck(deck->id());
    log_->log(tr("显示%1").arg(deck->name()), {deck->name(), QString(), std::nullopt});
}

void StationWindow::showBusiestDeck()
{
    QList<quint64> decks;
    for (const harq::Deck* deck : ship_.decks())
        decks.append(deck->id());
    const std::optional<quint64> busiest = console_.alarms().busiestDeck(decks);
    harq::Deck* deck = busiest ? ship_.deckById(*busiest) : nullptr;
    if (deck && deck != plan_->deck())
        showDeck(deck);
}

void StationWindow::buildToolBar()
{
    QToolBar* tools = addToolBar(QString());
    tools_ = tools;
    QAction* zoomIn = tools->addAction(QString(), this, [this] { view_->scaleScene(view_->viewCenter(), kZoomStep); });
    QAction* zoomOut
        = tools->addAction(QString(), this, [this] { view_->scaleScene(view_->viewCenter(), 1.0 / kZoomStep); });
    QAction* fit = tools->addAction(QString(), view_, &DeckView::fitDeck);
    tools->addSeparator();
    QAction* silence = tools->addAction(QString(), &console_.commands(), &AlarmCommands::silence);
    tools->addSeparator();
    auto* sensors = new QLabel(tools);
    tools->addWidget(sensors);
    // One switch per sensor view group present on the ship, in the order first met.
    // A hidden group's alarms are suppressed: listed as such, not sounded.
    QStringList groups;
    for (harq::Deck* deck : ship_.decks()) {
        for (harq::Sensor* sensor : deck->sensors()) {
            const harq::ViewGroup* group = sensor->viewGroup();
            if (!group || groups.contains(group->group()))
                continue;
            groups.append(group->group());
            QAction* toggle = tools->addAction(group->name());
            toggle->setCheckable(true);
            toggle->setChecked(true);
            const QString code = group->group();
            const QString name = group->name();
            connect(toggle, &QAction::toggled, this, [this, code, name](bool visible) {
                plan_->setSensorGroupVisible(code, visible);
                console_.alarms().setGroupSuppressed(code, !visible);
                log_->log(visible ? tr("显示%1, 解除抑制").arg(name) : tr("隐藏%1, 其报警被抑制").arg(name));
            });
        }
    }
    buildPaletteActions(tools);
    tools->addSeparator();
    auto* hint = new QLabel(tools);
    tools->addWidget(hint);
    keepTranslated(tools, [=] {
        tools->setWindowTitle(tr("视图"));
        zoomIn->setText(tr("放大"));
        zoomOut->setText(tr("缩小"));
        fit->setText(tr("全图"));
        silence->setText(tr("消音"));
        sensors->setText(tr("传感器:"));
        hint->setText(tr("滚轮缩放, Ctrl+拖动平移, Esc 恢复全图, 单击传感器看详情"));
    });
}

void StationWindow::buildPaletteActions(QToolBar* tools)
{
    tools->addSeparator();
    auto* title = new QLabel(tools);
    tools->addWidget(title);
    palettes_ = new QActionGroup(this);
    StationPalette& palette = StationPalette::instance();
    for (int i = 0; i < palettechoice::kCount; ++i) {
        const auto choice = PaletteChoice(i);
        QAction* action = tools->addAction(QString());
        action->setCheckable(true);
        palettes_->addAction(action);
        connect(action, &QAction::triggered, this, [this, &palette, choice] {
            palette.choose(choice);
            emit paletteChosen(choice);
        });
    }
    auto* next = new QAction(this);
    next->setShortcut(QKeySequence(QLatin1String(kNextPaletteKey)));
    next->setShortcutContext(Qt::ApplicationShortcut);
    addAction(next);
    connect(next, &QAction::triggered, this, [this, &palette] {
        palettes_->actions().at((int(palette.choice()) + 1) % palettechoice::kCount)->trigger();
    });
    keepTranslated(title, [this, title] {
        title->setText(tr("调色板:"));
        for (int i = 0; i < palettechoice::kCount; ++i)
            palettes_->actions().at(i)->setText(palettechoice::name(PaletteChoice(i)));
    });
    connect(&palette, &StationPalette::changed, this, &StationWindow::showPalette);
    showPalette();
}

void StationWindow::showPalette()
{
    const StationPalette& palette = StationPalette::instance();
    palettes_->actions().at(int(palette.choice()))->setChecked(true);
    connection_label_->setStyleSheet(connectionStyle(link_.isConnected()));
    SensorConfig::instance().setColourMap(palette.drawingColours());
    scene_->setDrawingColours(palette.drawingColours());
    // Sensor graphics take their colours when built: the deck is built anew, in place.
    if (harq::Deck* deck = plan_->deck()) {
        const harq::Sensor* ringed = marks_->highlighted();
        plan_->show(deck);
        marks_->decorate();
        if (ringed)
            marks_->highlight(ringed);
    }
}

void StationWindow::buildLayout()
{
    auto* decks = new QDockWidget(this);
    keepTranslated(decks, [decks] { decks->setWindowTitle(tr("甲板")); });
    decks->setWidget(switcher_);
    decks->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::LeftDockWidgetArea, decks);

    auto* planArea = new QWidget(this);
    auto* planLayout = new QVBoxLayout(planArea);
    planLayout->setContentsMargins(0, 0, 0, 0);
    planLayout->setSpacing(0);
    planLayout->addWidget(banner_);
    planLayout->addWidget(view_, 1);

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(titled([](QLabel* title) { title->setText(tr("当前报警")); }, alarm_list_, lower));
    lower->addWidget(titled([](QLabel* title) { title->setText(tr("事件记录")); }, log_, lower));
    lower->setStretchFactor(0, kAlarmListStretch);
    lower->setStretchFactor(1, kLogStretch);
    lower->setChildrenCollapsible(false);

    auto* main = new QSplitter(Qt::Vertical, this);
    main->addWidget(planArea);
    main->addWidget(lower);
    main->setSizes({kPlanHeight, kListHeight});
    // The alarms can be made small but never hidden.
    main->setChildrenCollapsible(false);
    setCentralWidget(main);
}

void StationWindow::buildStatusBar()
{
    statusBar()->addWidget(connection_label_);
    statusBar()->addWidget(sound_label_);
    statusBar()->addWidget(compartment_label_, 1);
    statusBar()->addPermanentWidget(position_label_);
    showConnection(link_.isConnected());
    // While not live the label shows the banner's line, which the banner retranslates.
    keepTranslated(connection_label_, [this] {
        if (link_.isConnected())
            connection_label_->setText(tr("已连接 %1").arg(link_.serverText()));
    });
}

void StationWindow::connectLink()
{
    connect(&link_, &DataLink::connectionChanged, this, [this](bool connected) {
        showConnection(connected);
        // "Not connected" no longer holds; the rows show what still awaits acknowledgement.
        if (connected)
            withdrawRefusal();
        log_->log(connected ? tr("已连接数据服务器 %1, 已订阅全部测点").arg(link_.serverText())
                            : tr("与数据服务器 %1 的连接已断开, 画面数据不再实时").arg(link_.serverText()));
    });
    connect(&link_.supervisor(), &LinkSupervisor::stateChanged, banner_, &LinkBanner::setLinkState);
    connect(banner_, &LinkBanner::linkTextChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            connection_label_->setText(text);
    });
    connect(&link_, &DataLink::updatesReceived, this, [this] {
        if (first_values_seen_)
            return;
        first_values_seen_ = true;
        QTimer::singleShot(kFirstPictureMs, this, [this] {
            if (!deck_chosen_)
                showBusiestDeck();
        });
    });
}

void StationWindow::connectAlarms()
{
    AlarmCommands& commands = console_.commands();
    connect(alarm_list_, &AlarmList::acknowledgeRequested, this,
            [this](const QList<int>& ids) { acknowledge(ids, Origin::List); });
    connect(alarm_list_, &AlarmList::shelveRequested, this, &StationWindow::shelve);
    connect(alarm_list_, &AlarmList::unshelveRequested, this, [this](const QList<int>& ids) {
        if (permits(OperatorSession::Action::Shelve, Origin::List))
            console_.commands().unshelve(ids);
    });
    connect(alarm_list_, &AlarmList::silenceRequested, &commands, &AlarmCommands::silence);
    connect(alarm_list_, &AlarmList::alarmActivated, this, [this](int id) {
        if (harq::Sensor* sensor = console_.feed().sensorOf(id)) {
            showSensor(sensor);
            marks_->highlight(sensor);
        }
    });
    connect(alarm_list_, &AlarmList::detailRequested, this, [this](int id) {
        if (harq::Sensor* sensor = console_.feed().sensorOf(id))
            openDetail(sensor);
    });
    const AlarmState& alarms = console_.alarms();
    connect(&alarms, &AlarmState::alarmRaised, this, [this](int id) {
        const AlarmState::Item& item = console_.alarms().alarm(id)->item;
        logAlarm(tr("报警: %1 %2 %3 %4 (%5)%6")
                     .arg(item.deckName, item.compartmentName, item.sensorName, item.name, item.tag,
                          console_.alarms().alarm(id)->firstOut ? tr(" [首出]") : QString()),
                 id);
    });
    connect(&alarms, &AlarmState::alarmCleared, this, [this](int id) {
        const AlarmState::Item& item = console_.alarms().alarm(id)->item;
        logAlarm(tr("报警消除: %1 %2 (%3)").arg(item.sensorName, item.name, item.tag), id);
    });
    connect(&alarms, &AlarmState::alarmChanged, this, [this](int id) {
        if (refused_.contains(id) && !AlarmState::isAwaiting(console_.alarms().alarm(id)->state)) {
            if (refused_.size() == 1)
                withdrawRefusal();
            else
                refused_.remove(id);
        }
    });
    connect(&alarms, &AlarmState::shelvingExpired, this, [this](int id) {
        logAlarm(tr("搁置到期, 恢复报警: %1").arg(console_.alarms().alarm(id)->item.tag), id);
    });
    connect(sound_, &AlarmSound::announcementChanged, sound_label_, &QLabel::setText);
}

void StationWindow::connectCommands()
{
    const AlarmCommands& commands = console_.commands();
    const auto tagOf = [this](int id) { return console_.alarms().alarm(id)->item.tag; };
    connect(&commands, &AlarmCommands::acknowledged, this,
            [this, tagOf](int id) { logAlarm(tr("确认报警 %1").arg(tagOf(id)), id); });
    connect(&commands, &AlarmCommands::acknowledgeRefused, this,
            [this, tagOf](int id) { logAlarm(tr("确认报警 %1 失败: 未连接数据服务器").arg(tagOf(id)), id); });
    connect(&commands, &AlarmCommands::acknowledgeFinished, this, [this, tagOf](const QList<int>& refused, int sent) {
        withdrawRefusal();
        QStringList failed;
        for (int id : refused)
            failed.append(tagOf(id));
        if (!failed.isEmpty()) {
            refused_ = QSet<int>(refused.cbegin(), refused.cend());
            refused_at_ = acknowledging_from_;
            refusal_ = tr("%1 条报警未能确认 (%2): 未连接数据服务器, 确认未送出, 报警仍未确认")
                           .arg(failed.size())
                           .arg(failed.join(QStringLiteral(", ")));
            tell(refusal_, acknowledging_from_);
        } else {
            tell(sent == 0 ? tr("所选范围内没有待确认的报警") : QString(), acknowledging_from_);
        }
    });
    connect(&commands, &AlarmCommands::shelved, this, [this, tagOf](int id, const QString& reason, int minutes) {
        logAlarm(tr("搁置报警 %1 %2 分钟, 原因: %3").arg(tagOf(id)).arg(minutes).arg(reason), id);
    });
    connect(&commands, &AlarmCommands::unshelved, this,
            [this, tagOf](int id) { logAlarm(tr("解除搁置 %1").arg(tagOf(id)), id); });
    connect(&commands, &AlarmCommands::silenced, this, [this] {
        sound_->silence();
        log_->log(tr("消音 (报警未确认, %1 秒后再次鸣响)").arg(settings_.resoundSeconds()));
    });
}

void StationWindow::logAlarm(const QString& text, int id)
{
    const AlarmState::Alarm* alarm = console_.alarms().alarm(id);
    log_->log(text, alarm ? EventLog::Context{alarm->item.deckName, alarm->item.compartmentName, alarm->item.priority}
                          : EventLog::Context{});
}

void StationWindow::logEvent(const IncidentEvent& event)
{
    log_->log(event.describe());
}

void StationWindow::logPastEvent(const IncidentEvent& event)
{
    log_->logAt(QDateTime::fromMSecsSinceEpoch(event.msecs), event.describe());
}

void StationWindow::logText(const QString& text)
{
    log_->log(text);
}

void StationWindow::tell(const QString& text, Origin origin)
{
    if (origin == Origin::List)
        alarm_list_->showNotice(text);
    else
        banner_->showNotice(text);
}

void StationWindow::notify(const QString& text)
{
    banner_->showNotice(text);
    log_->log(text);
}

void StationWindow::setOperators(OperatorSession* session)
{
    operators_ = session;
    tools_->addSeparator();
    tools_->addWidget(new OperatorBar(session, tools_));
    if (session)
        menu_->setPermission([this](OperatorSession::Action action) { return permits(action, Origin::Plan); });
}

bool StationWindow::permits(OperatorSession::Action action, Origin origin)
{
    if (!operators_ || operators_->attempt(action))
        return true;
    const QString name = operators_->operatorName();
    tell(name.isEmpty()              ? tr("此操作需要操作员登录 (查看报警和消音无需登录)")
             : operators_->isLocked() ? tr("长时间未操作, 操作已锁定: 请重新登录")
                                      : tr("操作员 %1 的角色不允许此操作").arg(name),
         origin);
    return false;
}

void StationWindow::withdrawRefusal()
{
    if (refused_.isEmpty())
        return;
    refused_.clear();
    // Unless another notice has taken its place since.
    if (noticeAt(refused_at_) == refusal_)
        tell(QString(), refused_at_);
}

QString StationWindow::noticeAt(Origin origin) const
{
    return origin == Origin::List ? alarm_list_->notice() : banner_->notice();
}

void StationWindow::acknowledge(const QList<int>& ids, Origin origin)
{
    if (!permits(OperatorSession::Action::Acknowledge, origin))
        return;
    acknowledging_from_ = origin;
    console_.commands().acknowledge(ids);
}

void StationWindow::shelve(const QList<int>& ids)
{
    if (ids.isEmpty()) {
        alarm_list_->showNotice(tr("请先在列表中选择要搁置的报警"));
        return;
    }
    if (!permits(OperatorSession::Action::Shelve, Origin::List))
        return;
    QStringList tags;
    for (int id : ids)
        tags.append(console_.alarms().alarm(id)->item.tag);
    auto* dialog = new ShelveDialog(tags, console_.alarms().shelveLimitMinutes(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog, ids] {
                const qint64 ms = dialog->minutes() * kMsPerMinute;
                if (permits(OperatorSession::shelving(ms), Origin::List))
                    console_.commands().shelve(ids, dialog->reason(), dialog->minutes());
            });
    dialog->open();
}

QMenu* StationWindow::reportMenu()
{
    if (!report_menu_) {
        report_menu_ = menuBar()->addMenu(QString());
        keepTranslated(report_menu_, [menu = report_menu_] { menu->setTitle(tr("报告")); });
    }
    return report_menu_;
}

void StationWindow::showSensor(harq::Sensor* sensor)
{
    deck_chosen_ = true;
    if (sensor->deck() && sensor->deck() != plan_->deck())
        showDeck(sensor->deck());
    view_->scaleSceneTo(QRectF(sensor->point() - kSensorView, sensor->point() + kSensorView));
}

void StationWindow::openDetail(harq::Sensor* sensor)
{
    auto* detail = new SensorDetail(sensor, console_.feed(), this);
    detail->show();
}

void StationWindow::showConnection(bool connected)
{
    banner_->setConnected(connected);
    console_.alarms().setStale(!connected);
    marks_->setStale(!connected);
    connection_label_->setText(connected ? tr("已连接 %1").arg(link_.serverText()) : banner_->linkText());
    connection_label_->setStyleSheet(connectionStyle(connected));
}

bool StationWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            press_pos_ = static_cast<QMouseEvent*>(event)->pos();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && !(mouse->modifiers() & Qt::ControlModifier)
                && (mouse->pos() - press_pos_).manhattanLength() <= kClickSlop) {
                if (harq::Sensor* sensor = sensorAt(view_->items(mouse->pos())))
                    openDetail(sensor);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
