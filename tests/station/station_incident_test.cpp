// One scripted incident with the real station window against the real data
// server on 127.0.0.1: alarms are raised, one clears before anyone acknowledged
// it, one is acknowledged, one shelved, the link drops and returns. Each state
// is checked where the operator sees it: in the alarm list and on the plan.

#include "station_window_fixture.h"
#include "alarm_list.h"
#include "alarm_feed.h"
#include "alarm_state.h"
#include "alarm_table.h"
#include "alarm_sound.h"
#include "compartment_menu.h"
#include "deck_plan.h"
#include "link_banner.h"
#include "plan_marks.h"
#include "sensor_detail.h"
#include "shelve_dialog.h"
#include "station_process.h"

#include "entity/deck.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "graphics/mark_sensor_graphic.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QChart>
#include <QItemSelectionModel>
#include <QLineSeries>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace {

constexpr int kReactMs = 15000;
const QString kGalleySmoke = QStringLiteral("D2-SMK-026");  // first out, acknowledged
const QString kMultiSmoke = QStringLiteral("D2-MUL-009.SMK");
const QString kMultiHeat = QStringLiteral("D2-MUL-009.HT");  // shelved
const QString kForePeak = QStringLiteral("D2-FLD-003");     // emergency
const QString kUpperSmoke = QStringLiteral("D3-SMK-025");   // clears unacknowledged
const QString kMultiTemperature = QStringLiteral("D2-MUL-009.TMP");

// Every point starts normal and acknowledged; the alarms come in the order the
// operator would see them during a galley fire that spreads.
QByteArray scenario()
{
    QByteArray points, events;
    for (const QString& tag : {kGalleySmoke, kMultiSmoke, kMultiHeat, kForePeak, kUpperSmoke}) {
        points += QStringLiteral("{\"name\":\"%1\",\"type\":\"int\",\"value\":0},"
                                 "{\"name\":\"%1.ACK\",\"type\":\"int\",\"value\":1},").arg(tag).toUtf8();
    }
    const QList<QPair<double, QString>> raised{
        {0.5, kGalleySmoke}, {1.0, kMultiSmoke}, {1.0, kMultiHeat}, {1.5, kUpperSmoke}, {2.0, kForePeak}};
    for (const auto& [at, tag] : raised) {
        events += QStringLiteral("{\"at\":%1,\"name\":\"%2\",\"value\":1},{\"at\":%1,\"name\":\"%2.ACK\",\"value\":0},")
                      .arg(at).arg(tag).toUtf8();
    }
    points += QStringLiteral("{\"name\":\"%1\",\"type\":\"float\",\"value\":24.0},").arg(kMultiTemperature).toUtf8();
    events += QStringLiteral("{\"at\":1.0,\"name\":\"%1\",\"value\":66.0},").arg(kMultiTemperature).toUtf8();
    events += QStringLiteral("{\"at\":3.5,\"name\":\"%1\",\"value\":0}").arg(kUpperSmoke).toUtf8();
    points.chop(1);
    return "{\"points\":[" + points + "],\"events\":[" + events + "],\"repeat\":false}";
}

class StationIncidentTest : public StationWindowFixture
{
protected:
    std::unique_ptr<DataLink> makeLink() override
    {
        std::unique_ptr<DataLink> link;
        connectToTheScenario(link);
        return link;
    }

    /// Writes the scenario, plays it on a data server and opens a link to it.
    void connectToTheScenario(std::unique_ptr<DataLink>& link)
    {
        file_ = dir_.filePath(QStringLiteral("incident.json"));
        QFile out(file_);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(scenario()) > 0);
        out.close();
        ASSERT_TRUE(server_.start(file_));
        link = std::make_unique<DataLink>(QStringLiteral("127.0.0.1"), server_.port(), ship_->valueRoute(),
                                          ship_->dataPointNames());
        // Started, not opened: the window exists before the first values, as in the station.
        link->start();
    }

    harq::SensorItem* item(const QString& tag) const { return ship_->index().items(tag).value(0); }

    const AlarmState::Alarm& alarm(const QString& tag) const
    {
        return *console_->alarms().alarm(console_->feed().idOf(item(tag)));
    }
    harq::Sensor* sensor(const QString& tag) const { return console_->feed().sensorOf(console_->feed().idOf(item(tag))); }

    /// The row of \a tag in the list as sorted on screen; -1 when it is not listed.
    int rowOf(const QString& tag) const
    {
        for (int row = 0; row < list_->view()->model()->rowCount(); ++row) {
            if (list_->alarmAtRow(row) == console_->feed().idOf(item(tag)))
                return row;
        }
        return -1;
    }

    QString cell(const QString& tag, int column) const
    {
        return list_->view()->model()->index(rowOf(tag), column).data().toString();
    }

    MarkSensorGraphic* graphic(const QString& tag) const
    {
        return window_->marks().graphicOf(sensor(tag));
    }

    void clickButton(const QString& text) const
    {
        for (QPushButton* button : list_->findChildren<QPushButton*>()) {
            if (button->text() == text)
                return button->click();
        }
        ADD_FAILURE() << "no button " << text.toStdString();
    }

    void select(const QString& tag) const
    {
        QTreeView* view = list_->view();
        view->selectionModel()->select(view->model()->index(rowOf(tag), 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    QTemporaryDir dir_;
    QString file_;
    DataServerProcess server_;
};

} // namespace

TEST_F(StationIncidentTest, AlarmsWalkThroughTheirStatesInTheListAndOnThePlan)
{
    window_->show();

    // Raised, and one cleared before anyone acknowledged it: it stays listed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarm(kUpperSmoke).state == AlarmState::State::UnacknowledgedCleared; },
                                kReactMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_->plan().deck() == ship_->deckById(2); }, kReactMs))
        << "opens on the deck with the most unacknowledged alarms";
    EXPECT_EQ(list_->view()->model()->rowCount(), 6);
    EXPECT_EQ(rowOf(kForePeak), 0) << "the emergency first";
    EXPECT_EQ(rowOf(kGalleySmoke), 4) << "then newest first: the galley smoke came first";
    EXPECT_TRUE(cell(kGalleySmoke, AlarmTable::PriorityColumn).contains(QStringLiteral("首出")));
    EXPECT_FALSE(cell(kMultiSmoke, AlarmTable::PriorityColumn).contains(QStringLiteral("首出")));
    EXPECT_NE(cell(kMultiSmoke, AlarmTable::ItemColumn), cell(kMultiHeat, AlarmTable::ItemColumn));
    EXPECT_EQ(cell(kUpperSmoke, AlarmTable::StateColumn), QStringLiteral("已消除未确认"));
    EXPECT_EQ(window_->sound().announcing(), AlarmPriority::Emergency);
    ASSERT_NE(graphic(kGalleySmoke), nullptr);
    EXPECT_FALSE(graphic(kGalleySmoke)->isAcknowledged()) << "unacknowledged blinks";
    EXPECT_EQ(window_->marks().symbolOf(sensor(kForePeak)), alarmpriority::symbol(AlarmPriority::Emergency));

    // Acknowledged from the list: the server's flag comes back, the plan holds steady.
    select(kGalleySmoke);
    clickButton(QStringLiteral("确认所选报警"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarm(kGalleySmoke).state == AlarmState::State::AcknowledgedActive; },
                                kReactMs));
    EXPECT_TRUE(graphic(kGalleySmoke)->isAcknowledged()) << "acknowledged is steady";
    EXPECT_EQ(cell(kGalleySmoke, AlarmTable::StateColumn), QStringLiteral("报警已确认"));
    EXPECT_EQ(rowOf(kMultiTemperature), 5) << "a warning after the alarms";

    // A click on a sensor opens its detail: the temperature's trend with its four limits.
    auto* view = window_->findChild<DeckViewComplex*>();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(sensor(kMultiSmoke)->point()));
    auto* detail = window_->findChild<SensorDetail*>();
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->chart()->series().size(), 5);
    EXPECT_GE(static_cast<QLineSeries*>(detail->chart()->series().at(0))->count(), 3);
    QSet<QString> legend;
    for (const QAbstractSeries* series : detail->chart()->series())
        legend.insert(series->name());
    EXPECT_EQ(legend.size(), 5) << "each line of the trend reads apart in the legend";
    EXPECT_TRUE(detail->chart()->axes(Qt::Vertical).at(0)->titleText().contains(QStringLiteral("°C")));
    EXPECT_TRUE(detail->historyText().contains(QStringLiteral("报警未确认"))) << detail->historyText().toStdString();
    // The cleared one leaves the list once acknowledged.
    QSignalSpy clearedAcknowledged(&console_->alarms(), &AlarmState::acknowledgedWithoutFlag);
    select(kUpperSmoke);
    clickButton(QStringLiteral("确认所选报警"));
    EXPECT_EQ(rowOf(kUpperSmoke), -1);
    EXPECT_EQ(clearedAcknowledged.count(), 1) << "the history hears of it";
    // Acknowledged from the plan: nothing to tell, so the zoomed plan keeps its size and zoom.
    view->scaleScene(view->viewCenter(), 2.0);
    const QTransform zoomed = view->transform();
    emit window_->findChild<CompartmentMenu*>()->acknowledgeRequested({console_->feed().idOf(item(kMultiSmoke))});
    ASSERT_TRUE(QTest::qWaitFor([&] { return alarm(kMultiSmoke).state == AlarmState::State::AcknowledgedActive; },
                                kReactMs));
    EXPECT_EQ(view->transform(), zoomed);

    // Shelved with a reason and a time limit: listed last, silent, still on the plan as shelved.
    select(kMultiHeat);
    clickButton(QStringLiteral("搁置所选..."));
    auto* dialog = window_->findChild<ShelveDialog*>();
    ASSERT_NE(dialog, nullptr);
    dialog->setReason(QStringLiteral("探测器检修"));
    dialog->setMinutes(10);
    dialog->accept();
    EXPECT_TRUE(alarm(kMultiHeat).shelved);
    EXPECT_EQ(rowOf(kMultiHeat), list_->view()->model()->rowCount() - 1);
    EXPECT_TRUE(cell(kMultiHeat, AlarmTable::StateColumn).contains(QStringLiteral("搁置至")));
    window_->sound().silence();
    EXPECT_FALSE(window_->sound().announcing().has_value()) << "silenced without acknowledging";
    EXPECT_EQ(alarm(kForePeak).state, AlarmState::State::UnacknowledgedActive);
    AlarmSound quick(console_->alarms(), 1, true);
    quick.silence();
    EXPECT_TRUE(QTest::qWaitFor([&] { return quick.announcing() == AlarmPriority::Emergency; }, kReactMs))
        << "sounds again after the resound time while unacknowledged";

    // The link drops: stale in the banner, the list and on the plan, with a countdown.
    server_.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_->banner().linkText().contains(QStringLiteral("秒后重连")); },
                                kReactMs));
    EXPECT_TRUE(window_->marks().isStaleShown());
    EXPECT_TRUE(cell(kForePeak, AlarmTable::StateColumn).endsWith(QStringLiteral("数据非实时")));
    EXPECT_TRUE(graphic(kForePeak)->isAcknowledged()) << "frozen values do not blink";
    clickButton(QStringLiteral("全部确认"));
    EXPECT_TRUE(list_->notice().contains(kForePeak)) << list_->notice().toStdString();
    EXPECT_EQ(alarm(kForePeak).state, AlarmState::State::UnacknowledgedActive);

    // It returns: live again, the alarms as the server has them.
    DataServerProcess again;
    ASSERT_TRUE(again.start(file_, server_.port()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link_->isConnected(); }, kReactMs));
    EXPECT_TRUE(window_->banner().linkText().isEmpty());
    EXPECT_FALSE(window_->marks().isStaleShown());
    EXPECT_FALSE(cell(kForePeak, AlarmTable::StateColumn).contains(QStringLiteral("数据非实时")));
    EXPECT_FALSE(graphic(kForePeak)->isAcknowledged());
}
