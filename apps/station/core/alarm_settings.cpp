#include "alarm_settings.h"

#include "entity/sensor.h"
#include "entity/sensor_item.h"
#include "entity/view_group.h"
#include "lua_facade.h"

#include <lua.hpp>

#include <stdexcept>

namespace {

constexpr int kLongestResoundSeconds = 3600;
constexpr int kLongestShelveMinutes = 24 * 60;

} // namespace

bool AlarmSettings::load(const QString& path, QString* error)
{
    AlarmSettings read;
    try {
        ostrel::LuaStatePtr lua(ostrel::loadLuaConfig(path));
        lua_State* L = lua.get();
        ostrel::luaGlobal(L, "alarm", QVariant());
        if (lua_type(L, -1) != LUA_TTABLE) {
            *error = tr("%1: 没有 alarm 表").arg(path);
            return false;
        }
        const int t = lua_gettop(L);
        QString bad;
        const auto priority = [&](int at, AlarmPriority* out) {
            const QString key = ostrel::luaField(L, at, "priority", QString()).toString();
            if (key.isEmpty())
                return false;
            if (!alarmpriority::fromKey(key, out))
                bad = key;
            return bad.isEmpty();
        };
        const QString fallback = ostrel::luaField(L, t, "default_priority", QString()).toString();
        if (!fallback.isEmpty() && !alarmpriority::fromKey(fallback, &read.default_priority_))
            bad = fallback;
        read.resound_seconds_ = qBound(1, ostrel::luaField(L, t, "resound", kDefaultResoundSeconds).toInt(),
                                       kLongestResoundSeconds);
        read.shelve_limit_minutes_ = qBound(
            1, ostrel::luaField(L, t, "shelve_limit", kDefaultShelveLimitMinutes).toInt(), kLongestShelveMinutes);
        ostrel::luaForEach(L, t, "view_group", ostrel::kMaxListLength, [&](int) {
            if (lua_type(L, -1) != LUA_TTABLE)
                return;
            GroupRule rule;
            const int e = lua_gettop(L);
            rule.group = ostrel::luaField(L, e, "name", QString()).toString();
            if (priority(e, &rule.priority))
                read.groups_.append(rule);
        });
        ostrel::luaForEach(L, t, "item", ostrel::kMaxListLength, [&](int) {
            if (lua_type(L, -1) != LUA_TTABLE)
                return;
            ItemRule rule;
            const int e = lua_gettop(L);
            rule.tag = ostrel::luaField(L, e, "tag", QString()).toString();
            rule.suffix = ostrel::luaField(L, e, "suffix", QString()).toString();
            rule.name = ostrel::luaField(L, e, "name", QString()).toString();
            rule.hasPriority = priority(e, &rule.priority);
            if (!rule.tag.isEmpty() || !rule.suffix.isEmpty())
                read.items_.append(rule);
        });
        if (!bad.isEmpty()) {
            *error = tr("%1: 未知的报警优先级 \"%2\" (应为 emergency, alarm, warning 或 caution)").arg(path, bad);
            return false;
        }
    } catch (const std::runtime_error& e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
    *this = read;
    return true;
}

const AlarmSettings::ItemRule* AlarmSettings::ruleFor(const harq::SensorItem& item) const
{
    const ItemRule* best = nullptr;
    for (const ItemRule& rule : items_) {
        if (!rule.tag.isEmpty() && rule.tag == item.tag())
            return &rule;
        if (!rule.suffix.isEmpty() && item.tag().endsWith(rule.suffix)
            && (!best || rule.suffix.size() > best->suffix.size()))
            best = &rule;
    }
    return best;
}

AlarmPriority AlarmSettings::priorityOf(const harq::Sensor& sensor, const harq::SensorItem& item) const
{
    const ItemRule* rule = ruleFor(item);
    if (rule && rule->hasPriority)
        return rule->priority;
    if (const harq::ViewGroup* group = sensor.viewGroup()) {
        for (const GroupRule& g : groups_) {
            if (g.group == group->name())
                return g.priority;
        }
    }
    return default_priority_;
}

QString AlarmSettings::nameOf(const harq::Sensor& sensor, const harq::SensorItem& item) const
{
    const ItemRule* rule = ruleFor(item);
    return rule && !rule->name.isEmpty() ? rule->name : sensor.name();
}
