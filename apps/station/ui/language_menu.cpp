#include "language_menu.h"

#include "example_translation.h"

#include <QActionGroup>
#include <QEvent>

namespace {

struct Language {
    const char* code;
    const char* ownName; // never translated: each is read by those who speak it
};

const Language kLanguages[] = {{"zh_CN", "中文"}, {"en", "English"}};

} // namespace

LanguageMenu::LanguageMenu(QWidget* parent)
    : QMenu(parent)
    , languages_(new QActionGroup(this))
{
    for (const Language& language : kLanguages) {
        QAction* action = addAction(QString::fromUtf8(language.ownName));
        action->setCheckable(true);
        action->setData(QLatin1String(language.code));
        languages_->addAction(action);
    }
    connect(languages_, &QActionGroup::triggered, this,
            [this](QAction* action) { choose(action->data().toString()); });
    retranslate();
}

void LanguageMenu::choose(const QString& language)
{
    QString error;
    if (exampletranslation::switchTo(language, &error))
        emit languageChosen(exampletranslation::currentLanguage());
    else
        emit switchFailed(error);
    retranslate();
}

void LanguageMenu::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMenu::changeEvent(event);
}

void LanguageMenu::retranslate()
{
    setTitle(tr("语言"));
    for (QAction* action : languages_->actions())
        action->setChecked(action->data().toString() == exampletranslation::currentLanguage());
}
