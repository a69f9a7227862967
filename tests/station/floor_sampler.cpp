#include "floor_sampler.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace {

// Icons are 40 units wide with their code above and their mark below.
constexpr double kIconClearance = 42.0;
constexpr double kLabelHalfWidth = 60.0;
constexpr double kLabelHalfHeight = 30.0;
constexpr double kWallClearance = 8.0;
constexpr double kStep = 6.0;
constexpr int kRedMargin = 50;

double distanceToOutline(const QPolygonF& outline, QPointF p)
{
    double best = 1e300;
    for (int i = 0; i < outline.size(); ++i) {
        const QLineF wall(outline.at(i), outline.at((i + 1) % outline.size()));
        const QPointF d = wall.p2() - wall.p1();
        const double length2 = QPointF::dotProduct(d, d);
        const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - wall.p1(), d) / length2, 0.0, 1.0) : 0.0;
        best = std::min(best, QLineF(p, wall.p1() + t * d).length());
    }
    return best;
}

bool reddish(QRgb pixel)
{
    return qRed(pixel) - qGreen(pixel) > kRedMargin && qRed(pixel) - qBlue(pixel) > kRedMargin;
}

} // namespace

FloorSampler::FloorSampler(const QPolygonF& outline, const QList<QPointF>& markers)
{
    const QRectF box = outline.boundingRect();
    // The label sits at the outline's centre of area; the box centre is near enough.
    const QPointF label = box.center();
    for (double y = box.top(); y <= box.bottom(); y += kStep) {
        for (double x = box.left(); x <= box.right(); x += kStep) {
            const QPointF p(x, y);
            if (!outline.containsPoint(p, Qt::OddEvenFill) || distanceToOutline(outline, p) < kWallClearance)
                continue;
            if (std::abs(x - label.x()) < kLabelHalfWidth && std::abs(y - label.y()) < kLabelHalfHeight)
                continue;
            if (std::any_of(markers.cbegin(), markers.cend(),
                            [&](QPointF m) { return QLineF(m, p).length() < kIconClearance; }))
                continue;
            points_.append(p);
        }
    }
}

double FloorSampler::redShare(const QImage& image) const
{
    if (points_.isEmpty())
        return 0.0;
    const auto red = std::count_if(points_.cbegin(), points_.cend(), [&](QPointF p) {
        return image.valid(p.toPoint()) && reddish(image.pixel(p.toPoint()));
    });
    return double(red) / points_.size();
}
