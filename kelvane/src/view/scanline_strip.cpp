#include "view/scanline_strip.h"

#include <QEvent>
#include <QPaintEvent>
#include <QWidget>

ScanlineStrip::ScanlineStrip(QWidget& viewport)
    : QObject(&viewport)
    , viewport_(viewport)
{
    viewport_.installEventFilter(this);
}

bool ScanlineStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &viewport_ && event->type() == QEvent::Paint) {
        many_rects_ = static_cast<QPaintEvent*>(event)->region().rectCount() > kManyRects;
        watchWindow();
    } else if (watched == window_ && event->type() == QEvent::UpdateRequest && many_rects_) {
        // The window is about to repaint what is dirty: the column joins the
        // same repaint rather than asking for one of its own.
        viewport_.update(0, 0, 1, viewport_.height());
    }
    return false;
}

// Updates are requested from the top-level widget, which changes when a host
// moves the view into another window.
void ScanlineStrip::watchWindow()
{
    QWidget* window = viewport_.window();
    if (window == window_)
        return;
    if (window_)
        window_->removeEventFilter(this);
    window_ = window;
    window_->installEventFilter(this);
}
