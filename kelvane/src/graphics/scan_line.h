#pragma once

#include "kelvane_export.h"

#include <QGraphicsObject>
#include <QLineF>

class QGraphicsLineItem;
class QPropertyAnimation;

/// A thin red vertical line that sweeps across a rectangle of the deck plan from
/// left to right, again and again: it crosses the rectangle in the "show" time,
/// runs on one more width beyond its right edge in the "hide" time, then starts
/// over at the left edge.
///
/// The host creates it and places it in the deck scene; nothing moves before
/// initScan(), and once started the sweep goes on until the scan line is hidden
/// or deleted. The line and its animation are owned by the scan line.
class KELVANE_EXPORT ScanLine : public QGraphicsObject
{
    Q_OBJECT
    Q_PROPERTY(QPointF position READ scanPos WRITE setScanPos NOTIFY scanPosChanged)

public:
    /// An idle scan line showing no line yet, child item of \a parent (none
    /// when null).
    explicit ScanLine(QGraphicsItem* parent = nullptr);
    ~ScanLine() override;

    /// Sets the sweep up over \a boundary with the two times in milliseconds and
    /// starts it. Called while sweeping, it changes the running cycle in place.
    /// The pen becomes a thousandth of the rectangle's width wide, replacing a
    /// width from setWidth(). The cycle lasts the sum of the times, at least
    /// 1 ms and at most what an animation holds. Without hide time the line
    /// still runs on one more width, so it crosses the rectangle in half the
    /// show time; without show time it only runs beyond the right edge. A
    /// rectangle of negative width is swept from right to left.
    void initScan(const QRectF& boundary, uint showtime, uint hidetime);
    /// Sets the line's pen width to \a w, keeping its colour and style, until the next initScan.
    void setWidth(int w);

    /// The scan position: the line's offset from the rectangle's left edge.
    QPointF scanPos() const;
    /// Moves the line to the scan position \a pos; a running sweep overrides it
    /// at its next step. scanPosChanged() is not emitted.
    void setScanPos(QPointF pos);

    /// Empty: the scan line draws nothing itself, its child line does.
    QRectF boundingRect() const override;
    /// Draws nothing: the child line shows the scan.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

signals:
    /// Notification signal of the position property; not emitted by the scan line.
    void scanPosChanged(QPointF pos);

private:
    QGraphicsLineItem* line_;
    QPropertyAnimation* animation_;
    QLineF start_line_;
};
