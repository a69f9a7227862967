#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QPolygonF>

/// Samples the plain floor of a compartment in a deck picture: points inside the
/// outline, away from its walls, its label and the icons of sensors and tags, so
/// what is seen there is the compartment's fill.
class FloorSampler
{
public:
    /// \a markers are the positions of sensors, equipment and teams on the deck.
    FloorSampler(const QPolygonF& outline, const QList<QPointF>& markers);

    int sampled() const { return points_.size(); }
    /// The share of the sampled points whose pixel in \a image is clearly red.
    double redShare(const QImage& image) const;

private:
    QList<QPointF> points_;
};
