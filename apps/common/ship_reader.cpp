#include "ship_reader.h"

#include "gbk_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kFormat = 1;
constexpr int kRegionTypes = 10;
constexpr int kIconCount = 2;
constexpr double kLargestId = 9007199254740992.0; // 2^53: JSON numbers stay exact below it

const char* const kDirectionKeys[ShipData::kDirections] = {"up", "down", "left", "right", "front", "back"};
// A record keeps 128 GBK bytes of a data-point name: a longer one never matches its own updates.
constexpr int kLongestPointName = 128;

template <class Entry>
const Entry* byId(const QList<Entry>& entries, quint64 id)
{
    const auto it = std::find_if(entries.cbegin(), entries.cend(), [id](const Entry& entry) { return entry.id == id; });
    return it == entries.cend() ? nullptr : &*it;
}

} // namespace

bool ShipReader::load(const QString& path, const ViewGroupCheck& knownViewGroup, ShipData* ship)
{
    return open(path) && read(knownViewGroup, ship);
}

bool ShipReader::open(const QString& path)
{
    path_ = path;
    root_ = QJsonObject();
    section_.clear();
    index_ = -1;
    error_.clear();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = tr("船舶文件 %1 无法打开: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    const QByteArray text = file.readAll();
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject() || !layout_.scan(text))
        return fail(tr("不是有效的JSON对象(位置 %1: %2)").arg(parseError.offset).arg(parseError.errorString()));
    root_ = document.object();
    return true;
}

bool ShipReader::read(const ViewGroupCheck& knownViewGroup, ShipData* ship)
{
    *ship = ShipData();
    section_.clear();
    index_ = -1;
    int format = 0;
    if (!readInt(root_, "format", &format))
        return false;
    if (format != kFormat)
        return fail(tr("不支持的格式版本 %1").arg(format));
    QJsonArray decks, compartments, sensors, classifiers, equipment, teams, boundaries;
    return readText(root_, "name", &ship->name, false) && readList(root_, "decks", &decks)
        && readList(root_, "compartments", &compartments) && readList(root_, "sensors", &sensors)
        && readList(root_, "equipment_classifiers", &classifiers) && readList(root_, "equipment", &equipment)
        && readList(root_, "teams", &teams) && readList(root_, "boundaries", &boundaries)
        && readDecks(decks, *ship) && readCompartments(compartments, *ship)
        && readSensors(sensors, knownViewGroup, *ship) && readClassifiers(classifiers, *ship)
        && readEquipment(equipment, *ship) && readTeams(teams, *ship) && readBoundaries(boundaries, *ship);
}

bool ShipReader::readDecks(const QJsonArray& decks, ShipData& ship)
{
    if (decks.isEmpty()) {
        enter("decks", -1);
        return fail(tr("没有甲板"));
    }
    const QDir base = QFileInfo(path_).absoluteDir();
    for (int i = 0; i < decks.size(); ++i) {
        enter("decks", i);
        const QJsonObject json = decks.at(i).toObject();
        ShipData::Deck deck;
        if (!readId(json, "id", &deck.id) || !readText(json, "name", &deck.name)
            || !readInt(json, "level", &deck.level) || !readText(json, "drawing", &deck.drawing))
            return false;
        if (byId(ship.decks, deck.id))
            return fail(tr("甲板编号 %1 重复").arg(deck.id));
        // A missing drawing is not fatal: the deck shows an error text in its place.
        if (!readDrawing(base, &deck.drawing))
            return false;
        ship.decks.append(deck);
    }
    return true;
}

bool ShipReader::readDrawing(const QDir& base, QString* drawing)
{
    // The ship is handed over as its folder: a drawing elsewhere would be read from whatever lies there.
    const QString resolved = QDir::cleanPath(base.absoluteFilePath(*drawing));
    if (!resolved.startsWith(QDir::cleanPath(base.absolutePath()) + QLatin1Char('/')))
        return fail(tr("甲板图 %1 不在船舶文件的目录中").arg(*drawing));
    *drawing = resolved;
    return true;
}

bool ShipReader::readCompartments(const QJsonArray& compartments, ShipData& ship)
{
    for (int i = 0; i < compartments.size(); ++i) {
        enter("compartments", i);
        const QJsonObject json = compartments.at(i).toObject();
        ShipData::Compartment compartment;
        if (!readId(json, "id", &compartment.id) || !readDeck(json, ship, &compartment.deck)
            || !readText(json, "name", &compartment.name) || !readText(json, "code", &compartment.code)
            || !readInt(json, "type", &compartment.type) || !readText(json, "ribs", &compartment.ribs, false)
            || !readText(json, "side", &compartment.side, false)
            || !readOutline(json, "outline", &compartment.outline))
            return false;
        if (compartment.type < 0 || compartment.type >= kRegionTypes)
            return fail(tr("舱室类型 %1 不在 0 到 9 之间").arg(compartment.type));
        if (byId(ship.compartments, compartment.id))
            return fail(tr("舱室编号 %1 重复").arg(compartment.id));
        if (!readInt(json, "response", &compartment.response, false))
            return false;
        ship.compartments.append(compartment);
    }
    // Neighbours may name compartments further down the list.
    for (int i = 0; i < compartments.size(); ++i) {
        enter("compartments", i);
        if (!readNeighbours(compartments.at(i).toObject(), ship, ship.compartments[i]))
            return false;
    }
    return true;
}

bool ShipReader::readNeighbours(const QJsonObject& json, const ShipData& ship, ShipData::Compartment& compartment)
{
    const QJsonObject neighbours = json.value(QStringLiteral("neighbours")).toObject();
    for (const QString& key : neighbours.keys()) {
        const auto direction = std::find_if(std::begin(kDirectionKeys), std::end(kDirectionKeys),
                                            [&key](const char* name) { return key == QLatin1String(name); });
        if (direction == std::end(kDirectionKeys))
            return fail(tr("未知的方向 %1").arg(key));
        for (const QJsonValue& other : neighbours.value(key).toArray()) {
            const auto* neighbour = byId(ship.compartments, quint64(other.toDouble()));
            if (!neighbour)
                return fail(tr("相邻舱室 %1 不存在").arg(other.toVariant().toString()));
            compartment.neighbours[std::size_t(direction - std::begin(kDirectionKeys))].append(neighbour->id);
        }
    }
    return true;
}

bool ShipReader::readSensors(const QJsonArray& sensors, const ViewGroupCheck& knownViewGroup, ShipData& ship)
{
    QSet<quint64> ids;
    for (int i = 0; i < sensors.size(); ++i) {
        enter("sensors", i);
        const QJsonObject json = sensors.at(i).toObject();
        ShipData::Sensor sensor;
        if (!readId(json, "id", &sensor.id) || !readDeck(json, ship, &sensor.deck)
            || !readText(json, "name", &sensor.name) || !readText(json, "code", &sensor.code)
            || !readPoint(json.value(QStringLiteral("position")), "position", &sensor.position)
            || !readCompartment(json, "compartment", ship, sensor.deck, sensor.position, true, &sensor.compartment)
            || !readText(json, "view_group", &sensor.viewGroup) || !readText(json, "system", &sensor.system, false)
            || !readText(json, "device", &sensor.device, false))
            return false;
        if (ids.contains(sensor.id))
            return fail(tr("传感器编号 %1 重复").arg(sensor.id));
        ids.insert(sensor.id);
        if (!knownViewGroup(sensor.viewGroup))
            return fail(tr("未知的传感器视图组 %1").arg(sensor.viewGroup));
        const QJsonArray items = json.value(QStringLiteral("items")).toArray();
        if (items.isEmpty())
            return fail(tr("传感器没有测点"));
        for (const QJsonValue& value : items) {
            ShipData::Item item;
            if (!readItem(value, &item))
                return false;
            sensor.items.append(item);
        }
        ship.sensors.append(sensor);
    }
    return true;
}

bool ShipReader::readItem(const QJsonValue& value, ShipData::Item* item)
{
    const QJsonObject json = value.toObject();
    QString kind;
    if (!readText(json, "kind", &kind) || !readText(json, "tag", &item->tag)
        || !readText(json, "confirm_tag", &item->confirmTag, false)
        || !readText(json, "transform", &item->transform, false)
        || !readNumber(json, "low_low", &item->lowLow, false) || !readNumber(json, "low", &item->low, false)
        || !readNumber(json, "high", &item->high, false) || !readNumber(json, "high_high", &item->highHigh, false)
        || !readInt(json, "precision", &item->precision, false))
        return false;
    if (kind != QLatin1String("STATE") && kind != QLatin1String("VALUE"))
        return fail(tr("测点类别 %1 应为 STATE 或 VALUE").arg(kind));
    if (!(item->low < item->high))
        return fail(tr("测点 %1 的下限不小于上限").arg(item->tag));
    if (!checkPointName(item->tag) || !checkPointName(item->confirmTag))
        return false;
    for (const QJsonValue& icon : json.value(QStringLiteral("icons")).toArray())
        item->icons.append(icon.toString());
    // The model tells state items from value items by their icons, so the two must agree.
    item->state = kind == QLatin1String("STATE");
    if (item->state
        && (item->icons.size() != kIconCount || (item->icons.at(0).isEmpty() && item->icons.at(1).isEmpty())))
        return fail(tr("状态测点 %1 需要正常和报警两个图标").arg(item->tag));
    if (!item->state && json.contains(QStringLiteral("icons")))
        return fail(tr("数值测点 %1 不能有图标").arg(item->tag));
    return true;
}

bool ShipReader::checkPointName(const QString& name)
{
    static QTextCodec* const gbk = QTextCodec::codecForName("GBK");
    QTextCodec::ConverterState state;
    const QByteArray bytes = gbk->fromUnicode(name.constData(), name.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return fail(tr("测点名 %1 含有 GBK 无法表示的字符").arg(name));
    if (bytes.size() > kLongestPointName)
        return fail(tr("测点名 %1 超过 %2 字节").arg(name).arg(kLongestPointName));
    // A NUL ends the name on the wire; other control characters break the lines it is written in.
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return fail(tr("测点名含有控制字符"));
    return true;
}

bool ShipReader::readClassifiers(const QJsonArray& classifiers, ShipData& ship)
{
    for (int i = 0; i < classifiers.size(); ++i) {
        enter("equipment_classifiers", i);
        const QJsonObject json = classifiers.at(i).toObject();
        ShipData::Classifier classifier;
        if (!readId(json, "id", &classifier.id) || !readText(json, "name", &classifier.name)
            || !readText(json, "icon", &classifier.icon) || !readInt(json, "classifier", &classifier.bits)
            || !readText(json, "situation", &classifier.situation, false))
            return false;
        if (byId(ship.classifiers, classifier.id))
            return fail(tr("设备类别编号 %1 重复").arg(classifier.id));
        classifier.moveable = json.value(QStringLiteral("moveable")).toBool();
        ship.classifiers.append(classifier);
    }
    return true;
}

bool ShipReader::readEquipment(const QJsonArray& pieces, ShipData& ship)
{
    for (int i = 0; i < pieces.size(); ++i) {
        enter("equipment", i);
        const QJsonObject json = pieces.at(i).toObject();
        ShipData::Equipment piece;
        QString validDate;
        if (!readId(json, "id", &piece.id) || !readId(json, "classifier", &piece.classifier)
            || !readDeck(json, ship, &piece.deck)
            || !readPoint(json.value(QStringLiteral("position")), "position", &piece.position)
            || !readCompartment(json, "compartment", ship, piece.deck, piece.position, false, &piece.compartment)
            || !readInt(json, "amount", &piece.amount) || !readInt(json, "condition", &piece.condition, false)
            || !readText(json, "valid_date", &validDate, false)
            || !readText(json, "specification", &piece.specification, false)
            || !readText(json, "charge", &piece.charge, false)
            || !readText(json, "controller", &piece.controller, false)
            || !readText(json, "maintenance", &piece.maintenance, false)
            || !readText(json, "comments", &piece.comments, false))
            return false;
        if (!byId(ship.classifiers, piece.classifier))
            return fail(tr("未知的设备类别 %1").arg(piece.classifier));
        piece.validDate = QDate::fromString(validDate, Qt::ISODate);
        if (!validDate.isEmpty() && !piece.validDate.isValid())
            return fail(tr("有效期 %1 不是日期").arg(validDate));
        ship.equipment.append(piece);
    }
    return true;
}

bool ShipReader::readTeams(const QJsonArray& teams, ShipData& ship)
{
    for (int i = 0; i < teams.size(); ++i) {
        enter("teams", i);
        const QJsonObject json = teams.at(i).toObject();
        ShipData::Team team;
        if (!readText(json, "name", &team.name) || !readDeck(json, ship, &team.deck)
            || !readPoint(json.value(QStringLiteral("position")), "position", &team.position)
            || !readCompartment(json, "compartment", ship, team.deck, team.position, false, &team.compartment))
            return false;
        ship.teams.append(team);
    }
    return true;
}

bool ShipReader::readBoundaries(const QJsonArray& boundaries, ShipData& ship)
{
    for (int i = 0; i < boundaries.size(); ++i) {
        enter("boundaries", i);
        const QJsonObject json = boundaries.at(i).toObject();
        ShipData::Boundary boundary;
        QString type;
        if (!readId(json, "id", &boundary.id) || !readDeck(json, ship, &boundary.deck)
            || !readText(json, "type", &type) || !readOutline(json, "outline", &boundary.outline))
            return false;
        if (type != QLatin1String("fire") && type != QLatin1String("smoke"))
            return fail(tr("边界类型 %1 应为 fire 或 smoke").arg(type));
        if (byId(ship.boundaries, boundary.id))
            return fail(tr("边界编号 %1 重复").arg(boundary.id));
        boundary.smoke = type == QLatin1String("smoke");
        // One copy per other deck: a deck holds at most one member of a family.
        for (const QJsonValue& copy : json.value(QStringLiteral("copies")).toArray()) {
            const quint64 copyDeck = quint64(copy.toDouble());
            if (!byId(ship.decks, copyDeck) || copyDeck == boundary.deck || boundary.copies.contains(copyDeck))
                return fail(tr("边界复制到的甲板 %1 无效").arg(copy.toVariant().toString()));
            boundary.copies.append(copyDeck);
        }
        ship.boundaries.append(boundary);
    }
    return true;
}

bool ShipReader::readId(const QJsonObject& object, const char* key, quint64* id)
{
    const QJsonValue value = object.value(QLatin1String(key));
    const double number = value.toDouble(-1.0);
    if (!value.isDouble() || number < 1.0 || number >= kLargestId || std::floor(number) != number)
        return fail(tr("字段 %1 应为正整数编号").arg(QLatin1String(key)));
    *id = quint64(number);
    return true;
}

bool ShipReader::readText(const QJsonObject& object, const char* key, QString* text, bool required)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined() && !required)
        return true;
    if (!value.isString() || (required && value.toString().isEmpty()))
        return fail(tr("字段 %1 应为非空文本").arg(QLatin1String(key)));
    *text = value.toString();
    return true;
}

bool ShipReader::readNumber(const QJsonObject& object, const char* key, double* number, bool required)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined() && !required)
        return true;
    if (!value.isDouble())
        return fail(tr("字段 %1 应为数值").arg(QLatin1String(key)));
    *number = value.toDouble();
    return true;
}

bool ShipReader::readInt(const QJsonObject& object, const char* key, int* number, bool required)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined() && !required)
        return true;
    const double d = value.toDouble();
    if (!value.isDouble() || std::floor(d) != d || std::fabs(d) > double(std::numeric_limits<int>::max()))
        return fail(tr("字段 %1 应为整数").arg(QLatin1String(key)));
    *number = int(d);
    return true;
}

bool ShipReader::readList(const QJsonObject& object, const char* key, QJsonArray* list)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return true;
    if (!value.isArray())
        return fail(tr("字段 %1 应为列表").arg(QLatin1String(key)));
    *list = value.toArray();
    return true;
}

bool ShipReader::readPoint(const QJsonValue& json, const char* key, QPointF* point)
{
    const QJsonArray xy = json.toArray();
    if (xy.size() != 2 || !xy.at(0).isDouble() || !xy.at(1).isDouble())
        return fail(tr("字段 %1 应为 [x, y] 坐标").arg(QLatin1String(key)));
    *point = QPointF(xy.at(0).toDouble(), xy.at(1).toDouble());
    return true;
}

bool ShipReader::readOutline(const QJsonObject& object, const char* key, QPolygonF* outline)
{
    const QJsonArray points = object.value(QLatin1String(key)).toArray();
    if (points.size() < ShipData::kMinCorners)
        return fail(tr("字段 %1 应为至少三个点的轮廓").arg(QLatin1String(key)));
    outline->clear();
    for (const QJsonValue& p : points) {
        QPointF point;
        if (!readPoint(p, key, &point))
            return false;
        outline->append(point);
    }
    return true;
}

bool ShipReader::readDeck(const QJsonObject& object, const ShipData& ship, quint64* deck)
{
    if (!readId(object, "deck", deck))
        return false;
    if (!byId(ship.decks, *deck))
        return fail(tr("未知的甲板编号 %1").arg(*deck));
    return true;
}

bool ShipReader::readCompartment(const QJsonObject& object, const char* key, const ShipData& ship, quint64 deck,
                                 QPointF position, bool required, quint64* compartment)
{
    if (!required && !object.contains(QLatin1String(key)))
        return true;
    if (!readId(object, key, compartment))
        return false;
    const ShipData::Compartment* found = byId(ship.compartments, *compartment);
    if (!found || found->deck != deck)
        return fail(tr("舱室 %1 不在该甲板上").arg(*compartment));
    if (!ShipData::contains(found->outline, position))
        return fail(tr("位置 (%1, %2) 不在舱室 %3 内").arg(position.x()).arg(position.y()).arg(found->name));
    return true;
}

bool ShipReader::fail(const QString& message)
{
    const JsonSpan* list = section_.isEmpty() ? nullptr : layout_.root().member(section_);
    const JsonSpan* entry = list ? list->element(index_) : nullptr;
    const QString where = section_.isEmpty() ? QString()
        : !entry                             ? tr(" (%1)").arg(section_)
                                             : tr(" (%1 第 %2 项, 第 %3 行)").arg(section_).arg(index_ + 1).arg(entry->line);
    error_ = tr("船舶文件 %1%2: %3").arg(QDir::toNativeSeparators(path_), where, message);
    return false;
}

void ShipReader::enter(const char* section, int index)
{
    section_ = QLatin1String(section);
    index_ = index;
}
