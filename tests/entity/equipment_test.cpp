#include "entity/equipment.h"

#include "entity/deck.h"
#include "entity/equipment_classifier.h"
#include "entity/equipment_item.h"

#include <gtest/gtest.h>

#include <QPointer>

#include <memory>

using harq::Equipment;
using harq::EquipmentClassifier;

TEST(EquipmentClassifier, CodesTellWhatTheKindFights)
{
    EquipmentClassifier kind;
    EXPECT_FALSE(kind.isAntiFire());
    EXPECT_FALSE(kind.isAntiSink());
    EXPECT_FALSE(kind.isMoveable());
    EXPECT_TRUE(kind.isFixed());
    kind.setMoveable(true);
    EXPECT_FALSE(kind.isFixed());

    kind.setClassifier(1);
    EXPECT_TRUE(kind.isAntiFire());
    EXPECT_FALSE(kind.isAntiSink());
    kind.setClassifier(2);
    EXPECT_FALSE(kind.isAntiFire());
    EXPECT_TRUE(kind.isAntiSink());

    kind.setClassifier(3);
#ifdef KELVANE_MAINTENANCE
    EXPECT_FALSE(kind.isAntiFire()) << "only the exact codes count here";
    EXPECT_FALSE(kind.isAntiSink());
#else
    EXPECT_TRUE(kind.isAntiFire());
    EXPECT_TRUE(kind.isAntiSink());
    kind.setSituation("engine fires");
    EXPECT_EQ(kind.situation(), "engine fires");
#endif
}

TEST(Equipment, StoresPlacementAndTexts)
{
    EquipmentClassifier kind;
    harq::Deck deck;
    Equipment equipment;
    EXPECT_FALSE(equipment.validDate().isValid());
    EXPECT_EQ(equipment.classifier(), nullptr);

    equipment.setID(quint64(1) << 35);
    equipment.setClassifier(&kind);
    equipment.setDeck(&deck);
    equipment.setPos(QPointF(5, 6));
    equipment.setCount(4);
    equipment.setValidDate(QDate(2030, 1, 31));
    equipment.setCharge("bosun");
    EXPECT_EQ(equipment.id(), quint64(1) << 35);
    EXPECT_EQ(equipment.classifier(), &kind);
    EXPECT_EQ(equipment.deck(), &deck);
    EXPECT_EQ(equipment.pos(), QPointF(5, 6));
    EXPECT_EQ(equipment.count(), 4);
    EXPECT_EQ(equipment.validDate(), QDate(2030, 1, 31));
    EXPECT_EQ(equipment.charge(), "bosun");

    auto* item = new harq::EquipmentItem;
    item->setName("hose");
    item->setCount(2);
    equipment.addItem(item);
    ASSERT_EQ(equipment.itemCount(), 1u);
    EXPECT_EQ(equipment.itemAt(0)->name(), "hose");
    EXPECT_EQ(equipment.itemAt(0)->count(), 2);
}

TEST(Equipment, AnItemAddedTwiceIsOwnedOnce)
{
    QPointer<harq::EquipmentItem> watch;
    {
        Equipment equipment;
        auto* item = new harq::EquipmentItem;
        watch = item;
        equipment.addItem(item);
        equipment.addItem(item);
        EXPECT_EQ(equipment.itemCount(), 1u);
    }
    EXPECT_TRUE(watch.isNull()) << "the item goes with the equipment, deleted once";
}
