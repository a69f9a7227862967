#include "zoom_keeper.h"

#include <QEvent>
#include <QGraphicsView>

ZoomKeeper::ZoomKeeper(QGraphicsView* view)
    : QObject(view)
    , view_(view)
{
    view_->installEventFilter(this);
}

bool ZoomKeeper::eventFilter(QObject* watched, QEvent* event)
{
    // The filter sees the resize before the view refits, while the viewport
    // still has its former size; several resizes in one turn keep the first.
    if (watched == view_ && event->type() == QEvent::Resize && !pending_ && view_->scene()) {
        const QRectF visible = view_->mapToScene(view_->viewport()->rect()).boundingRect();
        if (!visible.contains(view_->sceneRect())) {
            transform_ = view_->transform();
            centre_ = visible.center();
            scene_rect_ = view_->sceneRect();
            pending_ = true;
            // Posted now, so it runs before the paint the resize asks for.
            QMetaObject::invokeMethod(this, &ZoomKeeper::restore, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

void ZoomKeeper::restore()
{
    pending_ = false;
    // Another deck shown in the meantime has been fitted on purpose.
    if (view_->sceneRect() != scene_rect_)
        return;
    view_->setTransform(transform_);
    view_->centerOn(centre_);
}
