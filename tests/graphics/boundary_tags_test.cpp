// Boundary cases of the edition with tags only: types, family codes, visibility.
#include "graphics/boundary_line.h"
#include "graphics/damage_boundary.h"

#include <gtest/gtest.h>

#include <QGraphicsRectItem>

namespace {

const QPolygonF kSquare({QPointF(10, 10), QPointF(110, 10), QPointF(110, 80), QPointF(10, 80)});

TEST(BoundaryOutline, TypeTexts)
{
    DamageBoundary boundary(nullptr, nullptr);
    EXPECT_EQ(boundary.btypeStr(), QString::fromUtf8("防火边界"));
    boundary.setBType(DamageBoundary::SMOKE);
    EXPECT_EQ(boundary.btypeStr(), QString::fromUtf8("防烟边界"));
    boundary.setBType(static_cast<DamageBoundary::BType>(7));
    EXPECT_EQ(boundary.btypeStr(), QString::fromUtf8("未定义边界"));
}

TEST(BoundaryOutline, FamilyCodesComeFromTheMaster)
{
    DamageBoundary first(nullptr, nullptr);
    DamageBoundary second(nullptr, nullptr);
    EXPECT_EQ(first.boundaryCode(), 0u);
    // Made within the same millisecond as often as not: the addresses tell them apart.
    first.makeMasterBoundary(kSquare);
    second.makeMasterBoundary(kSquare);
    EXPECT_NE(first.boundaryCode(), 0u);
    EXPECT_NE(first.masterCode(), second.masterCode());

    DamageBoundary slave(nullptr, nullptr);
    slave.makeSlaveBoundary(&second);
    EXPECT_EQ(slave.masterCode(), second.boundaryCode());
}

TEST(BoundaryOutline, VisibilitySwitchesOnlyTheOwnSegments)
{
    QGraphicsRectItem parent;
    auto* master = new DamageBoundary(nullptr, &parent);
    master->makeMasterBoundary(kSquare);
    auto* slave = new DamageBoundary(nullptr, &parent);
    slave->makeSlaveBoundary(master);

    master->setBoundaryVisible(false);
    EXPECT_TRUE(master->isVisible());
    for (const BoundaryLine* line : master->lines())
        EXPECT_FALSE(line->isVisible());
    for (const BoundaryLine* line : slave->lines())
        EXPECT_TRUE(line->isVisible());

    master->setBoundaryVisible(true);
    for (const BoundaryLine* line : master->lines())
        EXPECT_TRUE(line->isVisible());
}

} // namespace
