#pragma once

#include <QString>

/// Where the example programs find the sample ship and its configuration.
///
/// An installed program looks next to its own prefix: <prefix>/bin/<program>
/// reads <prefix>/share/kelvane/ship.json (with config/, decks/ and icons/
/// beside it). A program run from the build tree, where that folder does not
/// exist, falls back to the sample ship in the source tree.
namespace exampledata {

/// The folder holding ship.json. Needs the application object.
QString shipDir();
/// shipDir()/ship.json, the default of the --ship options.
QString shipFile();

} // namespace exampledata
