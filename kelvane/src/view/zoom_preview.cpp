#include "view/zoom_preview.h"

#include <QBackingStore>
#include <QGraphicsView>
#include <QPainter>

#include <cstring>

namespace {

/// Copies the pixels of \a widget as last drawn into its window's raster
/// backing store into \a frame, at the store's pixel ratio, in the frame's own
/// memory where it has the size and format already: a new image for every
/// burst costs the system's page faults for megabytes. False when the window
/// has no such store.
bool takeLastFrame(QWidget& widget, QImage& frame)
{
    QBackingStore* store = widget.backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return false;
    const QImage& window = *static_cast<QImage*>(device);
    const qreal ratio = window.devicePixelRatio();
    const QRect logical(widget.mapTo(widget.window(), QPoint()), widget.size());
    const QRect area(logical.topLeft() * ratio, logical.size() * ratio);
    if (!window.rect().contains(area) || window.depth() % 8 != 0)
        return false;
    if (frame.size() != area.size() || frame.format() != window.format())
        frame = QImage(area.size(), window.format());
    const int pixelBytes = window.depth() / 8;
    for (int y = 0; y < area.height(); ++y) {
        std::memcpy(frame.scanLine(y), window.constScanLine(area.top() + y) + area.left() * pixelBytes,
                    size_t(area.width()) * pixelBytes);
    }
    frame.setDevicePixelRatio(ratio);
    return true;
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
    if (!showing_) {
        showing_ = takeLastFrame(*view_.viewport(), frame_);
        if (!showing_)
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
    if (!showing_)
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
    if (!showing_)
        return;
    showing_ = false;
    view_.viewport()->update();
}
