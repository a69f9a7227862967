#pragma once

#include <functional>

class QWidget;

/// Runs \a setText now and again each time \a widget receives
/// QEvent::LanguageChange, for as long as \a widget lives. For a text a unit
/// sets on something that is not its own widget (an entry it adds to the
/// window's menu or tool bar), where it cannot override changeEvent().
/// \a setText must call tr() itself, so it reads the language of the moment.
void keepTranslated(QWidget* widget, std::function<void()> setText);
