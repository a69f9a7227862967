// Signal arguments of both editions, registered once when the library loads:
// queued and by-signature connections look the types up by name.
#include "entity/deck.h"
#include "entity/region.h"
#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "graphics/damage_boundary.h"
#include "graphics/reaction_region.h"

namespace {

void registerMetaTypes()
{
    qRegisterMetaType<harq::SensorItem*>();
    qRegisterMetaType<harq::Sensor*>();
    qRegisterMetaType<harq::Region*>();
    qRegisterMetaType<harq::Deck*>();
    qRegisterMetaType<ReactionRegion*>();
    qRegisterMetaType<DamageBoundary*>();
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(registerMetaTypes)
