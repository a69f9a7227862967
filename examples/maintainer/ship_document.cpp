#include "ship_document.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>

#include <algorithm>

namespace {

const char* const kFire = "fire";
const char* const kSmoke = "smoke";
const int kMinCorners = 3;

bool readId(const QJsonValue& value, quint64* id)
{
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number < 1 || number != static_cast<double>(static_cast<quint64>(number)))
        return false;
    *id = static_cast<quint64>(number);
    return true;
}

bool readPoint(const QJsonValue& value, QPointF* point)
{
    const QJsonArray pair = value.toArray();
    if (!value.isArray() || pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble())
        return false;
    *point = QPointF(pair[0].toDouble(), pair[1].toDouble());
    return true;
}

bool readOutline(const QJsonValue& value, QPolygonF* outline)
{
    if (!value.isArray())
        return false;
    QPolygonF out;
    for (const QJsonValue& corner : value.toArray()) {
        QPointF point;
        if (!readPoint(corner, &point))
            return false;
        out.append(point);
    }
    if (out.size() < kMinCorners)
        return false;
    *outline = out;
    return true;
}

template <class Entry>
bool hasId(const QList<Entry>& entries, quint64 id)
{
    return std::any_of(entries.cbegin(), entries.cend(), [id](const Entry& entry) { return entry.id == id; });
}

QJsonArray pointJson(QPointF point)
{
    return QJsonArray{point.x(), point.y()};
}

QJsonArray outlineJson(const QPolygonF& outline)
{
    QJsonArray out;
    for (const QPointF& point : outline)
        out.append(pointJson(point));
    return out;
}

bool inside(const QPolygonF& outline, QPointF point)
{
    // The station's loader tests containment with the same rule.
    return outline.containsPoint(point, Qt::OddEvenFill);
}

} // namespace

bool ShipDocument::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(tr("船舶文件 %1 无法打开: %2").arg(path, file.errorString()));
    QJsonParseError parse;
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !json.isObject())
        return fail(tr("船舶文件 %1 不是有效的 JSON 对象: %2").arg(path, parse.errorString()));

    ShipDocument read;
    read.path_ = path;
    read.root_ = json.object();
    if (!read.readDecks(read.root_) || !read.readCompartments(read.root_) || !read.readSensors(read.root_)
        || !read.readBoundaries(read.root_))
        return fail(read.error_);
    *this = read;
    return true;
}

bool ShipDocument::readDecks(const QJsonObject& root)
{
    const QDir base = QFileInfo(path_).absoluteDir();
    for (const QJsonValue& value : root.value(QStringLiteral("decks")).toArray()) {
        const QJsonObject object = value.toObject();
        Deck deck;
        if (!readId(object.value(QStringLiteral("id")), &deck.id) || hasId(decks_, deck.id))
            return fail(tr("船舶文件 %1 (decks 第 %2 项): 编号无效或重复").arg(path_).arg(decks_.size() + 1));
        deck.name = object.value(QStringLiteral("name")).toString();
        deck.level = object.value(QStringLiteral("level")).toInt();
        deck.drawing = base.filePath(object.value(QStringLiteral("drawing")).toString());
        decks_.append(deck);
    }
    if (decks_.isEmpty())
        return fail(tr("船舶文件 %1: 没有甲板").arg(path_));
    std::stable_sort(decks_.begin(), decks_.end(), [](const Deck& a, const Deck& b) { return a.level < b.level; });
    return true;
}

bool ShipDocument::readCompartments(const QJsonObject& root)
{
    int index = 0;
    for (const QJsonValue& value : root.value(QStringLiteral("compartments")).toArray()) {
        ++index;
        const QJsonObject object = value.toObject();
        Compartment compartment;
        compartment.name = object.value(QStringLiteral("name")).toString();
        if (!readId(object.value(QStringLiteral("id")), &compartment.id) || hasId(compartments_, compartment.id)
            || !readId(object.value(QStringLiteral("deck")), &compartment.deck) || !hasId(decks_, compartment.deck)
            || !readOutline(object.value(QStringLiteral("outline")), &compartment.outline))
            return fail(tr("船舶文件 %1 (compartments 第 %2 项): 编号重复，或甲板、轮廓无效").arg(path_).arg(index));
        compartments_.append(compartment);
    }
    return true;
}

bool ShipDocument::readSensors(const QJsonObject& root)
{
    int index = 0;
    for (const QJsonValue& value : root.value(QStringLiteral("sensors")).toArray()) {
        ++index;
        const QJsonObject object = value.toObject();
        Sensor sensor;
        sensor.name = object.value(QStringLiteral("name")).toString();
        sensor.icon = object.value(QStringLiteral("items")).toArray().at(0).toObject()
                          .value(QStringLiteral("icons")).toArray().at(0).toString();
        const bool ok = readId(object.value(QStringLiteral("id")), &sensor.id)
            && readId(object.value(QStringLiteral("deck")), &sensor.deck)
            && readId(object.value(QStringLiteral("compartment")), &sensor.compartment)
            && readPoint(object.value(QStringLiteral("position")), &sensor.position) && !hasId(sensors_, sensor.id);
        const int compartment = ok ? compartmentIndex(sensor.compartment) : -1;
        if (compartment < 0 || compartments_[compartment].deck != sensor.deck)
            return fail(tr("船舶文件 %1 (sensors 第 %2 项): 编号重复，或甲板、舱室、位置无效").arg(path_).arg(index));
        sensors_.append(sensor);
    }
    return true;
}

bool ShipDocument::readBoundaries(const QJsonObject& root)
{
    int index = 0;
    for (const QJsonValue& value : root.value(QStringLiteral("boundaries")).toArray()) {
        ++index;
        const QJsonObject object = value.toObject();
        Boundary boundary;
        const QString type = object.value(QStringLiteral("type")).toString();
        boundary.smoke = type == QLatin1String(kSmoke);
        bool ok = readId(object.value(QStringLiteral("id")), &boundary.id) && !hasId(boundaries_, boundary.id)
            && readId(object.value(QStringLiteral("deck")), &boundary.deck) && hasId(decks_, boundary.deck)
            && (boundary.smoke || type == QLatin1String(kFire))
            && readOutline(object.value(QStringLiteral("outline")), &boundary.outline);
        // One copy per other deck: a deck holds at most one member of a family.
        for (const QJsonValue& copy : object.value(QStringLiteral("copies")).toArray()) {
            quint64 deck = 0;
            ok = ok && readId(copy, &deck) && hasId(decks_, deck) && deck != boundary.deck
                && !boundary.copies.contains(deck);
            boundary.copies.append(deck);
        }
        if (!ok)
            return fail(tr("船舶文件 %1 (boundaries 第 %2 项): 编号重复，或类型、甲板、副本、轮廓无效").arg(path_).arg(index));
        boundaries_.append(boundary);
    }
    return true;
}

bool ShipDocument::save(const QString& path, bool backup)
{
    QJsonObject root = root_;

    QJsonArray compartments = root.value(QStringLiteral("compartments")).toArray();
    for (int i = 0; i < compartments.size(); ++i) {
        QJsonObject object = compartments[i].toObject();
        quint64 id = 0;
        readId(object.value(QStringLiteral("id")), &id);
        object.insert(QStringLiteral("outline"), outlineJson(compartments_[compartmentIndex(id)].outline));
        compartments[i] = object;
    }
    root.insert(QStringLiteral("compartments"), compartments);

    QHash<quint64, Sensor> sensors;
    for (const Sensor& sensor : sensors_)
        sensors.insert(sensor.id, sensor);
    QJsonArray sensorArray = root.value(QStringLiteral("sensors")).toArray();
    for (int i = 0; i < sensorArray.size(); ++i) {
        QJsonObject object = sensorArray[i].toObject();
        quint64 id = 0;
        readId(object.value(QStringLiteral("id")), &id);
        object.insert(QStringLiteral("position"), pointJson(sensors.value(id).position));
        object.insert(QStringLiteral("compartment"), static_cast<double>(sensors.value(id).compartment));
        sensorArray[i] = object;
    }
    root.insert(QStringLiteral("sensors"), sensorArray);

    // Keys the maintainer does not edit survive on boundaries that were kept.
    QHash<quint64, QJsonObject> old;
    for (const QJsonValue& value : root.value(QStringLiteral("boundaries")).toArray()) {
        quint64 id = 0;
        if (readId(value.toObject().value(QStringLiteral("id")), &id))
            old.insert(id, value.toObject());
    }
    QJsonArray boundaries;
    for (const Boundary& boundary : boundaries_) {
        QJsonObject object = old.value(boundary.id);
        object.insert(QStringLiteral("id"), static_cast<double>(boundary.id));
        object.insert(QStringLiteral("type"), QLatin1String(boundary.smoke ? kSmoke : kFire));
        object.insert(QStringLiteral("deck"), static_cast<double>(boundary.deck));
        object.insert(QStringLiteral("outline"), outlineJson(boundary.outline));
        QJsonArray copies;
        for (quint64 deck : boundary.copies)
            copies.append(static_cast<double>(deck));
        object.insert(QStringLiteral("copies"), copies);
        boundaries.append(object);
    }
    root.insert(QStringLiteral("boundaries"), boundaries);

    if (backup && QFile::exists(path) && !writeBackup(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(tr("无法写入船舶文件 %1: %2").arg(path, file.errorString()));
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!file.commit())
        return fail(tr("无法写入船舶文件 %1: %2").arg(path, file.errorString()));
    root_ = root;
    error_.clear();
    return true;
}

bool ShipDocument::writeBackup(const QString& path)
{
    // Through a temporary file too, so an earlier backup survives a failed one.
    const QString bak = path + QStringLiteral(".bak");
    QFile source(path);
    QSaveFile copy(bak);
    if (!source.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly) || copy.write(source.readAll()) < 0
        || !copy.commit())
        return fail(tr("无法写入备份文件 %1").arg(bak));
    return true;
}

QList<ShipDocument::Compartment> ShipDocument::compartmentsOn(quint64 deck) const
{
    QList<Compartment> out;
    for (const Compartment& compartment : compartments_) {
        if (compartment.deck == deck)
            out.append(compartment);
    }
    return out;
}

QList<ShipDocument::Sensor> ShipDocument::sensorsOn(quint64 deck) const
{
    QList<Sensor> out;
    for (const Sensor& sensor : sensors_) {
        if (sensor.deck == deck)
            out.append(sensor);
    }
    return out;
}

quint64 ShipDocument::compartmentAt(quint64 deck, QPointF point) const
{
    for (const Compartment& compartment : compartments_) {
        if (compartment.deck == deck && inside(compartment.outline, point))
            return compartment.id;
    }
    return 0;
}

bool ShipDocument::setSensorPosition(quint64 id, QPointF position)
{
    for (Sensor& sensor : sensors_) {
        if (sensor.id != id)
            continue;
        const quint64 compartment = compartmentAt(sensor.deck, position);
        if (compartment == 0)
            return fail(tr("位置不在本甲板的任何舱室内"));
        sensor.position = position;
        sensor.compartment = compartment;
        return true;
    }
    return fail(tr("未知的传感器 %1").arg(id));
}

bool ShipDocument::setCompartmentOutline(quint64 id, const QPolygonF& outline)
{
    const int index = compartmentIndex(id);
    if (index < 0)
        return fail(tr("未知的舱室 %1").arg(id));
    if (outline.size() < kMinCorners)
        return fail(tr("舱室轮廓至少需要 %1 个点").arg(kMinCorners));
    // Whatever the file places in the compartment must stay inside it, or the
    // station would refuse the saved file.
    for (const char* list : {"equipment", "teams"}) {
        for (const QJsonValue& value : root_.value(QLatin1String(list)).toArray()) {
            const QJsonObject object = value.toObject();
            quint64 compartment = 0;
            QPointF position;
            if (readId(object.value(QStringLiteral("compartment")), &compartment) && compartment == id
                && readPoint(object.value(QStringLiteral("position")), &position) && !inside(outline, position))
                return fail(tr("新轮廓之外还有属于该舱室的设备或队伍"));
        }
    }
    for (const Sensor& sensor : sensors_) {
        if (sensor.compartment == id && !inside(outline, sensor.position))
            return fail(tr("新轮廓之外还有属于该舱室的传感器 %1").arg(sensor.name));
    }
    compartments_[index].outline = outline;
    return true;
}

void ShipDocument::setBoundaries(const QList<Boundary>& boundaries)
{
    quint64 next = 1;
    for (const Boundary& boundary : boundaries)
        next = std::max(next, boundary.id + 1);
    boundaries_ = boundaries;
    for (Boundary& boundary : boundaries_) {
        if (boundary.id == 0)
            boundary.id = next++;
    }
}

int ShipDocument::compartmentIndex(quint64 id) const
{
    for (int i = 0; i < compartments_.size(); ++i) {
        if (compartments_[i].id == id)
            return i;
    }
    return -1;
}

bool ShipDocument::fail(const QString& message)
{
    error_ = message;
    return false;
}
