#include "config/equipment_config.h"

#include "config/icon_folder.h"
#include "lua_reader_helpers.h"

#include <algorithm>
#include <utility>

namespace {

constexpr qreal kInitialWidth = 50.0;
constexpr qreal kInitialOpacity = 0.7;

constexpr qreal kDefaultWidth = 60.0;
constexpr qreal kDefaultOpacity = 0.8;

} // namespace

std::unique_ptr<EquipmentConfig> EquipmentConfig::self_;

EquipmentConfig& EquipmentConfig::instance()
{
    if (!self_)
        self_.reset(new EquipmentConfig);
    return *self_;
}

EquipmentConfig::EquipmentConfig()
    : width_(kInitialWidth)
    , opacity_(kInitialOpacity)
{
}

EquipmentConfig::~EquipmentConfig() = default;

void EquipmentConfig::loadConfig(const QString& filename)
{
    orientIconPath(filename);

    const ostrel::LuaStatePtr state(ostrel::loadLuaConfig(filename));
    lua_State* L = state.get();
    const ostrel::LuaStackAssist guard(L);

    const int t = ostrel::luaGlobalTable(L, "equipment");
    if (t == 0)
        return;

    width_ = ostrel::luaField(L, t, "width", kDefaultWidth).toReal();
    opacity_ = ostrel::luaField(L, t, "opacity", kDefaultOpacity).toReal();
}

void EquipmentConfig::addEquipment(const QString& name, QPixmap pix)
{
    equips_.push_back(Eq{name, std::move(pix)});
}

QPixmap EquipmentConfig::pixmapByName(const QString& name) const
{
    const Eq* eq = eqByName(name);
    return eq ? eq->pix : QPixmap();
}

bool EquipmentConfig::existPixmap(const QString& name) const
{
    return eqByName(name) != nullptr;
}

void EquipmentConfig::clearPixmap()
{
    equips_.clear();
}

EquipmentConfig::Eq* EquipmentConfig::eqByName(const QString& name)
{
    return const_cast<Eq*>(std::as_const(*this).eqByName(name));
}

const EquipmentConfig::Eq* EquipmentConfig::eqByName(const QString& name) const
{
    const auto found = std::find_if(equips_.begin(), equips_.end(), [&](const Eq& eq) { return eq.name == name; });
    return found == equips_.end() ? nullptr : &*found;
}

void EquipmentConfig::orientIconPath(const QString& tag_file)
{
    icon_path_ = kelvane::iconFolderBeside(tag_file);
}
