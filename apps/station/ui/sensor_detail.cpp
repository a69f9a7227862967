#include "sensor_detail.h"

#include "alarm_feed.h"
#include "alarm_state.h"
#include "kept_translated.h"
#include "station_palette.h"

#include "entity/sensor.h"
#include "entity/sensor_item.h"

#include <QDateTime>
#include <QCategoryAxis>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QtCharts/QChartView>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

namespace {

// Limits beyond this are the library's "no limit" defaults (±1e38) and are not drawn.
constexpr double kDrawnLimit = 1e30;
constexpr int kMinimumWidth = 760;
constexpr int kChartHeight = 340;
constexpr int kSpanMs = 60000; // an empty or flat trend still shows a minute
constexpr int kTrendTickMs = 1000;
constexpr int kMostTimeTicks = 7;
constexpr int kMostDecimals = 6;
constexpr int kChartMargin = 4;
const char kStampFormat[] = "hh:mm:ss";
const QColor kLimitColour(0xE0, 0x80, 0x00);
const QColor kOuterLimitColour(0xD0, 0x00, 0x00);

enum ItemColumn { NameColumn, TagColumn, ValueColumn, StateColumn, LimitsColumn, AckTagColumn, ItemColumns };

// Labels on whole seconds, minutes or hours of local time, at most kMostTimeTicks of them.
void setTimeTicks(QCategoryAxis& axis, qint64 from, qint64 to)
{
    constexpr qint64 kSecond = 1000, kMinute = 60 * kSecond, kHour = 60 * kMinute, kDay = 24 * kHour;
    constexpr std::array<qint64, 18> kSteps{kSecond,      2 * kSecond,  5 * kSecond, 10 * kSecond, 15 * kSecond,
                                            30 * kSecond, kMinute,      2 * kMinute, 5 * kMinute,  10 * kMinute,
                                            15 * kMinute, 30 * kMinute, kHour,       2 * kHour,    3 * kHour,
                                            6 * kHour,    12 * kHour,   kDay};
    const qint64 step = *std::find_if(kSteps.begin(), kSteps.end() - 1,
                                      [&](qint64 s) { return (to - from) / s < kMostTimeTicks; });
    const QLatin1String format(to - from > kDay ? "MM-dd hh:mm" : step < kMinute ? "hh:mm:ss" : "hh:mm");
    const qint64 offset = qint64(QDateTime::fromMSecsSinceEpoch(from).offsetFromUtc()) * kSecond;
    axis.setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis.setRange(double(from), double(to));
    axis.setStartValue(double(from));
    for (qint64 tick = ((from + offset) / step + 1) * step - offset; tick <= to; tick += step)
        axis.append(QDateTime::fromMSecsSinceEpoch(tick).toString(format), double(tick));
}

QString limitText(double v)
{
    return std::abs(v) >= kDrawnLimit ? QStringLiteral("-") : QString::number(v);
}

} // namespace

SensorDetail::SensorDetail(harq::Sensor* sensor, const AlarmFeed& feed, QWidget* parent)
    : QDialog(parent)
    , sensor_(sensor)
    , feed_(feed)
    , items_(new QTableWidget(sensor->itemCount(), ItemColumns, this))
    , history_(new QPlainTextEdit(this))
    , trend_(new QChartView(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumWidth(kMinimumWidth);
    const AlarmState::Alarm* first
        = sensor->itemCount() > 0 ? feed.alarms().alarm(feed.idOf(sensor->itemAt(0))) : nullptr;
    auto* where = new QLabel(this);
    auto* states = new QLabel(this);
    items_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    items_->verticalHeader()->hide();
    items_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    history_->setReadOnly(true);
    trend_->setMinimumHeight(kChartHeight);
    trend_->setRenderHint(QPainter::Antialiasing);
    trend_->chart()->setTheme(StationPalette::instance().chartTheme());
    trend_->chart()->setMargins(QMargins(kChartMargin, kChartMargin, kChartMargin, kChartMargin));
    trend_->chart()->legend()->setAlignment(Qt::AlignBottom);
    trend_->chart()->legend()->setShowToolTips(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(items_);
    layout->addWidget(trend_, 1);
    layout->addWidget(states);
    layout->addWidget(history_);
    connect(sensor, &harq::Sensor::itemValueChanged, this, &SensorDetail::refresh);
    // Only this sensor's alarms change what the dialog shows; rebuilding it for
    // every alarm of the ship would redraw the whole trend each time.
    connect(&feed.alarms(), &AlarmState::alarmChanged, this, [this](int id) {
        if (feed_.sensorOf(id) == sensor_)
            refresh();
    });
    // A theme overrides the series' own pens, so the trend is drawn anew after it.
    connect(&StationPalette::instance(), &StationPalette::changed, this, [this] {
        trend_->chart()->setTheme(StationPalette::instance().chartTheme());
        refreshTrend();
    });
    // A sensor destroyed with its ship leaves nothing to show.
    connect(sensor, &QObject::destroyed, this, &QDialog::close);
    // The time axis moves on while the values hold.
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &SensorDetail::refreshTrend);
    clock->start(kTrendTickMs);
    const QString deck = first ? first->item.deckName : QString();
    const QString compartment = first ? first->item.compartmentName : QString();
    keepTranslated(this, [this, where, states, deck, compartment] {
        setWindowTitle(tr("传感器详情 - %1").arg(sensor_->nameAndCode()));
        where->setText(tr("%1  甲板: %2  舱室: %3").arg(sensor_->nameAndCode(), deck, compartment));
        items_->setHorizontalHeaderLabels({tr("测点"), tr("数据点"), tr("数值"), tr("状态"),
                                           tr("限值 (低低/低/高/高高)"), tr("确认点")});
        trend_->chart()->setTitle(tr("趋势"));
        states->setText(tr("状态记录"));
        refresh();
    });
}

QChart* SensorDetail::chart() const
{
    return trend_->chart();
}

QString SensorDetail::historyText() const
{
    return history_->toPlainText();
}

void SensorDetail::refresh()
{
    QList<QPair<QDateTime, QString>> history;
    for (int i = 0; i < sensor_->itemCount(); ++i) {
        const harq::SensorItem* item = sensor_->itemAt(i);
        const int id = feed_.idOf(item);
        const AlarmState::Alarm* alarm = feed_.alarms().alarm(id);
        const QString name = alarm ? alarm->item.name : item->tag();
        const QString value = AlarmFeed::valueText(*item);
        QString state = alarm ? AlarmState::stateText(alarm->state) : QString();
        if (alarm && alarm->shelved)
            state = tr("%1, 搁置: %2").arg(state, alarm->shelveReason);
        const QStringList cells{name, item->tag(), value, state,
                                item->isValueItem() ? QStringLiteral("%1 / %2 / %3 / %4")
                                                          .arg(limitText(item->lowLow()), limitText(item->low()),
                                                               limitText(item->high()), limitText(item->highHigh()))
                                                    : QString(),
                                item->confirmTag()};
        for (int c = 0; c < ItemColumns; ++c)
            items_->setItem(i, c, new QTableWidgetItem(cells.at(c)));
        if (alarm) {
            for (const ItemHistory::Transition& t : feed_.alarms().history().of(id)) {
                const QDateTime at = QDateTime::fromMSecsSinceEpoch(t.msecs);
                history.append({at, tr("%1  %2: %3").arg(at.toString(QLatin1String(kStampFormat)), name, t.text)});
            }
        }
    }
    std::stable_sort(history.begin(), history.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList lines;
    for (const auto& entry : qAsConst(history))
        lines.append(entry.second);
    history_->setPlainText(lines.join(QLatin1Char('\n')));
    refreshTrend();
}

void SensorDetail::refreshTrend()
{
    QChart* chart = trend_->chart();
    chart->removeAllSeries();
    // removeAxis() hands the axis back instead of deleting it: without the
    // delete, every refresh of an open detail would leak its two axes.
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    auto* time = new QCategoryAxis;
    auto* values = new QValueAxis;
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    qint64 from = now - kSpanMs;
    double low = 0.0, high = 0.0;
    bool any = false;
    struct Limit {
        QString name;
        double value;
        bool inner;
    };
    QList<Limit> limits;
    QStringList units;
    const auto add = [&](QLineSeries* series) {
        chart->addSeries(series);
        series->attachAxis(time);
        series->attachAxis(values);
    };
    const auto widen = [&](double v) {
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    };
    QList<QPair<const harq::SensorItem*, int>> drawn;
    for (int i = 0; i < sensor_->itemCount(); ++i) {
        const harq::SensorItem* item = sensor_->itemAt(i);
        const int id = feed_.idOf(item);
        if (item->isValueItem() && feed_.alarms().alarm(id))
            drawn.append({item, id});
    }
    for (const auto& [item, id] : qAsConst(drawn)) {
        const AlarmState::Alarm* alarm = feed_.alarms().alarm(id);
        const std::deque<TrendBuffer::Sample>& trend = feed_.alarms().trend().of(id);
        auto* series = new QLineSeries;
        series->setName(alarm->item.name);
        if (!alarm->item.unit.isEmpty() && !units.contains(alarm->item.unit))
            units.append(alarm->item.unit);
        if (!trend.empty())
            from = std::min(from, trend.front().msecs);
        // Values come on change only: each holds until the next, so the trend is drawn in steps.
        for (const TrendBuffer::Sample& s : trend) {
            if (series->count() > 0)
                series->append(double(s.msecs), series->at(series->count() - 1).y());
            series->append(double(s.msecs), s.value);
            widen(s.value);
        }
        // The value holds until now: the series ends at the present.
        if (!trend.empty())
            series->append(double(now), trend.back().value);
        add(series);
        // Short legend entries, so none is cut; the item's name only tells apart the limits of several items.
        const QString owner = drawn.size() > 1 ? alarm->item.name + QLatin1Char(' ') : QString();
        const std::array<std::tuple<double, QString, bool>, 4> bounds{{{item->lowLow(), tr("低低限"), false},
                                                                       {item->low(), tr("低限"), true},
                                                                       {item->high(), tr("高限"), true},
                                                                       {item->highHigh(), tr("高高限"), false}}};
        for (const auto& [limit, kind, inner] : bounds) {
            if (std::abs(limit) >= kDrawnLimit)
                continue;
            limits.append({owner + kind + QLatin1Char(' ') + QString::number(limit), limit, inner});
            widen(limit);
        }
    }
    // Limits span the whole trend, so they are drawn once its start is known.
    for (const Limit& limit : qAsConst(limits)) {
        auto* line = new QLineSeries;
        line->setName(limit.name);
        line->setPen(QPen(limit.inner ? kLimitColour : kOuterLimitColour, 1, Qt::DashLine));
        line->append(double(from), limit.value);
        line->append(double(now), limit.value);
        add(line);
    }
    setTimeTicks(*time, from, now);
    time->setTitleText(tr("时间"));
    const double margin = any && high > low ? (high - low) * 0.05 : 1.0;
    values->setRange(low - margin, high + margin);
    values->applyNiceNumbers();
    const double step = (values->max() - values->min()) / std::max(values->tickCount() - 1, 1);
    values->setLabelFormat(QStringLiteral("%.%1f").arg(std::clamp(int(std::ceil(-std::log10(step))), 0, kMostDecimals)));
    values->setTitleText(units.isEmpty() ? tr("数值 (配置未给出单位)") : tr("数值 (%1)").arg(units.join(QLatin1String(" / "))));
}
