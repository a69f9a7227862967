#include "view/zoom_preview.h"

#include <QBackingStore>
#include <QGraphicsView>
#include <QPainter>

namespace {

/// The pixels of \a widget as last drawn into its window's raster backing
/// store, at the store's pixel ratio; null when the window has no such store.
QImage lastFrame(QWidget& widget)
{
    QBackingStore* store = widget.backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return QImage();
    const QImage& window = *static_cast<QImage*>(device);
    const qreal ratio = window.devicePixelRatio();
    const QRect logical(widget.mapTo(widget.window(), QPoint()), widget.size());
    const QRect area(logical.topLeft() * ratio, logical.size() * ratio);
    if (!window.rect().contains(area))
        return QImage();
    QImage frame = window.copy(area);
    frame.setDevicePixelRatio(ratio);
    return frame;
}

} // namespace

ZoomPreview::ZoomPreview(QGraphicsView& view)
    : view_(view)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &ZoomPreview::end);
}

void ZoomPreview::step()
{
    if (frame_.isNull()) {
        frame_ = lastFrame(*view_.viewport());
        if (frame_.isNull())
            return;
        taken_ = view_.viewportTransform();
        scene_rect_ = view_.sceneRect();
        size_ = view_.viewport()->size();
    }
    settle_.start();
}

void ZoomPreview::stepped()
{
    expected_ = view_.viewportTransform();
}

bool ZoomPreview::paint()
{
    if (frame_.isNull())
        return false;
    // The frame no longer shows what the view is asked to show.
    if (view_.viewportTransform() != expected_ || view_.sceneRect() != scene_rect_
        || view_.viewport()->size() != size_) {
        end();
        return false;
    }
    QPainter painter(view_.viewport());
    painter.setTransform(taken_.inverted() * expected_);
    painter.drawImage(QPointF(), frame_);
    return true;
}

void ZoomPreview::end()
{
    settle_.stop();
    if (frame_.isNull())
        return;
    frame_ = QImage();
    view_.viewport()->update();
}
