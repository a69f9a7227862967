#pragma once

#include "kelvane_export.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstddef>
#include <vector>

namespace harq {

class Region;

/// Where a neighbour lies seen from a region: UP (0) above, DOWN (1) below,
/// LEFT (2), RIGHT (3), FRONT (4) forward, BACK (5) aft; CENTER (6) is the
/// region itself and has no neighbour list.
enum Direction { UP = 0, DOWN = 1, LEFT = 2, RIGHT = 3, FRONT = 4, BACK = 5, CENTER = 6 };

/// Number of directions that have neighbour lists (CENTER has none).
KELVANE_EXPORT std::size_t directions();
/// The number of \a d, 0 for UP to 6 for CENTER; for the six real directions
/// it is a list index below directions().
KELVANE_EXPORT std::size_t directionIndex(Direction d);
/// The direction numbered \a ix; numbers beyond CENTER give CENTER.
KELVANE_EXPORT Direction indexDirection(std::size_t ix);
/// Display name of a direction; CENTER and unknown values give the centre's name.
/// The names are translatable (context "harq::Direction").
KELVANE_EXPORT QString directionStr(Direction d);
/// Display name of the direction numbered \a ix; numbers beyond CENTER give the centre's name.
KELVANE_EXPORT QString directionStr(std::size_t ix);
/// The opposite direction; CENTER and unknown values give CENTER.
KELVANE_EXPORT Direction flapDirection(Direction d);

/// The regions adjoining one region in each of the six directions. Lenient:
/// CENTER and indices beyond the six lists are ignored or answered with 0/null.
///
/// None of the regions is owned, but all are watched: a destroyed region leaves
/// every list by itself, and a destroyed center becomes null (so clearing one
/// deck's regions leaves no dangling pointer in the lists of another deck's
/// regions). Region::neighbour() creates the lists of a region. Nothing is emitted.
class KELVANE_EXPORT Neighbour : public QObject
{
    Q_OBJECT

public:
    /// One list of regions per direction index 0 .. 5, in insertion order, without duplicates.
    using Neighbours = std::array<std::vector<Region*>, 6>;

    /// Empty lists without a center.
    explicit Neighbour(QObject* parent = nullptr);
    ~Neighbour() override;

    /// Stores \a center and empties all lists.
    void setCenter(Region* center);
    /// The region whose neighbours these are (not owned); null unless set, and
    /// null again once that region is destroyed.
    Region* center() const { return center_; }
    /// Empties all six lists; the center stays.
    void clearNeighbour();
    /// Appends \a region unless it is already listed in that direction; it leaves
    /// the list by itself when it is destroyed. CENTER is ignored. \a region is not
    /// checked for null.
    void addNeighbour(Region* region, Direction d);
    /// Removes \a region from the list of direction \a d, if listed; CENTER is ignored.
    void removeNeighbour(Region* region, Direction d);
    /// Number of neighbours in direction \a d, 0 for CENTER.
    std::size_t neighbourCount(Direction d) const;
    /// Number of neighbours in the direction numbered \a ix, 0 from directions() on.
    std::size_t neighbourCount(std::size_t ix) const;
    /// The n-th neighbour in that direction, null beyond the list.
    Region* neighbourAt(Direction d, std::size_t n) const;
    /// The \a n-th neighbour in the direction numbered \a ix, null beyond the
    /// list and from directions() on.
    Region* neighbourAt(std::size_t ix, std::size_t n) const;

private:
    bool holds(const Region* region) const;
    void watch(Region* region);
    void release(Region* region);

    Region* center_ = nullptr;
    Neighbours neighbours_;
};

} // namespace harq
