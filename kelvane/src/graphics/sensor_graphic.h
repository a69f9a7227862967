#pragma once

#include "graphics/sensor_tool_tips.h"
#include "kelvane_export.h"

#include <QGraphicsObject>
#include <QPointer>

#include <initializer_list>

class QGraphicsPixmapItem;
class AlarmAnimation;
class SensorLabel;

namespace harq {
class Sensor;
}

/// Scene item that shows one sensor: its icon centred on the sensor's position,
/// a label above the icon and a tool tip with the sensor's state. The variants
/// decide what else follows the sensor's state. Nothing is shown before setSensor().
///
/// The variants have their own type(); cast to this base with qobject_cast.
///
/// The host creates the graphics, choosing the variant per sensor, binds each
/// to its sensor, optionally gives it an alarm animation, and hands it to the
/// SensorLayer. The sensor is not owned; the child items and the animation are.
/// Sizes, opacity and label colour come from the sensor style. The label shows
/// the sensor's code, in the maintenance edition its name; that edition has no
/// alarm animation.
class KELVANE_EXPORT SensorGraphic : public QGraphicsObject
{
    Q_OBJECT
    friend class SensorGraphicEdition;

public:
    /// An unbound graphic without child items, child item of \a parent (none
    /// when null); it must not be shown in a scene before setSensor().
    explicit SensorGraphic(QGraphicsItem* parent = nullptr);
    /// Takes the graphic out of its parent item; the child items and the alarm
    /// animation go with it.
    ~SensorGraphic() override;

    /// Binds the graphic to \a sensor (not null), forgetting the previous one,
    /// and rebuilds icon, label, position and tool tip from it. A running alarm
    /// animation stops; the new sensor's next state change may start it again.
    /// The graphic moves to the x and y of the sensor's position; the tool tip
    /// is the sensor's name, a colon and its state text. The label is built only
    /// here, so a later change of the sensor's code shows at the next call.
    /// For a sensor of state items the tool tip texts are kept per combination
    /// of abnormal items (SensorToolTips): icon names changed after this call
    /// may show only after the next one; a new name shows at the next state change.
    /// A null \a sensor stops the process through the library's assertion.
    void setSensor(harq::Sensor* sensor);
    /// The bound sensor; null before setSensor() and once the sensor is destroyed.
    harq::Sensor* sensor() const;

    /// Union of the icon and the label as last built by initSensor(); empty
    /// before setSensor().
    QRectF boundingRect() const override;
    /// Draws nothing: the child items show everything.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    /// Builds the icon and the label from the sensor and the sensor style: the
    /// icon as wide as the style says and centred on the origin, the label
    /// centred above it. The child items are created on the first call and
    /// reused after. Called by setSensor(); overrides call the base first.
    virtual void initSensor();
    /// Shows what depends on the sensor's state. Called on every state change
    /// of the bound sensor, after the tool tip (and the animation) are refreshed.
    virtual void doUpdateSensor() = 0;

    /// The icon's rectangle in this item's coordinates; empty before setSensor().
    QRectF iconRect() const;
    /// Union of the rectangles of \a children and of the icon and the label,
    /// each in this item's coordinates. Variants that add child items keep
    /// their bounding rectangle with it after each initSensor().
    QRectF childBounds(std::initializer_list<const QGraphicsItem*> children) const;

private slots:
    void updateSensor();

private:
    void updateToolTip();

    QPointer<harq::Sensor> sensor_;
    SensorToolTips tool_tips_;
    /// The tool tip as this graphic set it last.
    QString tool_tip_;
    QGraphicsPixmapItem* icon_ = nullptr;
    SensorLabel* name_ = nullptr;
    /// boundingRect(), kept since the view asks for it on every paint.
    QRectF bounds_;

    // What only one edition has.
#ifndef KELVANE_MAINTENANCE
public:
    /// Takes ownership of \a animation, destroying the one installed before; null
    /// removes it. It starts at the next state change that finds the sensor
    /// abnormal, and stops at the next one that finds it normal. Needs a bound
    /// sensor: called before setSensor() it stops the process through the
    /// library's assertion.
    void acceptAnimotion(AlarmAnimation* animation);
    /// Marks the sensor's alarm as seen by the operator (false by default).
    /// While acknowledged an abnormal sensor shows steady: a running alarm
    /// animation stops at once (restoring the former effect, as stop() does)
    /// and state changes do not start it. Clearing the flag while the sensor
    /// is abnormal starts the animation again. The flag stays until cleared,
    /// also across a return to normal; setting it to its current value does
    /// nothing.
    void setAcknowledged(bool acknowledged);
    /// Whether the alarm is acknowledged; see setAcknowledged().
    bool isAcknowledged() const;

protected:
    /// The item the alarm animation blinks: the graphic itself, unless a
    /// variant says otherwise.
    virtual QGraphicsItem* animationItem();

private:
    /// Starts or stops the animation to match the sensor's state and the acknowledgement.
    void updateAnimation();

    QPointer<AlarmAnimation> animation_;
    bool acknowledged_ = false;
#endif
};
