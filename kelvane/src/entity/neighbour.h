#pragma once

#include "kelvane_export.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstddef>
#include <vector>

namespace harq {

class Region;

enum Direction { UP = 0, DOWN = 1, LEFT = 2, RIGHT = 3, FRONT = 4, BACK = 5, CENTER = 6 };

/// Number of directions that have neighbour lists (CENTER has none).
KELVANE_EXPORT std::size_t directions();
KELVANE_EXPORT std::size_t directionIndex(Direction d);
/// The direction numbered \a ix; numbers beyond CENTER give CENTER.
KELVANE_EXPORT Direction indexDirection(std::size_t ix);
/// Display name of a direction; CENTER and unknown values give the centre's name.
KELVANE_EXPORT QString directionStr(Direction d);
KELVANE_EXPORT QString directionStr(std::size_t ix);
/// The opposite direction; CENTER and unknown values give CENTER.
KELVANE_EXPORT Direction flapDirection(Direction d);

/// The regions adjoining one region in each of the six directions. Lenient:
/// CENTER and indices beyond the six lists are ignored or answered with 0/null.
class KELVANE_EXPORT Neighbour : public QObject
{
    Q_OBJECT

public:
    using Neighbours = std::array<std::vector<Region*>, 6>;

    explicit Neighbour(QObject* parent = nullptr);
    ~Neighbour() override;

    /// Stores \a center and empties all lists.
    void setCenter(Region* center);
    Region* center() const { return center_; }
    void clearNeighbour();
    /// Appends \a region unless it is already listed in that direction.
    void addNeighbour(Region* region, Direction d);
    void removeNeighbour(Region* region, Direction d);
    std::size_t neighbourCount(Direction d) const;
    std::size_t neighbourCount(std::size_t ix) const;
    /// The n-th neighbour in that direction, null beyond the list.
    Region* neighbourAt(Direction d, std::size_t n) const;
    Region* neighbourAt(std::size_t ix, std::size_t n) const;

private:
    Region* center_ = nullptr;
    Neighbours neighbours_;
};

} // namespace harq
