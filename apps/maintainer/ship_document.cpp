#include "ship_document.h"

#include "json_form_writer.h"
#include "outline_check.h"
#include "ship_reader.h"

#include "config/sensor_config.h"
#include "entity/view_group.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

quint64 idOf(const QJsonValue& entry)
{
    return static_cast<quint64>(entry.toObject().value(QStringLiteral("id")).toDouble());
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

} // namespace

bool ShipDocument::load(const QString& path)
{
    ShipReader reader;
    return reader.open(path) ? load(reader) : fail(reader.error());
}

bool ShipDocument::load(ShipReader& reader)
{
    ShipData ship;
    const auto knownViewGroup = [](const QString& name) {
        const SensorConfig::ViewGroups& groups = SensorConfig::instance().viewGroups();
        return std::any_of(groups.cbegin(), groups.cend(),
                           [&name](const harq::ViewGroup& group) { return group.name() == name; });
    };
    if (!reader.read(knownViewGroup, &ship))
        return fail(reader.error());
    path_ = reader.path();
    root_ = reader.root();
    layout_ = reader.layout();
    ship_ = ship;
    decks_ = ship.decks;
    hulls_.clear();
    for (const Deck& deck : decks_)
        hulls_.insert(deck.id, OutlineCheck::hullOf(deck.drawing));
    std::stable_sort(decks_.begin(), decks_.end(), [](const Deck& a, const Deck& b) { return a.level < b.level; });
    error_.clear();
    return true;
}

QJsonObject ShipDocument::edited() const
{
    QJsonObject root = root_;

    QJsonArray compartments = root.value(QStringLiteral("compartments")).toArray();
    for (int i = 0; i < compartments.size(); ++i) {
        QJsonObject object = compartments[i].toObject();
        object.insert(QStringLiteral("outline"), outlineJson(ship_.compartments[compartmentIndex(idOf(object))].outline));
        compartments[i] = object;
    }
    root.insert(QStringLiteral("compartments"), compartments);

    QHash<quint64, Sensor> sensors;
    for (const Sensor& sensor : ship_.sensors)
        sensors.insert(sensor.id, sensor);
    QJsonArray sensorArray = root.value(QStringLiteral("sensors")).toArray();
    for (int i = 0; i < sensorArray.size(); ++i) {
        QJsonObject object = sensorArray[i].toObject();
        const Sensor sensor = sensors.value(idOf(object));
        object.insert(QStringLiteral("position"), pointJson(sensor.position));
        object.insert(QStringLiteral("compartment"), static_cast<double>(sensor.compartment));
        sensorArray[i] = object;
    }
    root.insert(QStringLiteral("sensors"), sensorArray);

    // Keys the maintainer does not edit survive on boundaries that were kept.
    QHash<quint64, QJsonObject> old;
    for (const QJsonValue& value : root.value(QStringLiteral("boundaries")).toArray())
        old.insert(idOf(value), value.toObject());
    QJsonArray boundaries;
    for (const Boundary& boundary : ship_.boundaries) {
        QJsonObject object = old.value(boundary.id);
        object.insert(QStringLiteral("id"), static_cast<double>(boundary.id));
        object.insert(QStringLiteral("type"), QLatin1String(boundary.smoke ? "smoke" : "fire"));
        object.insert(QStringLiteral("deck"), static_cast<double>(boundary.deck));
        object.insert(QStringLiteral("outline"), outlineJson(boundary.outline));
        QJsonArray copies;
        for (quint64 deck : boundary.copies)
            copies.append(static_cast<double>(deck));
        object.insert(QStringLiteral("copies"), copies);
        boundaries.append(object);
    }
    root.insert(QStringLiteral("boundaries"), boundaries);
    return root;
}

bool ShipDocument::save(const QString& path, bool backup)
{
    const QJsonObject root = edited();
    const QByteArray text = JsonFormWriter::write(layout_, root_, root);
    if (backup && QFile::exists(path) && !writeBackup(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(tr("无法写入船舶文件 %1: %2").arg(path, file.errorString()));
    file.write(text);
    if (!file.commit())
        return fail(tr("无法写入船舶文件 %1: %2").arg(path, file.errorString()));
    // The next save compares with what this one wrote.
    root_ = root;
    layout_.scan(text);
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
    std::copy_if(ship_.compartments.cbegin(), ship_.compartments.cend(), std::back_inserter(out),
                 [deck](const Compartment& compartment) { return compartment.deck == deck; });
    return out;
}

QList<ShipDocument::Sensor> ShipDocument::sensorsOn(quint64 deck) const
{
    QList<Sensor> out;
    std::copy_if(ship_.sensors.cbegin(), ship_.sensors.cend(), std::back_inserter(out),
                 [deck](const Sensor& sensor) { return sensor.deck == deck; });
    return out;
}

quint64 ShipDocument::compartmentAt(quint64 deck, QPointF point) const
{
    for (const Compartment& compartment : ship_.compartments) {
        if (compartment.deck == deck && ShipData::contains(compartment.outline, point))
            return compartment.id;
    }
    return 0;
}

QPointF ShipDocument::rounded(QPointF point)
{
    static const double scale = std::pow(10.0, kCoordinateDecimals);
    return {std::round(point.x() * scale) / scale, std::round(point.y() * scale) / scale};
}

QPolygonF ShipDocument::rounded(const QPolygonF& outline)
{
    QPolygonF out;
    out.reserve(outline.size());
    for (const QPointF& point : outline)
        out.append(rounded(point));
    return out;
}

bool ShipDocument::setSensorPosition(quint64 id, QPointF position)
{
    for (Sensor& sensor : ship_.sensors) {
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
    if (outline.size() < ShipData::kMinCorners)
        return fail(tr("舱室轮廓至少需要 %1 个点").arg(ShipData::kMinCorners));
    // Whatever the file places in the compartment must stay inside it, or the
    // station would refuse the saved file.
    const auto outside = [&](quint64 compartment, QPointF position) {
        return compartment == id && !ShipData::contains(outline, position);
    };
    for (const ShipData::Equipment& piece : ship_.equipment) {
        if (outside(piece.compartment, piece.position))
            return fail(tr("新轮廓之外还有属于该舱室的设备或队伍"));
    }
    for (const ShipData::Team& team : ship_.teams) {
        if (outside(team.compartment, team.position))
            return fail(tr("新轮廓之外还有属于该舱室的设备或队伍"));
    }
    for (const Sensor& sensor : ship_.sensors) {
        if (outside(sensor.compartment, sensor.position))
            return fail(tr("新轮廓之外还有属于该舱室的传感器 %1").arg(sensor.name));
    }
    const quint64 deck = ship_.compartments[index].deck;
    const QString problem = OutlineCheck::problem(id, outline, hulls_.value(deck), compartmentsOn(deck));
    if (!problem.isEmpty())
        return fail(problem);
    ship_.compartments[index].outline = outline;
    return true;
}

void ShipDocument::setPlacement(const Placement& placement)
{
    ship_.sensors = placement.sensors;
    ship_.compartments = placement.compartments;
}

void ShipDocument::setBoundaries(const QList<Boundary>& boundaries)
{
    quint64 next = 1;
    for (const Boundary& boundary : boundaries)
        next = std::max(next, boundary.id + 1);
    ship_.boundaries = boundaries;
    for (Boundary& boundary : ship_.boundaries) {
        if (boundary.id == 0)
            boundary.id = next++;
    }
}

int ShipDocument::compartmentIndex(quint64 id) const
{
    for (int i = 0; i < ship_.compartments.size(); ++i) {
        if (ship_.compartments[i].id == id)
            return i;
    }
    return -1;
}

bool ShipDocument::fail(const QString& message)
{
    error_ = message;
    return false;
}
