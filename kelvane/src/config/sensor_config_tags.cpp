// The sensor style's members that only the edition with tags has.
#include "config/sensor_config.h"

#include "config/icon_folder.h"

std::shared_ptr<harq::ViewGroup> SensorConfig::viewGroupByGroup(const QString& group) const
{
    for (const auto& viewGroup : view_groups_) {
        if (viewGroup->group() == group)
            return viewGroup;
    }
    return nullptr;
}

std::shared_ptr<harq::ViewGroup> SensorConfig::viewGroupByName(const QString& name) const
{
    for (const auto& viewGroup : view_groups_) {
        if (viewGroup->name() == name)
            return viewGroup;
    }
    return nullptr;
}

void SensorConfig::orientIconPath(const QString& tag_file)
{
    icon_path_ = kelvane::iconFolderBeside(tag_file);
}
