#include "entity/region.h"

#include "entity/deck.h"
#include "entity/entity_edition.h"
#include "entity/neighbour.h"
#include "entity/sensor.h"
#include "entity/view_group.h"
#include "kelvane_assert.h"
#include "kelvane_edition.h"
#include "object_link.h"
#include "slot_connection.h"

#include <algorithm>

namespace harq {

Region::Region(QObject* parent)
    : QObject(parent)
    , view_group_(std::make_shared<ViewGroup>(tr("NA"), tr("NA"), DamageResponse::NA))
{
}

Region::~Region() = default;

void Region::setName(const QString& name)
{
    name_ = name;
    emit nameChanged(name_);
}

void Region::setCode(const QString& code)
{
    code_ = code;
    emit codeChanged(code_);
}

void Region::setType(int type)
{
    type_ = type;
    emit typeChanged(type);
}

void Region::setRegionPath(QPolygonF path)
{
    path_ = std::move(path);
    edition::followOutline(*this);
    emit regionPathChanged(path_);
}

void Region::setViewGroup(ViewGroup* vg)
{
    KELVANE_ASSERT(vg);
    view_group_.reset(vg);
}

void Region::setViewGroup(std::shared_ptr<ViewGroup> vg)
{
    view_group_ = std::move(vg);
}

void Region::setDeck(Deck* deck)
{
    if (deck != deck_) {
        if (deck_) {
            disconnect(this, &Region::damage, deck_, &Deck::regionDamage);
            disconnect(this, &Region::recover, deck_, &Deck::regionRecover);
        }
        // Forgetting a destroyed deck keeps the disconnection above off freed memory.
        kelvane::linkUntilDestroyed(this, deck_, deck);
    }
    if (deck) {
        // Setting the same deck again must not forward every signal twice.
        connect(this, &Region::damage, deck, &Deck::regionDamage, Qt::UniqueConnection);
        connect(this, &Region::recover, deck, &Deck::regionRecover, Qt::UniqueConnection);
    }
}

QString Region::nameAndCode() const
{
    return tr("%1[%2]").arg(name_, code_);
}

int Region::responseType() const
{
    return view_group_ ? view_group_->responseType() : DamageResponse::NA;
}

Neighbour* Region::neighbour()
{
    if (!neighbour_)
        neighbour_ = new Neighbour(this);
    return neighbour_;
}

bool Region::containsPoint(QPointF p) const
{
    return path_.containsPoint(p, Qt::OddEvenFill);
}

void Region::associateSensor(Sensor* sensor)
{
    KELVANE_ASSERT(sensor);
    edition::offerCabin(*this, *sensor);
    const bool qualifies = sensor->viewGroup() && view_group_
        && sensor->viewGroup()->hasCommonResponse(*view_group_) && containsPoint(sensor->point());
    if (qualifies) {
        if (!sensors_.contains(sensor)) {
            forgetOnDestruction(sensor);
            sensors_.append(sensor);
        }
        // Unique: a sensor offered again must not count or report twice; in the maintenance
        // edition it may still be listed from a refusal that only disconnected it.
        kelvane::connectToSlot(sensor, &Sensor::sensorStateChanged, this, "onSensorStateChanged()",
                               Qt::UniqueConnection);
        return;
    }
    // The maintenance edition keeps a refused sensor listed until the next re-association.
    if constexpr (!kelvane::kMaintenanceEdition)
        sensors_.removeOne(sensor);
    disconnect(sensor, nullptr, this, nullptr);
    if (sensors_.contains(sensor))
        forgetOnDestruction(sensor);
}

void Region::onSensorStateChanged()
{
    const int alarms = int(std::count_if(sensors_.cbegin(), sensors_.cend(),
                                         [](const Sensor* sensor) { return !sensor->isNormal(); }));
    if (alarms < 1) {
        emit recover(this);
        emit alarmChanged(0);
    } else {
        emit damage(this);
        emit alarmChanged(alarms);
    }
}

void Region::forgetOnDestruction(Sensor* sensor)
{
    // The list holds plain pointers; the deck may destroy a listed sensor.
    kelvane::forgetWhenDestroyed(this, sensor, sensors_);
}

} // namespace harq
