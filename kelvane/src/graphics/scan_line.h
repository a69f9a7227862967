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
class KELVANE_EXPORT ScanLine : public QGraphicsObject
{
    Q_OBJECT
    Q_PROPERTY(QPointF position READ scanPos WRITE setScanPos NOTIFY scanPosChanged)

public:
    explicit ScanLine(QGraphicsItem* parent = nullptr);
    ~ScanLine() override;

    /// Sets the sweep up over \a boundary with the two times in milliseconds and
    /// starts it. Called while sweeping, it changes the running cycle in place.
    void initScan(const QRectF& boundary, uint showtime, uint hidetime);
    /// Sets the line's pen width, keeping its colour and style, until the next initScan.
    void setWidth(int w);

    /// The scan position: the line's offset from the rectangle's left edge.
    QPointF scanPos() const;
    void setScanPos(QPointF pos);

    /// Empty: the scan line draws nothing itself, its child line does.
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

signals:
    /// Notification signal of the position property; not emitted by the scan line.
    void scanPosChanged(QPointF pos);

private:
    QGraphicsLineItem* line_;
    QPropertyAnimation* animation_;
    QLineF start_line_;
};
