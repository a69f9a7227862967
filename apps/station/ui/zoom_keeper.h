#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QTransform>

class QGraphicsView;

/// Keeps the operator's zoom on a deck plan whose widget is resized.
///
/// The display library refits the deck on every resize of its view, which is
/// right for a plan that shows the whole deck, but a notice or the link banner
/// shown above the plan resizes it by a line, and the compartment the operator
/// had zoomed into would be thrown away in the middle of an incident. While
/// part of the deck is out of sight, a resize therefore keeps the scale and
/// the scene point at the centre of the view; a plan that shows the whole deck
/// is refitted as before.
class ZoomKeeper : public QObject
{
    Q_OBJECT

public:
    /// Watches \a view, and is owned by it.
    explicit ZoomKeeper(QGraphicsView* view);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore();

    QGraphicsView* view_;
    QTransform transform_;
    QPointF centre_;
    QRectF scene_rect_;
    bool pending_ = false;
};
