#include "graphics/scan_line.h"

#include <gtest/gtest.h>

#include <QGraphicsLineItem>
#include <QPen>
#include <QPropertyAnimation>
#include <QSignalSpy>

#include <limits>

namespace {

QGraphicsLineItem* lineOf(const ScanLine& scan)
{
    return qgraphicsitem_cast<QGraphicsLineItem*>(scan.childItems().value(0));
}

QPropertyAnimation* animationOf(ScanLine& scan)
{
    return scan.findChild<QPropertyAnimation*>();
}

using Keys = QVariantAnimation::KeyValues;

Keys keys(std::initializer_list<std::pair<qreal, QPointF>> list)
{
    Keys result;
    for (const auto& key : list)
        result.append({key.first, key.second});
    return result;
}

} // namespace

TEST(ScanLine, SweepsAcrossThenBeyondAndRestarts)
{
    ScanLine scan;
    scan.initScan(QRectF(100, 50, 2000, 300), 3000, 1000);
    QGraphicsLineItem* line = lineOf(scan);
    QPropertyAnimation* animation = animationOf(scan);

    EXPECT_EQ(line->line(), QLineF(100, 50, 100, 350));
    EXPECT_EQ(line->pen().widthF(), 2.0);
    EXPECT_EQ(line->pen().color(), QColor(Qt::red));
    EXPECT_EQ(animation->duration(), 4000);
    EXPECT_EQ(animation->easingCurve().type(), QEasingCurve::Linear);
    EXPECT_EQ(animation->keyValues(), keys({{0.0, {0, 0}}, {0.75, {2000, 0}}, {1.0, {4000, 0}}}));
    ASSERT_EQ(animation->state(), QAbstractAnimation::Running);

    animation->setCurrentTime(1500);
    EXPECT_EQ(scan.scanPos(), QPointF(1000, 0));
    animation->setCurrentTime(3500);
    EXPECT_EQ(scan.scanPos(), QPointF(3000, 0));

    // The end of a cycle starts the next one at the left edge.
    animation->setCurrentTime(4000);
    EXPECT_EQ(animation->state(), QAbstractAnimation::Running);
    EXPECT_EQ(animation->currentTime(), 0);
    EXPECT_EQ(scan.scanPos(), QPointF(0, 0));
    EXPECT_EQ(line->line(), QLineF(100, 50, 100, 350));
}

TEST(ScanLine, ZeroTimesReplaceKeys)
{
    ScanLine both;
    both.initScan(QRectF(0, 0, 500, 100), 0, 0);
    EXPECT_EQ(animationOf(both)->duration(), 1);
    EXPECT_EQ(animationOf(both)->keyValues(), keys({{0.0, {500, 0}}, {1.0, {1000, 0}}}));

    ScanLine noHide;
    noHide.initScan(QRectF(0, 0, 500, 100), 2000, 0);
    EXPECT_EQ(animationOf(noHide)->duration(), 2000);
    EXPECT_EQ(animationOf(noHide)->keyValues(), keys({{0.0, {0, 0}}, {1.0, {1000, 0}}}));
}

TEST(ScanLine, RestartingChangesTheRunningCycleInPlace)
{
    ScanLine scan;
    scan.initScan(QRectF(0, 0, 1000, 100), 3000, 1000);
    QPropertyAnimation* animation = animationOf(scan);
    animation->setCurrentTime(500);

    scan.initScan(QRectF(0, 0, 400, 80), 1000, 1000);
    EXPECT_EQ(animation->currentTime(), 500);
    EXPECT_EQ(animation->duration(), 2000);
    // Only the new set-up's keys: none left over at the old step.
    EXPECT_EQ(animation->keyValues(), keys({{0.0, {0, 0}}, {0.5, {400, 0}}, {1.0, {800, 0}}}));
    EXPECT_EQ(lineOf(scan)->line(), QLineF(0, 0, 0, 80));
}

TEST(ScanLine, LongTimesKeepTheirProportions)
{
    ScanLine scan;
    const uint longest = std::numeric_limits<uint>::max();
    scan.initScan(QRectF(0, 0, 100, 100), longest, longest);
    QPropertyAnimation* animation = animationOf(scan);
    EXPECT_EQ(animation->duration(), std::numeric_limits<int>::max());
    EXPECT_EQ(animation->keyValues(), keys({{0.0, {0, 0}}, {0.5, {100, 0}}, {1.0, {200, 0}}}));
}

TEST(ScanLine, WidthAndPositionCanBeSetByHand)
{
    ScanLine scan;
    QSignalSpy changed(&scan, &ScanLine::scanPosChanged);
    scan.initScan(QRectF(0, 0, 2000, 100), 1000, 1000);
    scan.setWidth(3);
    EXPECT_EQ(lineOf(scan)->pen().widthF(), 3.0);
    EXPECT_EQ(lineOf(scan)->pen().color(), QColor(Qt::red));
    EXPECT_EQ(lineOf(scan)->pen().style(), Qt::SolidLine);

    scan.setProperty("position", QPointF(7, 0));
    EXPECT_EQ(lineOf(scan)->pos(), QPointF(7, 0));
    EXPECT_EQ(scan.property("position").toPointF(), QPointF(7, 0));
    EXPECT_EQ(changed.count(), 0);

    // The sweep takes the line over again at its next step.
    animationOf(scan)->setCurrentTime(500);
    EXPECT_EQ(scan.scanPos(), QPointF(1000, 0));

    scan.initScan(QRectF(0, 0, 2000, 100), 1000, 1000);
    EXPECT_EQ(lineOf(scan)->pen().widthF(), 2.0);
}
