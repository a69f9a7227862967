#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

/// The --lang option of the example programs. It installs two translations: the
/// libraries' kelvane_<language>.qm and the examples' kelvane_station_<language>.qm,
/// each looked up where an installed program finds it and then in the build tree.
namespace exampletranslation {

/// The --lang option, for the program's own command-line parser.
QCommandLineOption languageOption();

/// Installs the translations the --lang option in \a arguments asks for. Called
/// before the program reads its command line, so that the help and the errors
/// about the other options already speak that language. True when no language
/// is asked for; false with \a error set when a translation is missing.
bool installRequested(const QStringList& arguments, QString* error);

} // namespace exampletranslation
