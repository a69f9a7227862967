#include "station_window.h"

#include "alarm_list.h"
#include "compartment_menu.h"
#include "data_link.h"
#include "deck_plan.h"
#include "deck_switcher.h"
#include "event_log.h"
#include "ship.h"

#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"
#include "view/deck_scene.h"
#include "view/deck_view_complex.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

namespace {

constexpr qreal kZoomStep = 1.2;
constexpr qreal kMinZoom = 0.9;   // of the fitted scale
constexpr qreal kMaxZoom = 20.0;
constexpr int kInitialWidth = 1600;
constexpr int kInitialHeight = 900;
constexpr int kAcknowledged = 1;
// Half the extent of the plan shown around a sensor picked from the alarm list.
const QPointF kSensorView(300.0, 150.0);

} // namespace

StationWindow::StationWindow(const Ship& ship, DataLink& link, QWidget* parent)
    : QMainWindow(parent)
    , ship_(ship)
    , link_(link)
    , scene_(new DeckScene(this))
    , view_(new DeckViewComplex(scene_, this))
    , plan_(new DeckPlan(scene_, ship, this))
    , switcher_(new DeckSwitcher(ship.decks(), this))
    , alarms_(new AlarmList(ship, this))
    , log_(new EventLog(this))
    , connection_label_(new QLabel(this))
    , compartment_label_(new QLabel(this))
    , position_label_(new QLabel(this))
{
    setWindowTitle(tr("损管监控台 - %1").arg(ship.name()));
    resize(kInitialWidth, kInitialHeight);
    view_->setScaleFactor(kMinZoom, kMaxZoom);
    setCentralWidget(view_);
    buildToolBar();
    buildDocks();
    buildStatusBar();
    connectLink();
    new CompartmentMenu(view_, plan_, log_, this);

    connect(switcher_, &DeckSwitcher::deckChosen, this, &StationWindow::showDeck);
    connect(alarms_, &AlarmList::acknowledgeRequested, this, &StationWindow::acknowledge);
    connect(alarms_, &AlarmList::alarmRaised, this, &StationWindow::onAlarmRaised);
    connect(alarms_, &AlarmList::alarmCleared, this, &StationWindow::onAlarmCleared);
    connect(alarms_, &AlarmList::sensorActivated, this, &StationWindow::showSensor);
    connect(plan_, &DeckPlan::compartmentDoubleClicked, this,
            [this](harq::Region* region) { view_->scaleSceneTo(region->regionPath().boundingRect()); });
    connect(plan_, &DeckPlan::enterCompartment, this,
            [this](harq::Region* region) { compartment_label_->setText(region->nameAndCode()); });
    connect(plan_, &DeckPlan::leaveCompartment, this, [this](harq::Region*) { compartment_label_->clear(); });
    connect(view_, &DeckView::trackingChanged, this, [this](QPointF pos) {
        position_label_->setText(tr("X %1  Y %2").arg(pos.x(), 0, 'f', 0).arg(pos.y(), 0, 'f', 0));
    });

    const std::vector<harq::Deck*> decks = ship.decks();
    if (!decks.empty())
        showDeck(decks.front());
}

void StationWindow::showDeck(harq::Deck* deck)
{
    compartment_label_->clear();
    plan_->show(deck);
    view_->changeDeck(deck->name());
    switcher_->setCurrentDeck(deck);
    log_->log(tr("显示%1").arg(deck->name()));
}

void StationWindow::buildToolBar()
{
    QToolBar* tools = addToolBar(tr("视图"));
    tools->addAction(tr("放大"), this, [this] { view_->scaleScene(view_->viewCenter(), kZoomStep); });
    tools->addAction(tr("缩小"), this, [this] { view_->scaleScene(view_->viewCenter(), 1.0 / kZoomStep); });
    tools->addAction(tr("全图"), view_, &DeckView::fitDeck);
    tools->addSeparator();
    tools->addWidget(new QLabel(tr("传感器:"), tools));
    // One switch per sensor view group present on the ship, in the order first met.
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
            connect(toggle, &QAction::toggled, this,
                    [this, code](bool visible) { plan_->setSensorGroupVisible(code, visible); });
        }
    }
    tools->addSeparator();
    tools->addWidget(new QLabel(tr("滚轮缩放, Ctrl+拖动平移, Esc 恢复全图"), tools));
}

void StationWindow::buildDocks()
{
    auto* decks = new QDockWidget(tr("甲板"), this);
    decks->setWidget(switcher_);
    addDockWidget(Qt::LeftDockWidgetArea, decks);
    auto* alarms = new QDockWidget(tr("当前报警"), this);
    alarms->setWidget(alarms_);
    addDockWidget(Qt::BottomDockWidgetArea, alarms);
    auto* log = new QDockWidget(tr("事件记录"), this);
    log->setWidget(log_);
    addDockWidget(Qt::BottomDockWidgetArea, log);
    tabifyDockWidget(alarms, log);
    alarms->raise();
}

void StationWindow::buildStatusBar()
{
    statusBar()->addWidget(connection_label_);
    statusBar()->addWidget(compartment_label_, 1);
    statusBar()->addPermanentWidget(position_label_);
    showConnection(link_.isConnected());
}

void StationWindow::connectLink()
{
    connect(&link_, &DataLink::connectionChanged, this, [this](bool connected) {
        showConnection(connected);
        log_->log(connected ? tr("已连接数据服务器 %1, 已订阅全部测点").arg(link_.serverText())
                            : tr("与数据服务器 %1 的连接已断开").arg(link_.serverText()));
    });
    connect(&link_, &DataLink::reconnectScheduled, this, [this](int delayMs) {
        connection_label_->setText(tr("未连接数据服务器 %1, %2 秒后重连").arg(link_.serverText()).arg(delayMs / 1000.0));
    });
}

void StationWindow::acknowledge(harq::SensorItem* item)
{
    if (item->confirmTag().isEmpty()) {
        log_->log(tr("测点 %1 没有确认点, 无法确认").arg(item->tag()));
        return;
    }
    if (link_.writeInt(item->confirmTag(), kAcknowledged))
        log_->log(tr("确认报警 %1").arg(item->tag()));
    else
        log_->log(tr("确认报警 %1 失败: 未连接数据服务器").arg(item->tag()));
}

void StationWindow::onAlarmRaised(harq::Sensor* sensor, harq::SensorItem* item)
{
    const harq::Region* compartment = ship_.compartmentOf(sensor);
    log_->log(tr("报警: %1 %2 %3 (%4)")
                  .arg(sensor->deck() ? sensor->deck()->name() : QString(),
                       compartment ? compartment->name() : QString(), sensor->nameAndCode(), item->tag()));
}

void StationWindow::onAlarmCleared(harq::Sensor* sensor, harq::SensorItem* item)
{
    log_->log(tr("报警消除: %1 (%2)").arg(sensor->nameAndCode(), item->tag()));
}

void StationWindow::showSensor(harq::Sensor* sensor)
{
    if (sensor->deck() && sensor->deck() != plan_->deck())
        showDeck(sensor->deck());
    view_->scaleSceneTo(QRectF(sensor->point() - kSensorView, sensor->point() + kSensorView));
}

void StationWindow::showConnection(bool connected)
{
    connection_label_->setText(connected ? tr("已连接 %1").arg(link_.serverText())
                                         : tr("未连接数据服务器 %1").arg(link_.serverText()));
    connection_label_->setStyleSheet(connected ? QString() : QStringLiteral("color: red; font-weight: bold;"));
}
