#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

/// The --lang option of the example programs, and the switch of language while
/// they run. A language other than the source texts' Chinese installs two
/// translations: the libraries' kelvane_<language>.qm and the examples'
/// kelvane_station_<language>.qm, each looked up where an installed program
/// finds it and then in the build tree. Every language also takes Qt's own
/// qtbase_<language>.qm from the system (package qttranslations5-l10n), so the
/// standard buttons and dialogs speak it too; without it they stay in English.
namespace exampletranslation {

/// The language the programs' texts are written in, which needs no catalogue.
QString sourceLanguage();

/// The --lang option, for the program's own command-line parser.
QCommandLineOption languageOption();

/// Installs the translations the --lang option in \a arguments asks for, the
/// source language when none is. Called before the program reads its command
/// line, so that the help and the errors about the other options already
/// speak that language. False with \a error set when a translation is missing.
bool installRequested(const QStringList& arguments, QString* error);

/// Replaces the translations installed by this unit with those of \a language
/// ("zh_CN" or "zh" for the source language). Every widget then receives a
/// QEvent::LanguageChange, once the event loop delivers it, and retranslates
/// itself. False with \a error set, and the language unchanged, when a
/// translation is missing.
bool switchTo(const QString& language, QString* error);

/// The language switched to last, the source language before any.
QString currentLanguage();

} // namespace exampletranslation
