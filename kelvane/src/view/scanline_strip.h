#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

/// Adds a one-pixel column at the left edge of a viewport to its repaints
/// while they are made of many small rectangles (a flood of blinking sensors).
///
/// The raster engine clips each fill against the repaint region line by line.
/// For a line the region does not cover it walks the region's line spans one
/// by one from the first, so every item whose top rows lie outside the region
/// (an icon above a blinking mark) pays a walk through thousands of spans. A
/// column down the whole viewport gives every line a span and turns those walks
/// into lookups: a third off such a paint. The column repaints to the same
/// pixels, and costs the few items along the edge.
///
/// Whether the next repaint will be such a one is judged from the last: the
/// column joins the window's next update once a paint had more than
/// kManyRects rectangles, and stays out once a paint had fewer.
/// Internal to the library.
class ScanlineStrip : public QObject
{
public:
    /// Repaints of more rectangles than this get the column.
    static constexpr int kManyRects = 64;

    /// Watches \a viewport, which outlives it, and its window.
    explicit ScanlineStrip(QWidget& viewport);

protected:
    /// Notes the rectangles of the viewport's paints and adds the column to the
    /// window's update requests; lets every event through.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchWindow();

    QWidget& viewport_;
    QPointer<QWidget> window_;
    bool many_rects_ = false;
};
