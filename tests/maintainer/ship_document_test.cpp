#include "maintainer_test_files.h"

#include "ship_document.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTransform>

using namespace maintainertest;

namespace {

void write(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ShipDocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        loadSampleStyles();
        ship_ = copySampleShip(dir_);
        original_ = readJson(ship_);
    }

    /// The sample ship with \a change applied, written beside it; its path.
    QString variant(const std::function<void(QJsonObject&)>& change)
    {
        QJsonObject root = original_;
        change(root);
        const QString path = dir_.filePath(QStringLiteral("variant.json"));
        write(path, QJsonDocument(root).toJson());
        return path;
    }

    QTemporaryDir dir_;
    QString ship_;
    QJsonObject original_;
};

TEST_F(ShipDocumentTest, BrokenFilesAreRefusedWithTheirNameAndTheDocumentKeepsWhatItHad)
{
    ShipDocument document;
    ASSERT_TRUE(document.load(ship_)) << qPrintable(document.error());
    const int decks = document.decks().size();

    const QString garbage = dir_.filePath(QStringLiteral("garbage.json"));
    write(garbage, "{ \"decks\": [");
    EXPECT_FALSE(document.load(garbage));
    EXPECT_TRUE(document.error().contains(garbage));
    EXPECT_FALSE(document.load(dir_.filePath(QStringLiteral("missing.json"))));

    const auto breakFirst = [](const char* list, const char* key, const QJsonValue& value) {
        return [=](QJsonObject& root) {
            QJsonArray entries = root.value(QLatin1String(list)).toArray();
            QJsonObject first = entries.first().toObject();
            first.insert(QLatin1String(key), value);
            entries[0] = first;
            root.insert(QLatin1String(list), entries);
        };
    };
    EXPECT_FALSE(document.load(variant(breakFirst("sensors", "compartment", 99999))));
    EXPECT_TRUE(document.error().contains(QStringLiteral("sensors 第 1 项"))) << qPrintable(document.error());
    EXPECT_FALSE(document.load(variant(breakFirst("sensors", "position", QJsonArray{1}))));
    EXPECT_FALSE(document.load(variant(breakFirst("compartments", "outline", QJsonArray{}))));
    EXPECT_FALSE(document.load(variant(breakFirst("boundaries", "copies", QJsonArray{12345}))));
    EXPECT_FALSE(document.load(variant(breakFirst("boundaries", "type", QStringLiteral("water")))));
    EXPECT_FALSE(document.load(variant([](QJsonObject& root) { root.remove(QStringLiteral("decks")); })));

    // The station's rules, with the place in the file: an unknown view group on
    // the second sensor names that entry and the line its object opens on.
    const QString unknownGroup = variant([](QJsonObject& root) {
        QJsonArray sensors = root.value(QStringLiteral("sensors")).toArray();
        QJsonObject second = sensors.at(1).toObject();
        second.insert(QStringLiteral("view_group"), QStringLiteral("烟雾"));
        sensors[1] = second;
        root.insert(QStringLiteral("sensors"), sensors);
    });
    const QByteArray text = contents(unknownGroup);
    const QByteArray code = original_.value("sensors").toArray().at(1).toObject().value("code").toString().toUtf8();
    const int opens = text.lastIndexOf('{', text.indexOf("\"code\": \"" + code + '"'));
    EXPECT_FALSE(document.load(unknownGroup));
    EXPECT_TRUE(document.error().contains(QStringLiteral("(sensors 第 2 项, 第 %1 行): 未知的传感器视图组 烟雾")
                                              .arg(text.left(opens).count('\n') + 1)))
        << qPrintable(document.error());

    // A repeated id would let one entry's edit be written over another's.
    const auto repeatFirst = [](const char* list) {
        return [=](QJsonObject& root) {
            QJsonArray entries = root.value(QLatin1String(list)).toArray();
            QJsonObject second = entries.at(1).toObject();
            second.insert(QStringLiteral("id"), entries.first().toObject().value(QStringLiteral("id")));
            entries[1] = second;
            root.insert(QLatin1String(list), entries);
        };
    };
    for (const char* list : {"decks", "compartments", "sensors", "boundaries"})
        EXPECT_FALSE(document.load(variant(repeatFirst(list)))) << list;
    EXPECT_FALSE(document.load(variant(breakFirst("boundaries", "copies", QJsonArray{3, 3}))));

    EXPECT_EQ(document.path(), ship_);
    EXPECT_EQ(document.decks().size(), decks);
}

TEST_F(ShipDocumentTest, EditsThatTheStationWouldRefuseAreNotTaken)
{
    ShipDocument document;
    ASSERT_TRUE(document.load(ship_));
    const quint64 deck = document.decks().first().id;
    const ShipDocument::Sensor sensor = document.sensorsOn(deck).first();

    // A sensor follows the compartment it is moved into, and cannot leave every compartment.
    ShipDocument::Compartment other;
    for (const ShipDocument::Compartment& compartment : document.compartmentsOn(deck)) {
        if (compartment.id != sensor.compartment && other.id == 0)
            other = compartment;
    }
    const QPointF inside = other.outline.boundingRect().center();
    ASSERT_TRUE(other.outline.containsPoint(inside, Qt::OddEvenFill));
    ASSERT_TRUE(document.setSensorPosition(sensor.id, inside));
    EXPECT_EQ(document.sensorsOn(deck).first().compartment, other.id);
    EXPECT_FALSE(document.setSensorPosition(sensor.id, QPointF(-1000, -1000)));
    EXPECT_EQ(document.sensorsOn(deck).first().position, inside);

    // An outline that would leave one of its sensors outside is refused, as is one with two corners.
    const QPolygonF elsewhere({inside + QPointF(1000, 1000), inside + QPointF(1010, 1000), inside + QPointF(1010, 1010)});
    EXPECT_FALSE(document.setCompartmentOutline(other.id, elsewhere));
    EXPECT_FALSE(document.setCompartmentOutline(other.id, QPolygonF(QVector<QPointF>{inside, inside + QPointF(5, 5)})));
    EXPECT_EQ(document.compartmentAt(deck, inside), other.id);

    // Every outline of the sample ship fits its deck as drawn; grown by a tenth
    // about its centre it covers a neighbour or leaves the hull.
    for (const ShipDocument::Deck& each : document.decks()) {
        for (const ShipDocument::Compartment& compartment : document.compartmentsOn(each.id)) {
            EXPECT_TRUE(document.setCompartmentOutline(compartment.id, compartment.outline))
                << compartment.id << ": " << qPrintable(document.error());
            const QPointF centre = compartment.outline.boundingRect().center();
            const QTransform grow =
                QTransform::fromTranslate(centre.x(), centre.y()).scale(1.1, 1.1).translate(-centre.x(), -centre.y());
            EXPECT_FALSE(document.setCompartmentOutline(compartment.id, grow.map(compartment.outline))) << compartment.id;
        }
    }
}

TEST_F(ShipDocumentTest, AFailedSaveLeavesTheFileAndWritesNoHalfFile)
{
    ShipDocument document;
    ASSERT_TRUE(document.load(ship_));
    const QByteArray before = contents(ship_);
    EXPECT_FALSE(document.save(dir_.filePath(QStringLiteral("no/such/folder/ship.json")), false));
    EXPECT_FALSE(document.error().isEmpty());

    // A backup that cannot be written stops the save before the file is touched.
    QDir(dir_.path()).mkdir(QStringLiteral("ship.json.bak"));
    ShipDocument::Boundary added;
    added.deck = document.decks().first().id;
    added.outline = QPolygonF({QPointF(1, 1), QPointF(9, 1), QPointF(9, 9)});
    document.setBoundaries(QList<ShipDocument::Boundary>(document.boundaries()) << added);
    EXPECT_FALSE(document.save(ship_, true));
    EXPECT_EQ(contents(ship_), before);
}

TEST_F(ShipDocumentTest, NewBoundariesGetIdsAfterTheLargest)
{
    ShipDocument document;
    ASSERT_TRUE(document.load(ship_));
    quint64 largest = 0;
    for (const ShipDocument::Boundary& boundary : document.boundaries())
        largest = std::max(largest, boundary.id);
    ShipDocument::Boundary added;
    added.deck = document.decks().first().id;
    added.outline = QPolygonF({QPointF(1, 1), QPointF(9, 1), QPointF(9, 9)});
    document.setBoundaries(QList<ShipDocument::Boundary>(document.boundaries()) << added << added);
    EXPECT_EQ(document.boundaries().at(document.boundaries().size() - 2).id, largest + 1);
    EXPECT_EQ(document.boundaries().last().id, largest + 2);
}

// The ship file stays the engineer's: a save without edits gives the file back
// byte for byte, and one edit changes only the lines of the numbers it moved.
TEST_F(ShipDocumentTest, SavingKeepsTheFileAndChangesOnlyTheEditedLines)
{
    ShipDocument document;
    ASSERT_TRUE(document.load(ship_));
    const QByteArray before = contents(ship_);
    const QString copy = dir_.filePath(QStringLiteral("unchanged.json"));
    ASSERT_TRUE(document.save(copy, false));
    EXPECT_EQ(contents(copy), before);

    const ShipDocument::Sensor sensor = document.sensorsOn(document.decks().first().id).first();
    const QPointF moved = sensor.position + QPointF(0.25, -0.125);
    ASSERT_EQ(document.compartmentAt(sensor.deck, moved), sensor.compartment);
    ASSERT_TRUE(document.setSensorPosition(sensor.id, moved));
    ASSERT_TRUE(document.save(ship_, false));
    const QList<QByteArray> oldLines = before.split('\n');
    const QList<QByteArray> newLines = contents(ship_).split('\n');
    ASSERT_EQ(newLines.size(), oldLines.size());
    QList<QByteArray> changed;
    for (int i = 0; i < newLines.size(); ++i) {
        if (newLines[i] != oldLines[i])
            changed.append(newLines[i].trimmed());
    }
    EXPECT_EQ(changed, (QList<QByteArray>{QByteArray::number(moved.x()) + ',', QByteArray::number(moved.y())}));

    ShipDocument reread;
    ASSERT_TRUE(reread.load(ship_)) << qPrintable(reread.error());
    EXPECT_EQ(reread.sensorsOn(sensor.deck).first().position, moved);
}
