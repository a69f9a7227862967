#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>

class QJsonArray;
class QJsonObject;
class QJsonValue;
class Ship;

namespace harq {
class Deck;
class Region;
class Sensor;
class SensorItem;
}

/// Reads a ship file (ship.json, see docs/host-guide.md) into the ship model.
///
/// The region and sensor styles must be loaded first: compartments take their
/// type's name and icon from the region style, sensors their view group from the
/// sensor style. Any fault in the file rejects the whole ship with a message that
/// names the file, the entry and the field; nothing is half loaded.
class ShipLoader
{
    Q_DECLARE_TR_FUNCTIONS(ShipLoader)

public:
    /// The ship, or null with error() telling why.
    std::unique_ptr<Ship> load(const QString& path);
    const QString& error() const { return error_; }

private:
    bool loadDecks(const QJsonArray& decks, Ship& ship);
    bool loadCompartments(const QJsonArray& compartments, Ship& ship);
    bool loadNeighbours(const QJsonArray& compartments, Ship& ship);
    bool loadSensors(const QJsonArray& sensors, Ship& ship);
    bool loadItem(const QJsonValue& json, harq::Sensor& sensor);
    bool loadEquipment(const QJsonArray& classifiers, const QJsonArray& pieces, Ship& ship);
    bool loadTeams(const QJsonArray& teams, Ship& ship);
    bool loadBoundaries(const QJsonArray& boundaries, Ship& ship);
    static void associate(Ship& ship);

    // Field readers: false (with the error set) when the field is missing or of the wrong kind.
    bool readId(const QJsonObject& object, const char* key, quint64* id);
    bool readText(const QJsonObject& object, const char* key, QString* text, bool required = true);
    bool readNumber(const QJsonObject& object, const char* key, double* number, bool required = true);
    bool readInt(const QJsonObject& object, const char* key, int* number, bool required = true);
    /// A missing list is empty.
    bool readList(const QJsonObject& object, const char* key, QJsonArray* list);
    bool readPoint(const QJsonValue& json, const char* key, QPointF* point);
    bool readOutline(const QJsonObject& object, const char* key, QPolygonF* outline);
    bool readDeck(const QJsonObject& object, Ship& ship, harq::Deck** deck);
    /// The compartment named by \a key on \a deck, which must contain \a position.
    bool readCompartment(const QJsonObject& object, const char* key, const harq::Deck& deck, QPointF position,
                         bool required, harq::Region** compartment);

    bool fail(const QString& message);
    void enter(const char* section, int index);

    QString path_;
    QString section_;
    int index_ = -1;
    QString error_;
};
