// Hovering goes through the window system, as a real pointer does.
#define QTEST_QPA_MOUSE_HANDLING

#include "graphics/boundary_line.h"
#include "graphics/damage_boundary.h"

#include <gtest/gtest.h>

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPen>
#include <QPointer>
#include <QTest>

#include <functional>

namespace {

const QPolygonF kSquare({QPointF(20, 20), QPointF(180, 20), QPointF(180, 130), QPointF(20, 130)});

struct SegmentLook {
    QColor color;
    qreal width;
    Qt::PenStyle style;
};

void expectLook(const DamageBoundary* boundary, const SegmentLook& look)
{
    for (const BoundaryLine* line : boundary->lines()) {
        EXPECT_EQ(line->pen().color(), look.color);
        EXPECT_DOUBLE_EQ(line->pen().widthF(), look.width);
        EXPECT_EQ(line->pen().style(), look.style);
    }
}

/// A deck shown in a view: boundaries are added to its layer item.
struct ShownDeck {
    ShownDeck()
        : view(&scene)
    {
        scene.setSceneRect(0, 0, 200, 150);
        scene.addItem(layer);
        view.setFrameShape(QFrame::NoFrame);
        view.resize(200, 150);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    void pointAt(const QPointF& scene_pos)
    {
        QTest::mouseMove(view.viewport(), view.mapFromScene(scene_pos));
    }

    QGraphicsScene scene;
    QGraphicsRectItem* layer = new QGraphicsRectItem;
    QGraphicsView view;
};

} // namespace

TEST(BoundaryFamily, PointingAtAnyMemberHighlightsTheWholeFamily)
{
    ShownDeck upper;
    ShownDeck lower;
    auto* master = new DamageBoundary(nullptr, upper.layer);
    master->makeMasterBoundary(kSquare);
    auto* slave = new DamageBoundary(nullptr, lower.layer);
    slave->makeSlaveBoundary(master);
    auto* other_slave = new DamageBoundary(nullptr, upper.layer);
    other_slave->makeSlaveBoundary(master);
    auto* stranger = new DamageBoundary(nullptr, lower.layer);
    stranger->makeMasterBoundary(QPolygonF({QPointF(40, 40), QPointF(60, 40), QPointF(60, 60)}));

    const SegmentLook master_red{Qt::red, 6, Qt::SolidLine};
    const SegmentLook slave_red{Qt::red, 4, Qt::DotLine};

    lower.pointAt(QPointF(100, 100));
    expectLook(master, master_red);

    // Onto the middle of the slave's top side, on the lower deck.
    lower.pointAt(QPointF(100, 21));
    expectLook(master, {Qt::blue, 6, Qt::SolidLine});
    expectLook(slave, {Qt::blue, 4, Qt::DotLine});
    expectLook(other_slave, {Qt::blue, 4, Qt::DotLine});
    expectLook(stranger, master_red);

    lower.pointAt(QPointF(100, 100));
    expectLook(master, master_red);
    expectLook(slave, slave_red);
    expectLook(other_slave, slave_red);

    // The master's own segment on the upper deck does the same.
    upper.pointAt(QPointF(180, 75));
    expectLook(slave, {Qt::blue, 4, Qt::DotLine});
    upper.pointAt(QPointF(100, 75));
    expectLook(slave, slave_red);
}

TEST(BoundaryFamily, DestroyingMembersKeepsTheFamilyConsistent)
{
    QGraphicsRectItem upper;
    QGraphicsRectItem lower;
    auto* master = new DamageBoundary(nullptr, &upper);
    master->makeMasterBoundary(kSquare);
    QPointer<DamageBoundary> first(new DamageBoundary(nullptr, &lower));
    first->makeSlaveBoundary(master);
    QPointer<DamageBoundary> second(new DamageBoundary(nullptr, &upper));
    second->makeSlaveBoundary(master);
    QPointer<BoundaryLine> segment = second->lines().first();

    delete first.data();
    EXPECT_EQ(master->slaves(), QList<DamageBoundary*>{second.data()});
    master->onTouchBoundary();
    expectLook(second, {Qt::blue, 4, Qt::DotLine});

    // A slave made over for another master leaves the first family.
    DamageBoundary other_master(nullptr, nullptr);
    other_master.makeMasterBoundary(kSquare);
    second->makeSlaveBoundary(&other_master);
    EXPECT_TRUE(master->slaves().isEmpty());
    second->makeSlaveBoundary(master);

    delete master;
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(segment.isNull());
    EXPECT_TRUE(upper.childItems().isEmpty());
    EXPECT_TRUE(lower.childItems().isEmpty());
    EXPECT_TRUE(other_master.slaves().isEmpty());
}

TEST(BoundaryFamily, RebuildingOrHidingAHoveredSegmentEndsTheHighlight)
{
    // Qt tells no segment deleted or hidden under the pointer that it was left.
    const std::function<void(DamageBoundary*, DamageBoundary*)> actions[] = {
        [](DamageBoundary* master, DamageBoundary* slave) { master->onCopyFrom(slave); },
        [](DamageBoundary* master, DamageBoundary*) { master->makeMasterBoundary(kSquare); },
        [](DamageBoundary*, DamageBoundary* slave) { delete slave; }, // the pointer is on the slave
#ifndef KELVANE_MAINTENANCE
        [](DamageBoundary* master, DamageBoundary*) { master->setBoundaryVisible(false); },
#else
        [](DamageBoundary* master, DamageBoundary*) { master->onResetBoundary(); },
#endif
    };
    for (const auto& action : actions) {
        ShownDeck upper, lower;
        auto* master = new DamageBoundary(nullptr, upper.layer);
        master->makeMasterBoundary(kSquare);
        QPointer<DamageBoundary> slave(new DamageBoundary(nullptr, lower.layer));
        slave->makeSlaveBoundary(master);
        (&action == &actions[2] ? lower : upper).pointAt(QPointF(100, 21));
        action(master, slave);
        upper.pointAt(QPointF(100, 75));
        lower.pointAt(QPointF(100, 75));
        expectLook(master, {Qt::red, 6, Qt::SolidLine});
        if (slave)
            expectLook(slave, {Qt::red, 4, Qt::DotLine});
        EXPECT_FALSE(HasFailure()) << &action - actions;
    }
}

TEST(BoundaryFamily, LinksThatWouldCloseALoopAreRefused)
{
    auto* top = new DamageBoundary(nullptr);
    top->makeMasterBoundary(kSquare);
    auto* a = new DamageBoundary(nullptr);
    a->makeMasterBoundary(kSquare);
    auto* b = new DamageBoundary(nullptr);
    b->makeSlaveBoundary(a);
    auto* c = new DamageBoundary(nullptr);
    c->makeSlaveBoundary(b);
    // Directly or through another member, a boundary never comes to follow itself.
    a->makeSlaveBoundary(b);
    a->makeSlaveBoundary(c);
    EXPECT_TRUE(a->isMaster());

    // A master made a slave hands its slaves to its new master: one family, one highlight.
    a->makeSlaveBoundary(top);
    EXPECT_EQ(top->slaves(), (QList<DamageBoundary*>{b, a}));
    a->onTouchBoundary();
    expectLook(b, {Qt::blue, 4, Qt::DotLine});
    delete top;
}
