#include "config/equipment_config.h"
#include "config/tag_config.h"
#include "config/team_config.h"
#include "entity/equipment.h"
#include "entity/deck.h"
#include "entity/equipment_classifier.h"
#include "entity/region.h"
#include "graphics/equipment_tag.h"
#include "graphics/pixmap_tag.h"
#include "graphics/team_tag.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <memory>

namespace {

QPixmap filled(int width, int height, Qt::GlobalColor color)
{
    QPixmap pixmap(width, height);
    pixmap.fill(color);
    return pixmap;
}

// The tag's only child is its picture.
QGraphicsPixmapItem* pictureOf(PixmapTag& tag)
{
    for (QGraphicsItem* child : tag.childItems())
        if (auto* picture = qgraphicsitem_cast<QGraphicsPixmapItem*>(child))
            return picture;
    return nullptr;
}

// Catalogues as a host installs them: config/*.lua beside icons/.
class TagTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QDir root(dir_.path());
        ASSERT_TRUE(root.mkpath("config") && root.mkpath("icons"));
        ASSERT_TRUE(filled(200, 100, Qt::red).save(root.filePath("icons/alpha.png")));
        ASSERT_TRUE(filled(40, 40, Qt::blue).save(root.filePath("icons/bravo.png")));

        TagConfig::instance().loadTag(write("tag.lua", "tag = { width = 20, opacity = 0.5 }\n"));
        TeamConfig::instance().loadTeam(write("team.lua",
                                              "team = { width = 30, opacity = 0.6, member = {\n"
                                              "  { name = 'Alpha', icon = 'alpha.png', count = 2 },\n"
                                              "  { name = 'Bravo', icon = 'bravo.png', count = 1 } } }\n"));
        loadEquipment(0.5);
    }

    QString write(const QString& name, const QByteArray& text)
    {
        const QString path = dir_.filePath("config/" + name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    void loadEquipment(double opacity)
    {
        EquipmentConfig::instance().loadConfig(
            write("equipment.lua", QByteArray("equipment = { width = 40, opacity = ") + QByteArray::number(opacity)
                                       + " }\n"));
    }

    static int availableAlpha() { return TeamConfig::instance().availableAt(0); }
    static int availableBravo() { return TeamConfig::instance().availableAt(1); }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(TagTest, PictureIsScaledToTheCatalogueWidthAndCentred)
{
    QGraphicsScene scene(0, 0, 100, 100);
    auto* tag = new PixmapTag;
    scene.addItem(tag);
    tag->setPos(50, 50);
    tag->setTag(filled(200, 100, Qt::red), "Exit");

    QGraphicsPixmapItem* picture = pictureOf(*tag);
    ASSERT_NE(picture, nullptr);
    EXPECT_DOUBLE_EQ(picture->scale(), 0.1);
    EXPECT_EQ(picture->offset(), QPointF(-100, -50));
    EXPECT_DOUBLE_EQ(picture->opacity(), 0.5);
    EXPECT_EQ(tag->boundingRect(), QRectF(-10, -5, 20, 10));
    EXPECT_EQ(tag->tag(), "Exit");
    EXPECT_EQ(tag->toolTip(), "Exit");

    // Drawn 20 by 10 units around the tag's position.
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, 100, 100), scene.sceneRect());
    painter.end();
    const QColor centre = image.pixelColor(50, 50); // red at half opacity on white
    EXPECT_EQ(centre.red(), 255);
    EXPECT_NEAR(centre.green(), 127, 1);
    EXPECT_EQ(image.pixel(42, 47), image.pixel(50, 50));
    EXPECT_EQ(image.pixel(38, 50), QColor(Qt::white).rgb());
    EXPECT_EQ(image.pixel(50, 43), QColor(Qt::white).rgb());

    // A picture without width is not divided by zero.
    tag->setPixmap(QPixmap());
    EXPECT_DOUBLE_EQ(picture->scale(), 20.0);
    EXPECT_TRUE(tag->boundingRect().isEmpty());
}

TEST_F(TagTest, CodesTellTagsApartAndCastsFindTheTagFromItsPicture)
{
    PixmapTag free;
    TeamTag team;
    auto equipment = std::make_shared<harq::Equipment>();
    EquipmentTag equip(equipment);
    EXPECT_NE(free.code(), team.code());
    EXPECT_NE(team.code(), equip.code());

    EXPECT_EQ(PixmapTag::toPixmapTag(&free), &free);
    EXPECT_EQ(PixmapTag::toPixmapTag(pictureOf(free)), &free);
    EXPECT_EQ(PixmapTag::toPixmapTag(pictureOf(team)), &team);
    EXPECT_EQ(TeamTag::toTeamTag(pictureOf(team)), &team);
    EXPECT_EQ(TeamTag::toTeamTag(&free), nullptr);
    EXPECT_EQ(EquipmentTag::toEquipmentTag(pictureOf(equip)), &equip);
    EXPECT_EQ(EquipmentTag::toEquipmentTag(&team), nullptr);

    QGraphicsRectItem unrelated;
    auto* grandchild = new QGraphicsRectItem(pictureOf(free));
    EXPECT_EQ(PixmapTag::toPixmapTag(&unrelated), nullptr);
    EXPECT_EQ(PixmapTag::toPixmapTag(grandchild), nullptr);
    EXPECT_EQ(PixmapTag::toPixmapTag(nullptr), nullptr);
    EXPECT_EQ(TeamTag::toTeamTag(nullptr), nullptr);
    EXPECT_EQ(EquipmentTag::toEquipmentTag(nullptr), nullptr);
}

TEST_F(TagTest, TeamsAreBookedOutAndBackIn)
{
    auto first = std::make_unique<TeamTag>();
    first->deployTeam("Alpha");
    EXPECT_EQ(first->teamName(), "Alpha");
    EXPECT_EQ(first->toolTip(), "Alpha");
    QGraphicsPixmapItem* picture = pictureOf(*first);
    EXPECT_EQ(picture->pixmap().size(), QSize(200, 100));
    EXPECT_DOUBLE_EQ(picture->scale(), 0.15);
    EXPECT_DOUBLE_EQ(picture->opacity(), 0.6);
    EXPECT_EQ(availableAlpha(), 1);
    EXPECT_TRUE(TeamTag::available("Alpha"));

    auto second = std::make_unique<TeamTag>();
    EXPECT_TRUE(second->deployTeam("Alpha"));
    EXPECT_EQ(availableAlpha(), 0);
    EXPECT_FALSE(TeamTag::available("Alpha"));

    // None left: refused, and the tag keeps what it stood for; its own team is still free to it.
    TeamTag third;
    EXPECT_FALSE(third.deployTeam("Alpha"));
    EXPECT_EQ(third.teamName(), "");
    EXPECT_TRUE(second->deployTeam("Alpha"));
    EXPECT_EQ(availableAlpha(), 0);

    // Redeploying moves the booking instead of losing a team.
    first->deployTeam("Bravo");
    EXPECT_EQ(availableAlpha(), 1);
    EXPECT_EQ(availableBravo(), 0);
    EXPECT_EQ(pictureOf(*first)->pixmap().size(), QSize(40, 40));
    first.reset();
    EXPECT_EQ(availableBravo(), 1);

    // An unknown team keeps the old picture and text but is still recorded.
    second->deployTeam("Ghost");
    EXPECT_EQ(second->teamName(), "Ghost");
    EXPECT_EQ(second->toolTip(), "Alpha");
    EXPECT_EQ(pictureOf(*second)->pixmap().size(), QSize(200, 100));
    EXPECT_EQ(availableAlpha(), 2);
    second.reset();
    EXPECT_EQ(availableAlpha(), 2);
    EXPECT_EQ(availableBravo(), 1);
    EXPECT_FALSE(TeamTag::available("Ghost"));
}

TEST_F(TagTest, NamingATeamTagWithoutDeployingBooksNothing)
{
    auto tag = std::make_unique<TeamTag>();
    tag->setTag(filled(10, 10, Qt::red), "Bravo");
    EXPECT_EQ(tag->teamName(), "Bravo");
    EXPECT_EQ(tag->tag(), "Bravo");
    tag.reset();
    EXPECT_EQ(availableBravo(), 1);
}

TEST_F(TagTest, EquipmentTagStandsAtItsEquipmentNamedAfterItsKind)
{
    harq::EquipmentClassifier pump;
    pump.setName("Pump");
    auto equipment = std::make_shared<harq::Equipment>();
    equipment->setClassifier(&pump);
    equipment->setPos(QPointF(120, 45));
    std::weak_ptr<harq::Equipment> watch = equipment;

    auto tag = std::make_unique<EquipmentTag>(std::move(equipment));
    EXPECT_EQ(tag->pos(), QPointF(120, 45));
    EXPECT_EQ(tag->classifier(), &pump);
    EXPECT_EQ(tag->equipment(), watch.lock().get());

    tag->setText("whatever");
    tag->setPixmap(filled(80, 20, Qt::green));
    EXPECT_EQ(tag->toolTip(), "Pump");
    QGraphicsPixmapItem* picture = pictureOf(*tag);
    EXPECT_DOUBLE_EQ(picture->scale(), 0.5);
    EXPECT_DOUBLE_EQ(picture->opacity(), 0.6);
    EXPECT_EQ(tag->boundingRect(), QRectF(-20, -5, 40, 10));

    loadEquipment(0.9);
    tag->setPixmap(filled(80, 20, Qt::green));
    EXPECT_DOUBLE_EQ(picture->opacity(), 1.0);

    // Without a kind the tag has no name rather than a stale one.
    auto loose = std::make_shared<harq::Equipment>();
    EquipmentTag unnamed(loose);
    unnamed.setTag(filled(8, 8, Qt::green), "stale");
    EXPECT_EQ(unnamed.classifier(), nullptr);
    EXPECT_TRUE(unnamed.toolTip().isEmpty());

    tag.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(EquipmentTagDeathTest, NullEquipmentStops)
{
    EXPECT_DEATH(EquipmentTag(nullptr), "equip_.*EquipmentTag::EquipmentTag\\(std::shared_ptr<harq::Equipment>, QGraphicsItem\\*\\)");
}

TEST(PixmapTag, DeckAndCompartmentLinksDoNotOutliveTheirObjects)
{
    PixmapTag tag;
    auto deck = std::make_unique<harq::Deck>();
    auto cabin = std::make_unique<harq::Region>();
    auto other = std::make_unique<harq::Region>();
    tag.setDeck(deck.get());
    tag.setCabin(cabin.get());
    EXPECT_EQ(tag.deck(), deck.get());
    EXPECT_EQ(tag.cabin(), cabin.get());

    // A compartment the tag was moved away from no longer concerns it.
    tag.setCabin(other.get());
    cabin.reset();
    EXPECT_EQ(tag.cabin(), other.get());

    other.reset();
    deck.reset();
    EXPECT_EQ(tag.cabin(), nullptr);
    EXPECT_EQ(tag.deck(), nullptr);
}
