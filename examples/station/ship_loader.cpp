#include "ship_loader.h"

#include "ship.h"

#include "config/region_config.h"
#include "config/sensor_config.h"
#include "entity/deck.h"
#include "entity/equipment.h"
#include "entity/equipment_classifier.h"
#include "entity/neighbour.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/value_transform.h"
#include "entity/view_group.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTextCodec>

#include <cmath>
#include <limits>

namespace {

constexpr int kFormat = 1;
constexpr int kRegionTypes = 10;
constexpr int kIconCount = 2;
constexpr double kLargestId = 9007199254740992.0; // 2^53: JSON numbers stay exact below it

const char* const kDirectionKeys[] = {"up", "down", "left", "right", "front", "back"};
// A data-point name travels as at most 255 GBK bytes.
constexpr int kLongestPointName = 255;

int gbkLength(const QString& name)
{
    static QTextCodec* const gbk = QTextCodec::codecForName("GBK");
    return gbk ? gbk->fromUnicode(name).size() : name.toUtf8().size();
}

} // namespace

std::unique_ptr<Ship> ShipLoader::load(const QString& path)
{
    path_ = path;
    section_.clear();
    index_ = -1;
    error_.clear();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(tr("无法打开船舶文件"));
        return nullptr;
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        fail(tr("不是有效的JSON对象(位置 %1: %2)").arg(parseError.offset).arg(parseError.errorString()));
        return nullptr;
    }
    const QJsonObject root = document.object();
    int format = 0;
    if (!readInt(root, "format", &format))
        return nullptr;
    if (format != kFormat) {
        fail(tr("不支持的格式版本 %1").arg(format));
        return nullptr;
    }

    auto ship = std::make_unique<Ship>();
    QString name;
    if (!readText(root, "name", &name, false))
        return nullptr;
    ship->setName(name);
    QJsonArray decks, compartments, sensors, classifiers, equipment, teams, boundaries;
    if (!readList(root, "decks", &decks) || !readList(root, "compartments", &compartments)
        || !readList(root, "sensors", &sensors) || !readList(root, "equipment_classifiers", &classifiers)
        || !readList(root, "equipment", &equipment) || !readList(root, "teams", &teams)
        || !readList(root, "boundaries", &boundaries))
        return nullptr;
    if (!loadDecks(decks, *ship) || !loadCompartments(compartments, *ship) || !loadNeighbours(compartments, *ship)
        || !loadSensors(sensors, *ship) || !loadEquipment(classifiers, equipment, *ship) || !loadTeams(teams, *ship)
        || !loadBoundaries(boundaries, *ship))
        return nullptr;
    associate(*ship);
    ship->buildIndex();
    return ship;
}

bool ShipLoader::loadDecks(const QJsonArray& decks, Ship& ship)
{
    if (decks.isEmpty()) {
        enter("decks", -1);
        return fail(tr("没有甲板"));
    }
    const QDir base = QFileInfo(path_).absoluteDir();
    for (int i = 0; i < decks.size(); ++i) {
        enter("decks", i);
        const QJsonObject json = decks.at(i).toObject();
        quint64 id = 0;
        int level = 0;
        QString name, drawing;
        if (!readId(json, "id", &id) || !readText(json, "name", &name) || !readInt(json, "level", &level)
            || !readText(json, "drawing", &drawing))
            return false;
        if (ship.deckById(id))
            return fail(tr("甲板编号 %1 重复").arg(id));
        auto* deck = new harq::Deck(id);
        deck->setName(name);
        deck->setLevel(level);
        // A missing drawing is not fatal: the deck scene shows an error text in its place.
        deck->setSvg(QDir::cleanPath(base.absoluteFilePath(drawing)));
        ship.addDeck(deck);
    }
    return true;
}

bool ShipLoader::loadCompartments(const QJsonArray& compartments, Ship& ship)
{
    const RegionConfig& style = RegionConfig::instance();
    for (int i = 0; i < compartments.size(); ++i) {
        enter("compartments", i);
        const QJsonObject json = compartments.at(i).toObject();
        quint64 id = 0;
        harq::Deck* deck = nullptr;
        QString name, code, ribs, side;
        int type = 0;
        QPolygonF outline;
        if (!readId(json, "id", &id) || !readDeck(json, ship, &deck) || !readText(json, "name", &name)
            || !readText(json, "code", &code) || !readInt(json, "type", &type)
            || !readText(json, "ribs", &ribs, false) || !readText(json, "side", &side, false)
            || !readOutline(json, "outline", &outline))
            return false;
        if (type < 0 || type >= kRegionTypes)
            return fail(tr("舱室类型 %1 不在 0 到 9 之间").arg(type));
        if (ship.regionById(id))
            return fail(tr("舱室编号 %1 重复").arg(id));
        const auto typeGroup = style.srViewGroup(type);
        int response = typeGroup ? typeGroup->responseType() : 0;
        if (!readInt(json, "response", &response, false))
            return false;

        auto* region = new harq::Region;
        region->setID(id);
        region->setName(name);
        region->setCode(code);
        region->setType(type);
        region->setRibs(ribs);
        region->setSide(side);
        region->setRegionPath(outline);
        region->setViewGroup(std::make_shared<harq::ViewGroup>(style.srName(type), style.srIconName(type), response));
        deck->addRegion(region);
        region->setDeck(deck);
    }
    return true;
}

bool ShipLoader::loadNeighbours(const QJsonArray& compartments, Ship& ship)
{
    for (int i = 0; i < compartments.size(); ++i) {
        enter("compartments", i);
        const QJsonObject json = compartments.at(i).toObject();
        harq::Region* region = ship.regionById(quint64(json.value(QStringLiteral("id")).toDouble()));
        // Setting the centre empties the lists, so it comes first.
        region->neighbour()->setCenter(region);
        const QJsonObject neighbours = json.value(QStringLiteral("neighbours")).toObject();
        for (const QString& key : neighbours.keys()) {
            std::size_t direction = harq::directions();
            for (std::size_t d = 0; d < harq::directions(); ++d) {
                if (key == QLatin1String(kDirectionKeys[d]))
                    direction = d;
            }
            if (direction == harq::directions())
                return fail(tr("未知的方向 %1").arg(key));
            for (const QJsonValue& other : neighbours.value(key).toArray()) {
                harq::Region* neighbour = ship.regionById(quint64(other.toDouble()));
                if (!neighbour)
                    return fail(tr("相邻舱室 %1 不存在").arg(other.toVariant().toString()));
                region->neighbour()->addNeighbour(neighbour, harq::indexDirection(direction));
            }
        }
    }
    return true;
}

bool ShipLoader::loadSensors(const QJsonArray& sensors, Ship& ship)
{
    const SensorConfig& style = SensorConfig::instance();
    QSet<quint64> ids;
    for (int i = 0; i < sensors.size(); ++i) {
        enter("sensors", i);
        const QJsonObject json = sensors.at(i).toObject();
        quint64 id = 0;
        harq::Deck* deck = nullptr;
        harq::Region* compartment = nullptr;
        QString name, code, group, system, device;
        QPointF position;
        if (!readId(json, "id", &id) || !readDeck(json, ship, &deck) || !readText(json, "name", &name)
            || !readText(json, "code", &code)
            || !readPoint(json.value(QStringLiteral("position")), "position", &position)
            || !readCompartment(json, "compartment", *deck, position, true, &compartment)
            || !readText(json, "view_group", &group) || !readText(json, "system", &system, false)
            || !readText(json, "device", &device, false))
            return false;
        if (ids.contains(id))
            return fail(tr("传感器编号 %1 重复").arg(id));
        ids.insert(id);
        auto viewGroup = style.viewGroupByName(group);
        if (!viewGroup)
            return fail(tr("未知的传感器视图组 %1").arg(group));
        const QJsonArray items = json.value(QStringLiteral("items")).toArray();
        if (items.isEmpty())
            return fail(tr("传感器没有测点"));

        auto sensor = std::make_unique<harq::Sensor>();
        sensor->setID(id);
        sensor->setName(name);
        sensor->setCode(code);
        sensor->setSystem(system);
        sensor->setDevice(device);
        sensor->setPos(position);
        sensor->setViewGroup(viewGroup);
        for (const QJsonValue& item : items) {
            if (!loadItem(item, *sensor))
                return false;
        }
        ship.setCompartment(sensor.get(), compartment);
        deck->addSensor(sensor.release());
    }
    return true;
}

bool ShipLoader::loadItem(const QJsonValue& value, harq::Sensor& sensor)
{
    const QJsonObject json = value.toObject();
    QString kind, tag, confirmTag, transform;
    double lowLow = -1e38, low = -1.0, high = 1.0, highHigh = 1e38;
    int precision = 3;
    if (!readText(json, "kind", &kind) || !readText(json, "tag", &tag)
        || !readText(json, "confirm_tag", &confirmTag, false) || !readText(json, "transform", &transform, false)
        || !readNumber(json, "low_low", &lowLow, false) || !readNumber(json, "low", &low, false)
        || !readNumber(json, "high", &high, false) || !readNumber(json, "high_high", &highHigh, false)
        || !readInt(json, "precision", &precision, false))
        return false;
    if (kind != QLatin1String("STATE") && kind != QLatin1String("VALUE"))
        return fail(tr("测点类别 %1 应为 STATE 或 VALUE").arg(kind));
    if (!(low < high))
        return fail(tr("测点 %1 的下限不小于上限").arg(tag));
    for (const QString& name : {tag, confirmTag}) {
        if (gbkLength(name) > kLongestPointName)
            return fail(tr("测点名 %1 超过 %2 字节").arg(name).arg(kLongestPointName));
    }
    QStringList icons;
    for (const QJsonValue& icon : json.value(QStringLiteral("icons")).toArray())
        icons.append(icon.toString());
    // The model tells state items from value items by their icons, so the two must agree.
    const bool stateItem = kind == QLatin1String("STATE");
    if (stateItem && (icons.size() != kIconCount || (icons.at(0).isEmpty() && icons.at(1).isEmpty())))
        return fail(tr("状态测点 %1 需要正常和报警两个图标").arg(tag));
    if (!stateItem && json.contains(QStringLiteral("icons")))
        return fail(tr("数值测点 %1 不能有图标").arg(tag));

    auto* item = new harq::SensorItem;
    item->setTag(tag);
    item->setConfirmTag(confirmTag);
    if (stateItem)
        item->setIcon(icons.at(0), icons.at(1));
    item->setLowLow(lowLow);
    item->setLow(low);
    item->setHigh(high);
    item->setHighHigh(highHigh);
    item->setPrecisionWidth(precision);
    if (!transform.isEmpty())
        item->setValueTrans(new harq::ValueTransform(transform));
    sensor.addItem(item);
    return true;
}

bool ShipLoader::loadEquipment(const QJsonArray& classifiers, const QJsonArray& pieces, Ship& ship)
{
    for (int i = 0; i < classifiers.size(); ++i) {
        enter("equipment_classifiers", i);
        const QJsonObject json = classifiers.at(i).toObject();
        quint64 id = 0;
        QString name, icon, situation;
        int bits = 0;
        if (!readId(json, "id", &id) || !readText(json, "name", &name) || !readText(json, "icon", &icon)
            || !readInt(json, "classifier", &bits) || !readText(json, "situation", &situation, false))
            return false;
        if (ship.classifierById(id))
            return fail(tr("设备类别编号 %1 重复").arg(id));
        auto classifier = std::make_unique<harq::EquipmentClassifier>();
        classifier->setID(id);
        classifier->setName(name);
        classifier->setIcon(icon);
        classifier->setMoveable(json.value(QStringLiteral("moveable")).toBool());
        classifier->setClassifier(bits);
        classifier->setSituation(situation);
        ship.addClassifier(std::move(classifier));
    }

    for (int i = 0; i < pieces.size(); ++i) {
        enter("equipment", i);
        const QJsonObject json = pieces.at(i).toObject();
        quint64 id = 0, classifierId = 0;
        harq::Deck* deck = nullptr;
        harq::Region* compartment = nullptr;
        QPointF position;
        int amount = 0, condition = 0;
        QString validDate, specification, charge, controller, maintenance, comments;
        if (!readId(json, "id", &id) || !readId(json, "classifier", &classifierId) || !readDeck(json, ship, &deck)
            || !readPoint(json.value(QStringLiteral("position")), "position", &position)
            || !readCompartment(json, "compartment", *deck, position, false, &compartment)
            || !readInt(json, "amount", &amount) || !readInt(json, "condition", &condition, false)
            || !readText(json, "valid_date", &validDate, false)
            || !readText(json, "specification", &specification, false) || !readText(json, "charge", &charge, false)
            || !readText(json, "controller", &controller, false)
            || !readText(json, "maintenance", &maintenance, false) || !readText(json, "comments", &comments, false))
            return false;
        harq::EquipmentClassifier* classifier = ship.classifierById(classifierId);
        if (!classifier)
            return fail(tr("未知的设备类别 %1").arg(classifierId));
        const QDate date = QDate::fromString(validDate, Qt::ISODate);
        if (!validDate.isEmpty() && !date.isValid())
            return fail(tr("有效期 %1 不是日期").arg(validDate));
        auto equipment = std::make_shared<harq::Equipment>();
        equipment->setID(id);
        equipment->setClassifier(classifier);
        equipment->setDeck(deck);
        equipment->setPos(position);
        equipment->setCount(amount);
        equipment->setCondition(condition);
        equipment->setValidDate(date);
        equipment->setSpecification(specification);
        equipment->setCharge(charge);
        equipment->setController(controller);
        equipment->setMaintenance(maintenance);
        equipment->setComments(comments);
        if (compartment)
            ship.setCompartment(equipment.get(), compartment);
        ship.addEquipment(std::move(equipment));
    }
    return true;
}

bool ShipLoader::loadTeams(const QJsonArray& teams, Ship& ship)
{
    for (int i = 0; i < teams.size(); ++i) {
        enter("teams", i);
        const QJsonObject json = teams.at(i).toObject();
        Ship::Team team;
        harq::Deck* deck = nullptr;
        if (!readText(json, "name", &team.name) || !readDeck(json, ship, &deck)
            || !readPoint(json.value(QStringLiteral("position")), "position", &team.position)
            || !readCompartment(json, "compartment", *deck, team.position, false, &team.compartment))
            return false;
        team.deck = deck->id();
        ship.addTeam(team);
    }
    return true;
}

bool ShipLoader::loadBoundaries(const QJsonArray& boundaries, Ship& ship)
{
    for (int i = 0; i < boundaries.size(); ++i) {
        enter("boundaries", i);
        const QJsonObject json = boundaries.at(i).toObject();
        Ship::Boundary boundary;
        harq::Deck* deck = nullptr;
        QString type;
        if (!readId(json, "id", &boundary.id) || !readDeck(json, ship, &deck) || !readText(json, "type", &type)
            || !readOutline(json, "outline", &boundary.outline))
            return false;
        if (type != QLatin1String("fire") && type != QLatin1String("smoke"))
            return fail(tr("边界类型 %1 应为 fire 或 smoke").arg(type));
        boundary.smoke = type == QLatin1String("smoke");
        boundary.deck = deck->id();
        for (const QJsonValue& copy : json.value(QStringLiteral("copies")).toArray()) {
            const quint64 copyDeck = quint64(copy.toDouble());
            if (!ship.deckById(copyDeck) || copyDeck == boundary.deck)
                return fail(tr("边界复制到的甲板 %1 无效").arg(copy.toVariant().toString()));
            boundary.copies.append(copyDeck);
        }
        ship.addBoundary(boundary);
    }
    return true;
}

void ShipLoader::associate(Ship& ship)
{
    for (harq::Deck* deck : ship.decks()) {
        const std::vector<harq::Sensor*> sensors = deck->sensors();
        for (harq::Region* region : deck->regions()) {
            for (harq::Sensor* sensor : sensors)
                region->associateSensor(sensor);
        }
        // Every cabin claims every sensor offered to it, so after the offers the
        // last cabin holds them all; give each sensor back its own compartment.
        for (harq::Sensor* sensor : sensors)
            sensor->setCabin(ship.compartmentOf(sensor));
    }
}

bool ShipLoader::readId(const QJsonObject& object, const char* key, quint64* id)
{
    const QJsonValue value = object.value(QLatin1String(key));
    const double number = value.toDouble(-1.0);
    if (!value.isDouble() || number < 1.0 || number >= kLargestId || std::floor(number) != number)
        return fail(tr("字段 %1 应为正整数编号").arg(QLatin1String(key)));
    *id = quint64(number);
    return true;
}

bool ShipLoader::readText(const QJsonObject& object, const char* key, QString* text, bool required)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined() && !required)
        return true;
    if (!value.isString() || (required && value.toString().isEmpty()))
        return fail(tr("字段 %1 应为非空文本").arg(QLatin1String(key)));
    *text = value.toString();
    return true;
}

bool ShipLoader::readNumber(const QJsonObject& object, const char* key, double* number, bool required)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined() && !required)
        return true;
    if (!value.isDouble())
        return fail(tr("字段 %1 应为数值").arg(QLatin1String(key)));
    *number = value.toDouble();
    return true;
}

bool ShipLoader::readInt(const QJsonObject& object, const char* key, int* number, bool required)
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

bool ShipLoader::readList(const QJsonObject& object, const char* key, QJsonArray* list)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return true;
    if (!value.isArray())
        return fail(tr("字段 %1 应为列表").arg(QLatin1String(key)));
    *list = value.toArray();
    return true;
}

bool ShipLoader::readPoint(const QJsonValue& json, const char* key, QPointF* point)
{
    const QJsonArray xy = json.toArray();
    if (xy.size() != 2 || !xy.at(0).isDouble() || !xy.at(1).isDouble())
        return fail(tr("字段 %1 应为 [x, y] 坐标").arg(QLatin1String(key)));
    *point = QPointF(xy.at(0).toDouble(), xy.at(1).toDouble());
    return true;
}

bool ShipLoader::readOutline(const QJsonObject& object, const char* key, QPolygonF* outline)
{
    const QJsonArray points = object.value(QLatin1String(key)).toArray();
    constexpr int kMinCorners = 3;
    if (points.size() < kMinCorners)
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

bool ShipLoader::readDeck(const QJsonObject& object, Ship& ship, harq::Deck** deck)
{
    quint64 id = 0;
    if (!readId(object, "deck", &id))
        return false;
    *deck = ship.deckById(id);
    if (!*deck)
        return fail(tr("未知的甲板编号 %1").arg(id));
    return true;
}

bool ShipLoader::readCompartment(const QJsonObject& object, const char* key, const harq::Deck& deck,
                                 QPointF position, bool required, harq::Region** compartment)
{
    if (!required && !object.contains(QLatin1String(key)))
        return true;
    quint64 id = 0;
    if (!readId(object, key, &id))
        return false;
    *compartment = deck.regionByID(id);
    if (!*compartment)
        return fail(tr("舱室 %1 不在该甲板上").arg(id));
    if (!(*compartment)->containsPoint(position))
        return fail(tr("位置 (%1, %2) 不在舱室 %3 内").arg(position.x()).arg(position.y()).arg((*compartment)->name()));
    return true;
}

bool ShipLoader::fail(const QString& message)
{
    const QString where = section_.isEmpty() ? QString()
        : index_ < 0 ? tr(" (%1)").arg(section_)
                     : tr(" (%1 第 %2 项)").arg(section_).arg(index_ + 1);
    error_ = tr("船舶文件 %1%2: %3").arg(QDir::toNativeSeparators(path_), where, message);
    return false;
}

void ShipLoader::enter(const char* section, int index)
{
    section_ = QLatin1String(section);
    index_ = index;
}
