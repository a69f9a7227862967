#include "kept_translated.h"

#include <QEvent>
#include <QWidget>

namespace {

/// Owned by the widget it watches, so it goes with it.
class LanguageWatch : public QObject
{
public:
    LanguageWatch(QWidget* widget, std::function<void()> setText)
        : QObject(widget)
        , set_text_(std::move(setText))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::LanguageChange)
            set_text_();
        return false;
    }

private:
    std::function<void()> set_text_;
};

} // namespace

void keepTranslated(QWidget* widget, std::function<void()> setText)
{
    setText();
    new LanguageWatch(widget, std::move(setText));
}
