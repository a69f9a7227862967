#include "entity/neighbour.h"

#include "entity/region.h"
#include "object_link.h"

#include <QCoreApplication>

#include <algorithm>

namespace harq {

namespace {

constexpr std::size_t kDirectionCount = 6;

// Looked up under the context lupdate files the texts in.
QString translated(const char* text)
{
    return QCoreApplication::translate("harq::Direction", text);
}

} // namespace

std::size_t directions()
{
    return kDirectionCount;
}

std::size_t directionIndex(Direction d)
{
    return static_cast<std::size_t>(d);
}

Direction indexDirection(std::size_t ix)
{
    // A number beyond the enumeration would be an invalid Direction value.
    return ix <= directionIndex(CENTER) ? static_cast<Direction>(ix) : CENTER;
}

QString directionStr(Direction d)
{
    switch (d) {
    case UP:
        return translated(QT_TRANSLATE_NOOP("harq::Direction", "上部"));
    case DOWN:
        return translated(QT_TRANSLATE_NOOP("harq::Direction", "下部"));
    case LEFT:
        return translated(QT_TRANSLATE_NOOP("harq::Direction", "左部"));
    case RIGHT:
        return translated(QT_TRANSLATE_NOOP("harq::Direction", "右部"));
    case FRONT:
        return translated(QT_TRANSLATE_NOOP("harq::Direction", "前部"));
    case BACK:
        return translated(QT_TRANSLATE_NOOP("harq::Direction", "后部"));
    case CENTER:
        break;
    }
    return translated(QT_TRANSLATE_NOOP("harq::Direction", "中心"));
}

QString directionStr(std::size_t ix)
{
    return directionStr(indexDirection(ix));
}

Direction flapDirection(Direction d)
{
    switch (d) {
    case UP:
        return DOWN;
    case DOWN:
        return UP;
    case LEFT:
        return RIGHT;
    case RIGHT:
        return LEFT;
    case FRONT:
        return BACK;
    case BACK:
        return FRONT;
    case CENTER:
        break;
    }
    return CENTER;
}

Neighbour::Neighbour(QObject* parent)
    : QObject(parent)
{
}

Neighbour::~Neighbour() = default;

void Neighbour::setCenter(Region* center)
{
    Region* previous = center_;
    clearNeighbour();
    watch(center);
    center_ = center;
    release(previous);
}

void Neighbour::clearNeighbour()
{
    Neighbours listed;
    listed.swap(neighbours_);
    for (const auto& list : listed) {
        for (Region* region : list)
            release(region);
    }
}

void Neighbour::addNeighbour(Region* region, Direction d)
{
    const std::size_t ix = directionIndex(d);
    if (ix >= kDirectionCount)
        return;
    auto& list = neighbours_[ix];
    if (std::find(list.cbegin(), list.cend(), region) != list.cend())
        return;
    watch(region);
    list.push_back(region);
}

void Neighbour::removeNeighbour(Region* region, Direction d)
{
    const std::size_t ix = directionIndex(d);
    if (ix >= kDirectionCount)
        return;
    auto& list = neighbours_[ix];
    const auto kept = std::remove(list.begin(), list.end(), region);
    if (kept == list.end())
        return;
    list.erase(kept, list.end());
    release(region);
}

std::size_t Neighbour::neighbourCount(Direction d) const
{
    return neighbourCount(directionIndex(d));
}

std::size_t Neighbour::neighbourCount(std::size_t ix) const
{
    return ix < kDirectionCount ? neighbours_[ix].size() : 0;
}

Region* Neighbour::neighbourAt(Direction d, std::size_t n) const
{
    return neighbourAt(directionIndex(d), n);
}

Region* Neighbour::neighbourAt(std::size_t ix, std::size_t n) const
{
    if (ix >= kDirectionCount || n >= neighbours_[ix].size())
        return nullptr;
    return neighbours_[ix][n];
}

bool Neighbour::holds(const Region* region) const
{
    const auto listed = [region](const std::vector<Region*>& list) {
        return std::find(list.cbegin(), list.cend(), region) != list.cend();
    };
    return center_ == region || std::any_of(neighbours_.cbegin(), neighbours_.cend(), listed);
}

// One connection per region however often it is held; the regions belong to their
// decks, which may destroy them while these lists live on.
void Neighbour::watch(Region* region)
{
    if (!region || holds(region))
        return;
    kelvane::forgetWhenDestroyed(this, region, center_, neighbours_);
}

// Called once the region was taken out; it is still alive, since a destroyed one
// would have left by itself.
void Neighbour::release(Region* region)
{
    if (region && !holds(region))
        disconnect(region, &QObject::destroyed, this, nullptr);
}

} // namespace harq
