#pragma once

#include <QDate>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <array>

/// The contents of a ship file (ship.json, see docs/host-guide.md) as ShipReader
/// checked them: every reference resolves, every position lies in its
/// compartment. Entries keep the order of the file.
struct ShipData
{
    /// Directions of a compartment's neighbours, in the order of harq's directions.
    static constexpr std::size_t kDirections = 6;
    /// Fewest corners an outline may have.
    static constexpr int kMinCorners = 3;
    /// Whether \a point lies in \a outline, by the one rule the station, the
    /// reader and the maintainer all apply (odd-even).
    static bool contains(const QPolygonF& outline, QPointF point)
    {
        return outline.containsPoint(point, Qt::OddEvenFill);
    }

    struct Deck {
        quint64 id = 0;
        QString name;
        int level = 0;
        QString drawing; ///< absolute, cleaned path of the SVG file
    };

    struct Compartment {
        quint64 id = 0;
        quint64 deck = 0;
        QString name;
        QString code;
        int type = 0;
        /// The response type given in the file; -1 when the file leaves it to the region style.
        int response = -1;
        QString ribs;
        QString side;
        QPolygonF outline;
        std::array<QList<quint64>, kDirections> neighbours;
    };

    struct Item {
        bool state = false; ///< a STATE item (else VALUE)
        QString tag;
        QString confirmTag;
        QString transform;
        double lowLow = -1e38;
        double low = -1.0;
        double high = 1.0;
        double highHigh = 1e38;
        int precision = 3;
        QStringList icons; ///< normal and alarm icon of a state item
    };

    struct Sensor {
        quint64 id = 0;
        quint64 deck = 0;
        quint64 compartment = 0;
        QString name;
        QString code;
        QPointF position;
        QString viewGroup;
        QString system;
        QString device;
        QList<Item> items;

        /// The normal icon of the first item, empty for a value item.
        QString icon() const { return items.isEmpty() || items.first().icons.isEmpty() ? QString() : items.first().icons.first(); }
    };

    struct Classifier {
        quint64 id = 0;
        QString name;
        QString icon;
        bool moveable = false;
        int bits = 0;
        QString situation;
    };

    struct Equipment {
        quint64 id = 0;
        quint64 classifier = 0;
        quint64 deck = 0;
        quint64 compartment = 0; ///< 0 when the file names none
        QPointF position;
        int amount = 0;
        int condition = 0;
        QDate validDate;
        QString specification;
        QString charge;
        QString controller;
        QString maintenance;
        QString comments;
    };

    struct Team {
        QString name;
        quint64 deck = 0;
        quint64 compartment = 0; ///< 0 when the file names none
        QPointF position;
    };

    /// A boundary with the decks it is repeated on; id 0 for one not yet saved.
    struct Boundary {
        quint64 id = 0;
        bool smoke = false;
        quint64 deck = 0;
        QPolygonF outline;
        QList<quint64> copies;
    };

    QString name;
    QList<Deck> decks;
    QList<Compartment> compartments;
    QList<Sensor> sensors;
    QList<Classifier> classifiers;
    QList<Equipment> equipment;
    QList<Team> teams;
    QList<Boundary> boundaries;
};
