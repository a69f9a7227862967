#include "graphics/boundary_line.h"
#include "graphics/damage_boundary.h"

#include <gtest/gtest.h>

#include <QGraphicsRectItem>
#include <QPen>

namespace {

const QPolygonF kSquare({QPointF(10, 10), QPointF(110, 10), QPointF(110, 80), QPointF(10, 80)});
const QPolygonF kTriangle({QPointF(20, 30), QPointF(90, 40), QPointF(50, 95)});

void rebuild(DamageBoundary& boundary, const QPolygonF& path, bool master)
{
#ifdef KELVANE_MAINTENANCE
    boundary.makeBoundary(path, master);
#else
    boundary.resetBoundary(path, master);
#endif
}

// Checks every segment's pen and that the segments run around \a path and close it.
void expectOutline(const DamageBoundary& boundary, const QPolygonF& path, qreal width, Qt::PenStyle style)
{
    const QList<BoundaryLine*>& lines = boundary.lines();
    ASSERT_EQ(lines.size(), path.size());
    for (int i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i]->line(), QLineF(path[i], path[(i + 1) % path.size()]));
        EXPECT_EQ(lines[i]->parentItem(), &boundary);
        const QPen pen = lines[i]->pen();
        EXPECT_EQ(pen.color(), QColor(Qt::red));
        EXPECT_EQ(pen.brush().style(), Qt::SolidPattern);
        EXPECT_DOUBLE_EQ(pen.widthF(), width);
        EXPECT_EQ(pen.style(), style);
        EXPECT_EQ(pen.capStyle(), Qt::SquareCap);
        EXPECT_EQ(pen.joinStyle(), Qt::BevelJoin);
    }
    EXPECT_EQ(boundary.boundaryPath(), path);
}

} // namespace

TEST(BoundaryOutline, MasterAndSlaveSegmentsFollowTheOutline)
{
    QGraphicsRectItem parent;
    DamageBoundary master(nullptr, &parent);
    master.makeMasterBoundary(kSquare);
    EXPECT_TRUE(master.isMaster());
    EXPECT_EQ(master.parentItem(), &parent);
    EXPECT_TRUE(master.boundingRect().isEmpty());
    expectOutline(master, kSquare, 6, Qt::SolidLine);
    EXPECT_EQ(master.firstPoint(), kSquare.first());

    DamageBoundary slave(nullptr, &parent);
    slave.makeSlaveBoundary(&master);
    EXPECT_FALSE(slave.isMaster());
    EXPECT_EQ(slave.master(), &master);
    EXPECT_EQ(master.slaves(), QList<DamageBoundary*>{&slave});
    expectOutline(slave, kSquare, 4, Qt::DotLine);

    // A later change of the master's outline stays with the master.
    rebuild(master, kTriangle, true);
    expectOutline(master, kTriangle, 6, Qt::SolidLine);
    expectOutline(slave, kSquare, 4, Qt::DotLine);
}

TEST(BoundaryOutline, ShortPathsLeaveNoSegmentsAndTheFirstPointIsNeverNull)
{
    DamageBoundary boundary(nullptr, nullptr);
    EXPECT_EQ(boundary.firstPoint(), QPointF(0.01, 0.01));

    boundary.makeMasterBoundary(kTriangle);
    ASSERT_EQ(boundary.lines().size(), 3);
    rebuild(boundary, QPolygonF(QVector<QPointF>{QPointF(1, 1), QPointF(5, 5)}), true);
    EXPECT_TRUE(boundary.lines().isEmpty());
    EXPECT_TRUE(boundary.childItems().isEmpty()) << "old segments must be deleted, not only forgotten";
    EXPECT_TRUE(boundary.boundaryPath().isEmpty());
    EXPECT_EQ(boundary.firstPoint(), QPointF(0.01, 0.01));

    rebuild(boundary, QPolygonF({QPointF(0, 0), QPointF(50, 0), QPointF(50, 50)}), true);
    EXPECT_EQ(boundary.lines().size(), 3);
    EXPECT_EQ(boundary.firstPoint(), QPointF(0.01, 0.01));
    EXPECT_EQ(boundary.boundaryPath().first(), QPointF(0, 0));

    EXPECT_TRUE(DamageBoundary::boundaryPath(nullptr).isEmpty());
}

TEST(BoundaryOutline, CopyingKeepsTheReceiversRole)
{
    DamageBoundary master(nullptr, nullptr);
    master.makeMasterBoundary(kSquare);
    DamageBoundary slave(nullptr, nullptr);
    slave.makeSlaveBoundary(&master);
    DamageBoundary other(nullptr, nullptr);
    other.makeMasterBoundary(kTriangle);

    slave.onCopyFrom(&other);
    expectOutline(slave, kTriangle, 4, Qt::DotLine);
    EXPECT_EQ(slave.master(), &master);

    master.onCopyFrom(&slave);
    expectOutline(master, kTriangle, 6, Qt::SolidLine);
    EXPECT_EQ(master.slaves(), QList<DamageBoundary*>{&slave});
}

TEST(BoundaryOutlineDeathTest, NullOrSelfMasterStopsTheProcess)
{
    DamageBoundary boundary(nullptr, nullptr);
    EXPECT_DEATH(boundary.makeSlaveBoundary(nullptr),
                 "\"master\" in void DamageBoundary::makeSlaveBoundary\\(DamageBoundary\\*\\)");
    EXPECT_DEATH(boundary.makeSlaveBoundary(&boundary),
                 "\"master != this\" in void DamageBoundary::makeSlaveBoundary\\(DamageBoundary\\*\\)");
    EXPECT_DEATH(boundary.onCopyFrom(nullptr), "\"other\" in void DamageBoundary::onCopyFrom\\(DamageBoundary\\*\\)");
}
