#pragma once

#include "json_layout.h"
#include "ship_data.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

#include <functional>

class QDir;
class QJsonArray;
class QJsonValue;

/// Reads a ship file (ship.json, see docs/host-guide.md) with the station's
/// rules, for the station and the maintainer alike: what one refuses, the other
/// refuses with the same message.
///
/// Any fault rejects the whole file with a message that names the file, the
/// entry (list and position), its line and the field. The sensor view groups
/// come from the sensor style, which the caller knows; the region types are 0 to 9.
class ShipReader
{
    Q_DECLARE_TR_FUNCTIONS(ShipReader)

public:
    /// True when the sensor style knows the view group of that name.
    using ViewGroupCheck = std::function<bool(const QString&)>;

    /// Reads and parses \a path; false with error() when it cannot be read or is not a JSON object.
    bool open(const QString& path);
    /// Checks the opened file into \a ship; false with error() telling why, \a ship then unspecified.
    bool read(const ViewGroupCheck& knownViewGroup, ShipData* ship);
    /// open() and read().
    bool load(const QString& path, const ViewGroupCheck& knownViewGroup, ShipData* ship);

    const QString& error() const { return error_; }
    const QString& path() const { return path_; }
    /// The parsed file and where its values lie in the text.
    const QJsonObject& root() const { return root_; }
    const JsonLayout& layout() const { return layout_; }

private:
    bool readDecks(const QJsonArray& decks, ShipData& ship);
    /// The deck drawing \a drawing, relative to \a base, made absolute; it must lie inside \a base.
    bool readDrawing(const QDir& base, QString* drawing);
    bool readCompartments(const QJsonArray& compartments, ShipData& ship);
    bool readNeighbours(const QJsonObject& json, const ShipData& ship, ShipData::Compartment& compartment);
    bool readSensors(const QJsonArray& sensors, const ViewGroupCheck& knownViewGroup, ShipData& ship);
    bool readItem(const QJsonValue& json, ShipData::Item* item);
    /// A data-point name the wire carries as it is: GBK, at most 128 bytes, no control characters.
    bool checkPointName(const QString& name);
    bool readClassifiers(const QJsonArray& classifiers, ShipData& ship);
    bool readEquipment(const QJsonArray& pieces, ShipData& ship);
    bool readTeams(const QJsonArray& teams, ShipData& ship);
    bool readBoundaries(const QJsonArray& boundaries, ShipData& ship);

    // Field readers: false (with the error set) when the field is missing or of the wrong kind.
    bool readId(const QJsonObject& object, const char* key, quint64* id);
    bool readText(const QJsonObject& object, const char* key, QString* text, bool required = true);
    bool readNumber(const QJsonObject& object, const char* key, double* number, bool required = true);
    bool readInt(const QJsonObject& object, const char* key, int* number, bool required = true);
    /// A missing list is empty.
    bool readList(const QJsonObject& object, const char* key, QJsonArray* list);
    bool readPoint(const QJsonValue& json, const char* key, QPointF* point);
    bool readOutline(const QJsonObject& object, const char* key, QPolygonF* outline);
    bool readDeck(const QJsonObject& object, const ShipData& ship, quint64* deck);
    /// The compartment named by \a key on \a deck, which must contain \a position.
    bool readCompartment(const QJsonObject& object, const char* key, const ShipData& ship, quint64 deck,
                         QPointF position, bool required, quint64* compartment);

    bool fail(const QString& message);
    void enter(const char* section, int index);

    QString path_;
    QJsonObject root_;
    JsonLayout layout_;
    QString section_;
    int index_ = -1;
    QString error_;
};
