// The region style's members that only the edition with tags has.
#include "config/region_config.h"

std::shared_ptr<harq::ViewGroup> RegionConfig::srViewGroup(int srtype) const
{
    return slot(srtype);
}

harq::ViewGroup* RegionConfig::srViewGroupPtr(int srtype) const
{
    return slot(srtype).get();
}
