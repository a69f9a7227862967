#pragma once

#include <QMenu>

class QActionGroup;

/// The 语言 / Language menu: the languages the station speaks, each named in
/// its own language so a crew that cannot read the other's finds its own.
/// Choosing one switches the whole window at once (exampletranslation::switchTo()):
/// every widget retranslates itself on QEvent::LanguageChange and keeps what
/// it shows (rows, selection, the plan's zoom, open dialogs).
class LanguageMenu : public QMenu
{
    Q_OBJECT

public:
    explicit LanguageMenu(QWidget* parent = nullptr);

    /// Switches to \a language ("zh_CN" or "en") as the menu does.
    void choose(const QString& language);

signals:
    /// The window now speaks \a language; emitted once the switch is made.
    void languageChosen(const QString& language);
    /// \a language could not be switched to, for the reason \a error.
    void switchFailed(const QString& error);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QActionGroup* languages_;
};
