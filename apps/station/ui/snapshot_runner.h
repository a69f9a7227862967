#pragma once

#include <QCoreApplication>
#include <QString>

class Ship;

/// Writes one picture per deck of the ship as it stands now: drawing, compartments,
/// sensors, boundaries, equipment and teams, at one pixel per drawing unit.
class SnapshotRunner
{
    Q_DECLARE_TR_FUNCTIONS(SnapshotRunner)

public:
    SnapshotRunner(const Ship& ship, const QString& dir);

    /// Writes <dir>/<deck id>.png for every deck; false with \a error set when a
    /// picture cannot be written.
    bool writeAll(QString* error);

private:
    const Ship& ship_;
    QString dir_;
};
