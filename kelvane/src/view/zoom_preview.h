#pragma once

#include <QImage>
#include <QObject>
#include <QRectF>
#include <QSize>
#include <QTimer>
#include <QTransform>

class QGraphicsView;

/// Shows a view's last frame scaled while the user zooms step by step, and has
/// the view draw its scene at the new scale once the steps pause: a zoom step
/// then costs one scaled copy of the frame instead of a render of the deck
/// drawing and of every item at the new scale.
///
/// The frame is taken from the window's backing store when a burst of steps
/// begins, into memory kept from burst to burst. Paints during the burst show
/// it, mapped from the transform it was taken under to the present one, over
/// the viewport's background; scene changes made meanwhile show after the
/// pause. A change of the view's transform that did not come through a step, a
/// new scene rectangle or a resize ends the burst at the next paint. Without a
/// raster backing store (another platform, a native viewport) step() does
/// nothing and the view draws as usual.
/// Internal to the library.
class ZoomPreview : public QObject
{
public:
    /// How long after the last step the scene is drawn anew.
    static constexpr int kSettleMs = 200;

    /// Previews for \a view, which outlives it.
    explicit ZoomPreview(QGraphicsView& view);

    /// Call before the view's transform changes for one zoom step: takes the
    /// frame if no burst runs, and restarts the pause.
    void step();
    /// Call once the step changed the transform.
    void stepped();
    /// From the view's paint event: draws the preview and returns true while a
    /// burst runs; returns false, leaving the paint to the view, otherwise.
    bool paint();
    /// Ends the burst: the view draws its scene again, all of it.
    void end();

private:
    QGraphicsView& view_;
    QTimer settle_;
    /// The frame, kept between bursts for its memory; shown while a burst runs.
    QImage frame_;
    bool showing_ = false;
    /// The view's transform when the frame was taken, and after the last step.
    QTransform taken_;
    QTransform expected_;
    /// The view's scene rectangle and viewport size when the frame was taken.
    QRectF scene_rect_;
    QSize size_;
};
