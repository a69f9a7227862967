#pragma once

#include <QString>
#include <QStringList>

/// Where the example programs find the sample ship, its configuration and the
/// translations.
///
/// An installed program looks next to its own prefix: <prefix>/bin/<program>
/// reads <prefix>/share/kelvane/ship.json (with config/, decks/ and icons/
/// beside it) and the translations in <prefix>/share/kelvane/translations. A
/// program run from the build tree, where those folders do not exist, falls
/// back to the sample ship in the source tree and the translations built in the
/// build tree. All of it needs the application object.
namespace exampledata {

/// The folder holding ship.json.
QString shipDir();
/// shipDir()/ship.json, the default of the --ship options.
QString shipFile();
/// The folders to look for a translation in, the installed one first.
QStringList translationFolders();

} // namespace exampledata
