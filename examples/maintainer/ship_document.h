#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QString>

/// The ship file as the maintainer edits it: the JSON document kept whole, with
/// typed access to what maintenance changes (sensor positions, compartment
/// outlines, damage boundaries). Every other key is written back as it was read.
class ShipDocument
{
    Q_DECLARE_TR_FUNCTIONS(ShipDocument)

public:
    struct Deck {
        quint64 id = 0;
        QString name;
        int level = 0;
        QString drawing; ///< absolute path of the SVG file
    };

    struct Compartment {
        quint64 id = 0;
        quint64 deck = 0;
        QString name;
        QPolygonF outline;
    };

    struct Sensor {
        quint64 id = 0;
        quint64 deck = 0;
        quint64 compartment = 0;
        QString name;
        QPointF position;
        QString icon; ///< normal icon of the first item; may be empty
    };

    /// A boundary with the decks it is repeated on; \a id 0 for a new one.
    struct Boundary {
        quint64 id = 0;
        bool smoke = false;
        quint64 deck = 0;
        QPolygonF outline;
        QList<quint64> copies;
    };

    /// Reads \a path; false with error() telling why, the document then unchanged.
    bool load(const QString& path);
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
    const QList<Boundary>& boundaries() const { return boundaries_; }

    /// The compartment of \a deck containing \a point, 0 when none does.
    quint64 compartmentAt(quint64 deck, QPointF point) const;

    /// Moves a sensor; it joins the compartment it lands in. False (nothing
    /// changed) when the point lies in no compartment of the sensor's deck.
    bool setSensorPosition(quint64 sensor, QPointF position);
    /// Replaces an outline. False (nothing changed) with fewer than three
    /// corners or when something installed in the compartment would fall outside.
    bool setCompartmentOutline(quint64 compartment, const QPolygonF& outline);
    /// Replaces every boundary; new ones (id 0) get fresh ids.
    void setBoundaries(const QList<Boundary>& boundaries);

private:
    bool readDecks(const QJsonObject& root);
    bool readCompartments(const QJsonObject& root);
    bool readSensors(const QJsonObject& root);
    bool readBoundaries(const QJsonObject& root);
    /// Copies \a path to "<path>.bak".
    bool writeBackup(const QString& path);
    bool fail(const QString& message);
    int compartmentIndex(quint64 id) const;

    QString path_;
    QString error_;
    QJsonObject root_;
    QList<Deck> decks_;
    QList<Compartment> compartments_;
    QList<Sensor> sensors_;
    QList<Boundary> boundaries_;
};
