// The region style's members that only the maintenance edition has.
#include "config/region_config.h"

harq::ViewGroup* RegionConfig::srViewGroup(int srtype) const
{
    return slot(srtype).get();
}
