#pragma once

#include "alarm_priority.h"
#include "palette_choice.h"

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QString>
#include <QtCharts/QChart>

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
// Qt 6 took the chart classes out of their namespace: the plain name serves both.
using QtCharts::QChart;
#endif

#include <functional>

/// The colours of the station in the palette the watch has chosen: day (as
/// the station has always looked), dusk and night, dimmer in that order, as a
/// bridge's displays are for the night watch.
///
/// One palette is current for the whole station, as the application's
/// QPalette is: choose() makes it the application's palette, so every window
/// and dialog follows, and tells the parts that colour things themselves
/// (changed()). The deck drawing is recoloured through drawingColours(), which
/// turns its light paper dark and its dark lines light at dusk and night,
/// keeping every hue. Alarm colours stay apart from each other and from the
/// background in every palette.
class StationPalette : public QObject
{
    Q_OBJECT

public:
    /// The station's palette; day until choose() says otherwise.
    static StationPalette& instance();

    PaletteChoice choice() const { return choice_; }
    /// Makes \a choice current: the application's palette and the station's
    /// own colours change, then changed() is emitted. Choosing the current
    /// palette again changes nothing.
    void choose(PaletteChoice choice);

    /// The colour of \a priority's symbol and text.
    QColor priority(AlarmPriority priority) const;
    /// What the deck drawing's colours become; an empty function for day,
    /// which shows the drawing as written.
    std::function<QColor(const QColor&)> drawingColours() const;
    /// The background of the plan around the drawing and of the lists.
    QColor background() const;
    /// The theme of charts (the sensor detail's trend).
    QChart::ChartTheme chartTheme() const;
    /// Style sheet of a notice (what the station tells the operator in place).
    QString noticeStyle() const;
    /// Style sheet of the stale-data banner.
    QString staleStyle() const;
    /// Colour of text that reports stale data outside the banner.
    QColor staleText() const;
    /// Background and text of a row whose data are stale, and background of a shelved row.
    QColor staleRow() const;
    QColor staleRowText() const;
    QColor shelvedRow() const;

signals:
    /// Another palette is current.
    void changed(PaletteChoice choice);

private:
    StationPalette();

    PaletteChoice choice_ = PaletteChoice::Day;
    // The application's palette before any was chosen: day's.
    QPalette day_;
};
