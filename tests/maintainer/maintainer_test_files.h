#pragma once

#include <QJsonObject>
#include <QString>

class QTemporaryDir;

/// Real files for the maintainer's tests.
namespace maintainertest {

/// Copies the sample ship (ship file and deck drawings) into \a dir; the path of the copied ship file.
QString copySampleShip(const QTemporaryDir& dir);
/// Loads the sample ship's region, sensor and damage styles.
void loadSampleStyles();
/// The JSON object in \a path, empty when it cannot be read.
QJsonObject readJson(const QString& path);
/// The first entry of \a root's list \a list whose id is \a id.
QJsonObject entry(const QJsonObject& root, const char* list, double id);

} // namespace maintainertest
