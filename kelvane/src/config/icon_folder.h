#pragma once

#include <QString>

namespace kelvane {

/// The icons folder that belongs to a configuration file: "icons" beside the
/// file's own folder, canonical and ending in "/". When that folder does not
/// exist the answer is "/" alone, so icons are not found.
QString iconFolderBeside(const QString& config_file);

} // namespace kelvane
