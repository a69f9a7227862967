#include "entity/equipment.h"
#include "entity/equipment_classifier.h"
#include "graphics/equipment_layer.h"
#include "graphics/equipment_tag.h"
#include "view/deck_scene.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

class EquipmentLayerTest : public testing::Test
{
protected:
    EquipmentTag* makeTag(harq::EquipmentClassifier* kind, QPointF pos)
    {
        auto equipment = std::make_shared<harq::Equipment>();
        equipment->setClassifier(kind);
        equipment->setPos(pos);
        released_.push_back(equipment);
        auto* tag = new EquipmentTag(std::move(equipment));
        QPixmap picture(10, 10);
        picture.fill(Qt::black);
        tag->setPixmap(picture);
        return tag;
    }

    bool allReleased() const
    {
        return std::all_of(released_.begin(), released_.end(), [](const auto& e) { return e.expired(); });
    }

    harq::EquipmentClassifier pump_;
    harq::EquipmentClassifier hose_;
    std::vector<std::weak_ptr<harq::Equipment>> released_;
};

} // namespace

TEST_F(EquipmentLayerTest, TagsAreGroupedByKind)
{
    QGraphicsScene scene(0, 0, 400, 300);
    auto* layer = new EquipmentLayer;
    scene.addItem(layer);

    EquipmentTag* first = makeTag(&pump_, QPointF(30, 40));
    EquipmentTag* second = makeTag(&pump_, QPointF(200, 100));
    EquipmentTag* other = makeTag(&hose_, QPointF(300, 250));
    layer->addEquipment(first);
    layer->addEquipment(second);
    EXPECT_EQ(layer->childItems().size(), 1);
    EXPECT_EQ(first->parentItem(), second->parentItem());
    EXPECT_EQ(first->parentItem()->parentItem(), layer);
    layer->addEquipment(other);
    EXPECT_EQ(layer->childItems().size(), 2);
    EXPECT_NE(other->parentItem(), first->parentItem());
    // Groups sit at the origin, so tags stay where their equipment is.
    EXPECT_EQ(second->scenePos(), QPointF(200, 100));

    layer->removeClassifier(nullptr);
    harq::EquipmentClassifier absent;
    layer->removeClassifier(&absent);
    EXPECT_EQ(layer->childItems().size(), 2);

    QPointer<EquipmentTag> gone1(first), gone2(second);
    released_.erase(released_.begin() + 2); // the hose stays on the plan
    layer->removeClassifier(&pump_);
    EXPECT_TRUE(gone1.isNull());
    EXPECT_TRUE(gone2.isNull());
    EXPECT_TRUE(allReleased());
    EXPECT_EQ(layer->childItems(), QList<QGraphicsItem*>({other->parentItem()}));
    EXPECT_EQ(scene.items().size(), 4); // layer, hose group, hose tag, its picture

    EquipmentTag* again = makeTag(&pump_, QPointF(10, 10));
    layer->addEquipment(again);
    EXPECT_EQ(layer->childItems().size(), 2);
    EXPECT_NE(again->parentItem(), other->parentItem());
    EXPECT_TRUE(layer->childItems().contains(again->parentItem()));
}

TEST_F(EquipmentLayerTest, OnlyTheTagsAreDrawn)
{
    QGraphicsScene scene(0, 0, 100, 100);
    auto* layer = new EquipmentLayer;
    scene.addItem(layer);
    layer->addEquipment(makeTag(&pump_, QPointF(70, 70)));
    layer->addEquipment(makeTag(&hose_, QPointF(20, 70)));

    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(0, 0, 100, 100), scene.sceneRect());
    painter.end();

    const QRgb white = QColor(Qt::white).rgb();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(image.pixel(x, y), white) << x << "," << y;
    EXPECT_NE(image.pixel(70, 70), white);
    EXPECT_NE(image.pixel(20, 70), white);
}

TEST(DeckSceneEquipmentLayer, OneLayerPerDeck)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString deck = dir.filePath("deck.svg");
    QFile svg(deck);
    ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
    svg.write("<svg xmlns='http://www.w3.org/2000/svg' width='400' height='300'>"
              "<rect x='0' y='0' width='400' height='300' fill='gray'/></svg>");
    svg.close();

    DeckScene scene;
    scene.setDeck("Deck 1", deck);
    EquipmentLayer* layer = scene.getOrCreateEquipmentLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->scene(), &scene);
    EXPECT_EQ(layer->parentItem(), nullptr);
    EXPECT_EQ(scene.getOrCreateEquipmentLayer(), layer);

    QPointer<EquipmentLayer> old(layer);
    scene.setDeck("Deck 2", deck);
    EXPECT_TRUE(old.isNull());
    EquipmentLayer* fresh = scene.getOrCreateEquipmentLayer();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->scene(), &scene);

    // A layer the host deleted itself is not handed out again.
    delete fresh;
    EquipmentLayer* replacement = scene.getOrCreateEquipmentLayer();
    ASSERT_NE(replacement, nullptr);
    EXPECT_EQ(replacement->scene(), &scene);
    EXPECT_EQ(scene.items().count(replacement), 1);
}

TEST(EquipmentLayerDeathTest, NullTagStops)
{
    EquipmentLayer layer;
    EXPECT_DEATH(layer.addEquipment(nullptr), "tag.*void EquipmentLayer::addEquipment\\(EquipmentTag\\*\\)");
}
