#pragma once

#include <QString>
#include <QVarLengthArray>

namespace harq {
class Sensor;
}

/// The tool tip texts of one sensor graphic: the sensor's name, a colon and its
/// state text, kept per combination of abnormal items once built, so that a
/// state change that returns to a combination shown before costs no string
/// work and hands out the same shared text.
///
/// Kept only for sensors whose items are all state items: their texts follow
/// from the icon names, which are set before the items go live. Texts of value
/// items depend on the limits and on the language of the moment and are built
/// afresh each time. A new name of the sensor drops the kept texts. Internal
/// to the library.
class SensorToolTips
{
public:
    /// The tool tip for \a sensor's present state.
    const QString& text(const harq::Sensor& sensor);
    /// Drops the kept texts, as for another sensor.
    void clear();

private:
    /// Combinations kept; a sensor cycling through more starts over.
    static constexpr int kKept = 8;

    struct Kept
    {
        quint64 abnormal;
        QString text;
    };

    QString name_;
    QVarLengthArray<Kept, kKept> kept_;
    /// The last text that was not kept.
    QString built_;
};
