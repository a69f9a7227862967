#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class AlarmFeed;
class DeckScene;
class MarkSensorGraphic;
class QGraphicsEllipseItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;

namespace harq {
class Sensor;
}

/// What the station adds to the library's sensor graphics on the deck plan:
/// the priority symbol of a sensor's most urgent listed alarm beside its icon
/// (in the priority's colour, an "S" for a shelved one), blinking only while an
/// alarm of the sensor awaits acknowledgement (the graphic's acknowledged flag),
/// a tool tip with every item's name, value, limits, state and tag, a ring
/// around the sensor the operator asked to see from the alarm list, and, while
/// the data is stale, a blue-grey hatch over the whole plan with the blinking stopped.
class PlanMarks : public QObject
{
    Q_OBJECT

public:
    PlanMarks(DeckScene* scene, const AlarmFeed& feed, QObject* parent = nullptr);

    /// Takes over the sensor graphics the scene holds now (call after each change of deck).
    void decorate();
    /// Marks the plan's values as no longer live (true) or live again.
    void setStale(bool stale);

    /// The graphic of \a sensor on the deck shown; null when it is not shown.
    MarkSensorGraphic* graphicOf(const harq::Sensor* sensor) const;
    /// The priority symbol beside \a sensor's graphic; empty when none is shown.
    QString symbolOf(const harq::Sensor* sensor) const;
    bool isStaleShown() const { return hatch_ != nullptr; }
    /// Rings \a sensor's graphic on the deck shown, instead of the sensor
    /// ringed before; the ring goes with the next one or a change of deck.
    void highlight(const harq::Sensor* sensor);
    /// The sensor ringed on the deck shown; null when none is.
    const harq::Sensor* highlighted() const { return ring_ ? ringed_ : nullptr; }

protected:
    bool event(QEvent* event) override;

private:
    struct Mark {
        QPointer<MarkSensorGraphic> graphic;
        QGraphicsSimpleTextItem* badge = nullptr;
    };

    void update(const harq::Sensor* sensor);
    void updateToolTip(const harq::Sensor* sensor);
    void showHatch();

    DeckScene* scene_;
    const AlarmFeed& feed_;
    QHash<const harq::Sensor*, Mark> marks_;
    QGraphicsRectItem* hatch_ = nullptr;
    QGraphicsEllipseItem* ring_ = nullptr;
    const harq::Sensor* ringed_ = nullptr;
    bool stale_ = false;
};
