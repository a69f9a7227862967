// The station's window without a data server: values are handed to the model
// directly, as the data link would.

#include "station_window_fixture.h"
#include "link_banner.h"
#include "alarm_list.h"
#include "alarm_sound.h"
#include "alarm_table.h"
#include "data_link.h"
#include "deck_switcher.h"
#include "event_log.h"
#include "language_menu.h"
#include "shelve_dialog.h"
#include "ship.h"
#include "ship_loader.h"
#include "station_config.h"
#include "station_options.h"
#include "station_palette.h"
#include "station_settings.h"
#include "station_window.h"

#include "deck_plan.h"
#include "filter_bar.h"
#include "plan_marks.h"

#include "entity/deck.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "config/damage_config.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QMenuBar>
#include <QSignalSpy>
#include <QHeaderView>
#include <QSet>
#include <QtEndian>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTreeView>

#include <cmath>
#include <memory>

namespace {

const QString kGalleySmoke = QStringLiteral("D2-SMK-026");

class StationWindowTest : public StationWindowFixture
{
protected:
    void SetUp() override
    {
        StationWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        alarms_ = list_->view()->model();
        decks_ = window_->findChild<DeckSwitcher*>();
        ASSERT_TRUE(alarms_ && decks_);
    }

    QString deckRow(const QString& name) const
    {
        for (int i = 0; i < decks_->count(); ++i) {
            if (decks_->item(i)->text().startsWith(name))
                return decks_->item(i)->text();
        }
        return {};
    }

    /// The text of \a column in the list's \a row as shown.
    QString cell(int row, int column) const { return alarms_->index(row, column).data().toString(); }

    QAbstractItemModel* alarms_ = nullptr;
    DeckSwitcher* decks_ = nullptr;
};

} // namespace

TEST_F(StationWindowTest, AlarmIsListedCountedAcknowledgedAndCleared)
{
    EXPECT_EQ(alarms_->rowCount(), 0);
    EXPECT_EQ(deckRow(QStringLiteral("第二甲板")), QStringLiteral("第二甲板  正常"));

    ship_->index().dispatch(kGalleySmoke, 1.0);
    ASSERT_EQ(alarms_->rowCount(), 1);
    EXPECT_EQ(cell(0, AlarmTable::DeckColumn), QStringLiteral("第二甲板"));
    EXPECT_EQ(cell(0, AlarmTable::CompartmentColumn), QStringLiteral("厨房[2-58-2]"));
    EXPECT_EQ(cell(0, AlarmTable::StateColumn), QStringLiteral("报警未确认, 数据非实时"));
    EXPECT_EQ(deckRow(QStringLiteral("第二甲板")), QStringLiteral("第二甲板  报警 1, 未确认 1"));
    EXPECT_TRUE(log_->toPlainText().contains(kGalleySmoke));
    // The log filters by deck, compartment, priority and text.
    log_->setDeckFilter(QStringLiteral("主甲板"));
    EXPECT_FALSE(log_->shownText().contains(kGalleySmoke));
    log_->setDeckFilter(QStringLiteral("第二甲板"));
    log_->setCompartmentFilter(QStringLiteral("厨房"));
    log_->setPriorityFilter(AlarmPriority::Alarm);
    log_->setTextFilter(kGalleySmoke);
    EXPECT_TRUE(log_->shownText().contains(kGalleySmoke));
    log_->setPriorityFilter(AlarmPriority::Caution);
    EXPECT_TRUE(log_->shownText().isEmpty());

    ship_->index().dispatch(kGalleySmoke + QStringLiteral(".ACK"), 1.0);
    EXPECT_TRUE(cell(0, AlarmTable::StateColumn).startsWith(QStringLiteral("报警已确认")));
    EXPECT_EQ(deckRow(QStringLiteral("第二甲板")), QStringLiteral("第二甲板  报警 1"));

    ship_->index().dispatch(kGalleySmoke, 0.0);
    EXPECT_EQ(alarms_->rowCount(), 0);
    EXPECT_EQ(deckRow(QStringLiteral("第二甲板")), QStringLiteral("第二甲板  正常"));
}

TEST_F(StationWindowTest, AcknowledgingWithoutAConnectionSaysSo)
{
    ship_->index().dispatch(kGalleySmoke, 1.0);
    QPushButton* all = nullptr;
    for (QPushButton* button : window_->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("全部确认"))
            all = button;
    }
    ASSERT_NE(all, nullptr);
    all->click();
    EXPECT_TRUE(log_->toPlainText().contains(QStringLiteral("确认报警 %1 失败").arg(kGalleySmoke)))
        << log_->toPlainText().toStdString();
    // Said where the operator clicked, not only in the log.
    EXPECT_TRUE(list_->notice().contains(kGalleySmoke)) << list_->notice().toStdString();
    EXPECT_TRUE(cell(0, AlarmTable::StateColumn).startsWith(QStringLiteral("报警未确认")));

    bool staleShown = false;
    for (QLabel* label : window_->statusBar()->findChildren<QLabel*>())
        staleShown = staleShown || label->text().startsWith(QStringLiteral("数据中断"));
    EXPECT_TRUE(staleShown);
}

TEST_F(StationWindowTest, AZoomedPlanKeepsItsZoomWhenANoticeResizesIt)
{
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    auto* view = window_->findChild<DeckViewComplex*>();
    auto* banner = window_->findChild<LinkBanner*>();
    const QTransform fitted = view->transform();
    view->scaleSceneTo(QRectF(200, 100, 400, 200));
    const QTransform zoom = view->transform();
    const QPointF centre = view->viewCenter();
    const int height = view->height();
    for (const QString& notice : {QStringLiteral("确认报警 1 失败"), QString()}) {
        banner->showNotice(notice);
        QApplication::processEvents();
        EXPECT_NE(view->height(), height) << "the notice no longer resizes the plan: nothing tested";
        EXPECT_EQ(view->transform(), zoom);
        EXPECT_LT(QLineF(view->viewCenter(), centre).length(), 1.0);
    }
    // A plan that shows the whole deck is refitted to its new size as before.
    view->setTransform(fitted);
    window_->resize(window_->width() - 300, window_->height());
    QApplication::processEvents();
    EXPECT_LT(view->transform().m11(), fitted.m11());
}

TEST_F(StationWindowTest, ChoosingADeckShowsIt)
{
    harq::Deck* main = ship_->deckById(3);
    for (int i = 0; i < decks_->count(); ++i) {
        if (decks_->item(i)->text().startsWith(main->name()))
            decks_->setCurrentRow(i);
    }
    EXPECT_TRUE(log_->toPlainText().endsWith(QStringLiteral("显示%1").arg(main->name())))
        << log_->toPlainText().toStdString();
}

TEST_F(StationWindowTest, EachPriorityHasItsOwnWaveTone)
{
    AlarmSound sound(console_->alarms(), 1, false);
    QSet<QByteArray> tones;
    for (int p = 0; p < alarmpriority::kCount; ++p) {
        QFile file(sound.toneFile(AlarmPriority(p)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QByteArray wav = file.readAll();
        ASSERT_GT(wav.size(), 44);
        EXPECT_TRUE(wav.startsWith("RIFF") && wav.mid(8, 8) == "WAVEfmt ");
        // The RIFF length and the data length agree with the file.
        EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 4), quint32(wav.size() - 8));
        EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 40), quint32(wav.size() - 44));
        tones.insert(wav);
    }
    EXPECT_EQ(tones.size(), alarmpriority::kCount);
}

TEST_F(StationWindowTest, AlarmListSortsFiltersKeepsTheTimeInSightAndRingsTheSensorItShows)
{
    // Two alarms on two decks, the second with the longest sensor name of its deck.
    const harq::SensorItem* galley = ship_->index().items(kGalleySmoke).first();
    const harq::Sensor* galleySensor = console_->feed().sensorOf(console_->feed().idOf(galley));
    QString other;
    int longest = 0;
    for (const harq::Deck* deck : ship_->decks()) {
        for (harq::Sensor* sensor : deck->sensors()) {
            if (deck != galleySensor->deck() && sensor->isStateSensor() && sensor->nameAndCode().size() > longest) {
                longest = sensor->nameAndCode().size();
                other = sensor->itemAt(0)->tag();
            }
        }
    }
    ASSERT_FALSE(other.isEmpty());
    ship_->index().dispatch(kGalleySmoke, 1.0);
    ship_->index().dispatch(other, 1.0);
    ASSERT_EQ(alarms_->rowCount(), 2);

    window_->resize(1600, 1000);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    QHeaderView* header = list_->view()->header();
    EXPECT_LE(header->sectionViewportPosition(AlarmTable::TimeColumn) + header->sectionSize(AlarmTable::TimeColumn),
              list_->view()->viewport()->width());

    // A click on a header sorts by it, a second one the other way round.
    const QPoint deckHeader(header->sectionViewportPosition(AlarmTable::DeckColumn) + 4, header->height() / 2);
    for (const bool ascending : {true, false}) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, deckHeader);
        EXPECT_EQ(cell(0, AlarmTable::DeckColumn) < cell(1, AlarmTable::DeckColumn), ascending);
    }

    // The filters narrow the list as the log's do.
    list_->filters()->setDeck(galleySensor->deck()->name());
    ASSERT_EQ(alarms_->rowCount(), 1);
    EXPECT_EQ(list_->alarmAtRow(0), console_->feed().idOf(galley));
    list_->filters()->setText(other);
    EXPECT_EQ(alarms_->rowCount(), 0);
    list_->filters()->setDeck(QString());
    ASSERT_EQ(alarms_->rowCount(), 1);

    // A double click shows the sensor on its deck and rings it there.
    list_->filters()->setText(kGalleySmoke);
    const QRect row = list_->view()->visualRect(alarms_->index(0, AlarmTable::SensorColumn));
    // Qt 5's double click event alone: the view wants the press before it.
    QTest::mouseClick(list_->view()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list_->view()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(window_->plan().deck(), galleySensor->deck());
    EXPECT_EQ(window_->marks().highlighted(), galleySensor);
}

TEST_F(StationWindowTest, LanguageSwitchesWhileAlarmsStandAndNothingOnScreenIsLost)
{
    // Whatever happens below, the next tests find the source language.
    const auto switchTo = [this](const char* language) {
        window_->languages().choose(QLatin1String(language));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    };
    const std::shared_ptr<void> restore(nullptr, [switchTo](void*) { switchTo("zh_CN"); });
    switchTo("zh_CN");
    ship_->index().dispatch(kGalleySmoke, 1.0);
    ship_->index().dispatch(QStringLiteral("D1-SMK-001"), 1.0);
    ASSERT_EQ(alarms_->rowCount(), 2);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    list_->view()->selectionModel()->select(alarms_->index(1, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    auto* view = window_->findChild<DeckViewComplex*>();
    view->scaleScene(view->viewCenter(), 2.0);
    view->scaleSceneTo(QRectF(200, 100, 400, 200));
    // The shelving dialog stays open across the switch, with what was typed in it.
    for (QPushButton* button : list_->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("搁置所选..."))
            button->click();
    }
    auto* shelve = window_->findChild<ShelveDialog*>();
    ASSERT_NE(shelve, nullptr);
    shelve->setReason(QStringLiteral("维修"));
    QPushButton* cancel = shelve->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
    EXPECT_EQ(cancel->text(), QStringLiteral("取消")) << "Qt's own translations (qttranslations5-l10n) missing";

    const auto rows = [this] { return QList<int>{list_->alarmAtRow(0), list_->alarmAtRow(1)}; };
    const QList<int> before = rows();
    const QTransform zoom = view->transform();
    const QPointF centre = view->viewCenter();
    EXPECT_EQ(window_->menuBar()->actions().first()->text(), QStringLiteral("语言"));
    switchTo("en");

    EXPECT_EQ(rows(), before);
    ASSERT_EQ(list_->view()->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(list_->view()->selectionModel()->selectedRows().first().row(), 1);
    EXPECT_EQ(view->transform(), zoom);
    EXPECT_LT(QLineF(view->viewCenter(), centre).length(), 1.0);
    EXPECT_EQ(window_->menuBar()->actions().first()->text(), QStringLiteral("Language"));
    EXPECT_EQ(alarms_->headerData(AlarmTable::PriorityColumn, Qt::Horizontal).toString(), QStringLiteral("Priority"));
    EXPECT_TRUE(cell(0, AlarmTable::StateColumn).startsWith(QStringLiteral("Unacknowledged")));
    EXPECT_EQ(window_->findChild<ShelveDialog*>(), shelve);
    EXPECT_EQ(shelve->reason(), QStringLiteral("维修"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
    // Names from the ship file stay as written; the deck list is as wide as its longest row.
    EXPECT_TRUE(deckRow(QStringLiteral("第二甲板")).contains(QStringLiteral("alarm"), Qt::CaseInsensitive))
        << deckRow(QStringLiteral("第二甲板")).toStdString();
    QApplication::processEvents();
    EXPECT_GE(decks_->viewport()->width(), decks_->sizeHintForColumn(0));
}

TEST_F(StationWindowTest, NightPaletteDimsTheWholeWindowAndKeepsAlarmColoursApart)
{
    // Colours closer than this (RGB distance, 0-441) are taken for one; day's
    // warning and caution, the closest pair of old, are 57 apart.
    constexpr double kApart = 40.0;
    const auto distance = [](const QColor& a, const QColor& b) {
        return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
    };
    const auto brightness = [](const QImage& image) {
        double sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                sum += qGray(image.pixel(x, y));
        }
        return sum / (double(image.width()) * image.height());
    };
    StationPalette& palette = StationPalette::instance();
    const std::unique_ptr<void, void (*)(void*)> dayAgain(&palette, [](void*) {
        StationPalette::instance().choose(PaletteChoice::Day);
    });
    ship_->index().dispatch(kGalleySmoke, 1.0);
    harq::Sensor* galley = console_->feed().sensorOf(console_->feed().idOf(ship_->index().items(kGalleySmoke).first()));
    window_->showDeck(galley->deck());
    window_->resize(1600, 1000);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    QAction* night = nullptr;
    for (QAction* action : window_->findChildren<QAction*>()) {
        if (action->text() == palettechoice::name(PaletteChoice::Night))
            night = action;
    }
    ASSERT_NE(night, nullptr);
    DeckViewComplex* view = window_->findChild<DeckViewComplex*>();
    QWidget* plan = view->viewport();
    view->scaleScene(view->viewCenter(), 2.0);
    const QTransform zoom = view->transform();
    const double day = brightness(window_->grab().toImage());
    const double dayPlan = brightness(plan->grab().toImage());
    QSignalSpy chosen(window_.get(), &StationWindow::paletteChosen);
    night->trigger();
    ASSERT_EQ(chosen.size(), 1);
    // The plan is built anew in its colours, with its zoom and its marks.
    EXPECT_EQ(view->transform(), zoom);
    EXPECT_FALSE(window_->marks().symbolOf(galley).isEmpty());
    EXPECT_LE(brightness(window_->grab().toImage()), day / 3);
    EXPECT_LE(brightness(plan->grab().toImage()), dayPlan / 3);

    const QColor paper = palette.drawingColours()(Qt::white);
    for (const PaletteChoice choice : {PaletteChoice::Day, PaletteChoice::Dusk, PaletteChoice::Night}) {
        palette.choose(choice);
        for (int p = 0; p < alarmpriority::kCount; ++p) {
            EXPECT_GE(distance(palette.priority(AlarmPriority(p)), palette.background()), kApart) << p;
            for (int q = 0; q < p; ++q)
                EXPECT_GE(distance(palette.priority(AlarmPriority(p)), palette.priority(AlarmPriority(q))), kApart)
                    << palettechoice::key(choice).toStdString() << ' ' << p << ' ' << q;
        }
    }
    // The compartments' damage colours, laid over the night drawing's paper.
    QList<QColor> damage{paper};
    for (const int response : {1, 2, 4}) {
        const QColor colour = DamageConfig::instance().response(response)->color();
        const qreal opacity = DamageConfig::instance().opacity();
        damage.append(QColor::fromRgbF(opacity * colour.redF() + (1 - opacity) * paper.redF(),
                                       opacity * colour.greenF() + (1 - opacity) * paper.greenF(),
                                       opacity * colour.blueF() + (1 - opacity) * paper.blueF()));
        for (int other = 0; other < damage.size() - 1; ++other)
            EXPECT_GE(distance(damage.last(), damage.at(other)), kApart) << response << ' ' << other;
    }

    // The palette key steps on, from night round to day.
    QTest::keyClick(window_.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(palette.choice(), PaletteChoice::Day);
}

TEST(StationSettings, ThePaletteComesFromTheCommandLineThenTheWindowsChoiceThenTheFile)
{
    QTemporaryDir home;
    const bool configHomeSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QFile settings(home.filePath(QStringLiteral("station.conf")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly) && settings.write("palette=night\n") > 0);
    settings.close();
    const auto chosen = [&settings](const QStringList& more) {
        StationOptions options;
        QString error;
        EXPECT_TRUE(options.parse(QStringList{QStringLiteral("kelvane-station"), QStringLiteral("--settings"),
                                              settings.fileName()} + more, &error)) << error.toStdString();
        return options.palette;
    };
    EXPECT_EQ(chosen({}), PaletteChoice::Night);
    ASSERT_TRUE(StationSettings::remember(QStringLiteral("palette"), QStringLiteral("dusk")));
    EXPECT_EQ(chosen({}), PaletteChoice::Dusk);
    EXPECT_EQ(chosen({QStringLiteral("--palette"), QStringLiteral("day")}), PaletteChoice::Day);
    if (configHomeSet)
        qputenv("XDG_CONFIG_HOME", configHome);
    else
        qunsetenv("XDG_CONFIG_HOME");
}
