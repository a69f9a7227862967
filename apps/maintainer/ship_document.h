#pragma once

#include "json_layout.h"
#include "ship_data.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QString>

class ShipReader;

/// The ship file as the maintainer edits it: checked by ShipReader with the
/// station's rules, with typed access to what maintenance changes (sensor
/// positions, compartment outlines, damage boundaries).
///
/// Saving keeps the file the engineer's: everything the maintainer did not
/// change is written back byte for byte (key order, indentation, number forms),
/// so a comparison of the two files shows only the edits (see json_form_writer.h).
class ShipDocument
{
    Q_DECLARE_TR_FUNCTIONS(ShipDocument)

public:
    using Deck = ShipData::Deck;
    using Compartment = ShipData::Compartment;
    using Sensor = ShipData::Sensor;
    using Boundary = ShipData::Boundary;

    /// Decimals a coordinate taken from the plan keeps: 0.001 drawing units,
    /// far below the 0.05 units a screen pixel spans at the closest zoom, so a
    /// saved position never carries the seventeen digits of a pointer mapping.
    static constexpr int kCoordinateDecimals = 3;
    /// \a point with each coordinate rounded to kCoordinateDecimals decimals.
    static QPointF rounded(QPointF point);
    /// \a outline with every corner rounded as by rounded(QPointF).
    static QPolygonF rounded(const QPolygonF& outline);

    /// Reads \a path; false with error() telling why, the document then unchanged.
    /// The sensor style must be loaded: the file's view groups are checked against it.
    bool load(const QString& path);
    /// Reads the file \a reader has opened, as load() does.
    bool load(ShipReader& reader);
    /// Writes the document to \a path through a temporary file, so a failure
    /// leaves any existing file as it was. With \a backup an existing file is
    /// first copied to "<path>.bak". False with error() telling why.
    bool save(const QString& path, bool backup);
    const QString& error() const { return error_; }
    const QString& path() const { return path_; }

    /// Decks from the lowest level up.
    const QList<Deck>& decks() const { return decks_; }
    QList<Compartment> compartmentsOn(quint64 deck) const;
    QList<Sensor> sensorsOn(quint64 deck) const;
    const QList<Boundary>& boundaries() const { return ship_.boundaries; }

    /// The sensors and compartments as edited, to be put back by setPlacement().
    struct Placement {
        QList<Sensor> sensors;
        QList<Compartment> compartments;
    };
    Placement placement() const { return {ship_.sensors, ship_.compartments}; }
    /// Puts back sensor positions and compartments and compartment outlines
    /// taken from this document by placement(); unchecked, as they were checked when made.
    void setPlacement(const Placement& placement);

    /// The compartment of \a deck containing \a point, 0 when none does.
    quint64 compartmentAt(quint64 deck, QPointF point) const;

    /// Moves a sensor; it joins the compartment it lands in. False (nothing
    /// changed) when the point lies in no compartment of the sensor's deck.
    bool setSensorPosition(quint64 sensor, QPointF position);
    /// Replaces an outline. False (nothing changed) with fewer than three
    /// corners, when something installed in the compartment would fall outside,
    /// or when the outline leaves the hull or covers a neighbour (OutlineCheck).
    bool setCompartmentOutline(quint64 compartment, const QPolygonF& outline);
    /// Replaces every boundary; new ones (id 0) get fresh ids.
    void setBoundaries(const QList<Boundary>& boundaries);

private:
    /// The file's JSON with the edits applied.
    QJsonObject edited() const;
    /// Copies \a path to "<path>.bak".
    bool writeBackup(const QString& path);
    bool fail(const QString& message);
    int compartmentIndex(quint64 id) const;

    QString path_;
    QString error_;
    QJsonObject root_;
    JsonLayout layout_;
    ShipData ship_;
    QList<Deck> decks_;
    /// Each deck's hull (OutlineCheck::hullOf), read once with the file.
    QHash<quint64, QPolygonF> hulls_;
};
