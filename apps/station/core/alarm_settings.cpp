#include "alarm_settings.h"

#include "lua_facade.h"

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
        const int t = ostrel::luaGlobalTable(L, "alarm");
        if (t == 0) {
            *error = tr("%1: 没有 alarm 表").arg(path);
            return false;
        }
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
        ostrel::luaForEachTable(L, t, "view_group", ostrel::kMaxListLength, [&](int, int e) {
            GroupRule rule;
            rule.group = ostrel::luaField(L, e, "name", QString()).toString();
            rule.unit = ostrel::luaField(L, e, "unit", QString()).toString();
            rule.hasPriority = priority(e, &rule.priority);
            if (rule.hasPriority || !rule.unit.isEmpty())
                read.groups_.append(rule);
        });
        ostrel::luaForEachTable(L, t, "item", ostrel::kMaxListLength, [&](int, int e) {
            ItemRule rule;
            rule.tag = ostrel::luaField(L, e, "tag", QString()).toString();
            rule.suffix = ostrel::luaField(L, e, "suffix", QString()).toString();
            rule.name = ostrel::luaField(L, e, "name", QString()).toString();
            rule.unit = ostrel::luaField(L, e, "unit", QString()).toString();
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

const AlarmSettings::ItemRule* AlarmSettings::ruleFor(const QString& tag) const
{
    const ItemRule* best = nullptr;
    for (const ItemRule& rule : items_) {
        if (!rule.tag.isEmpty() && rule.tag == tag)
            return &rule;
        if (!rule.suffix.isEmpty() && tag.endsWith(rule.suffix)
            && (!best || rule.suffix.size() > best->suffix.size()))
            best = &rule;
    }
    return best;
}

AlarmPriority AlarmSettings::priorityOf(const QString& tag, const QString& viewGroup) const
{
    const ItemRule* rule = ruleFor(tag);
    if (rule && rule->hasPriority)
        return rule->priority;
    const GroupRule* group = groupRuleFor(viewGroup);
    return group && group->hasPriority ? group->priority : default_priority_;
}

const AlarmSettings::GroupRule* AlarmSettings::groupRuleFor(const QString& viewGroup) const
{
    if (viewGroup.isEmpty())
        return nullptr;
    for (const GroupRule& g : groups_) {
        if (g.group == viewGroup)
            return &g;
    }
    return nullptr;
}

QString AlarmSettings::nameOf(const QString& tag, const QString& sensorName) const
{
    const ItemRule* rule = ruleFor(tag);
    return rule && !rule->name.isEmpty() ? rule->name : sensorName;
}

QString AlarmSettings::unitOf(const QString& tag, const QString& viewGroup) const
{
    const ItemRule* rule = ruleFor(tag);
    if (rule && !rule->unit.isEmpty())
        return rule->unit;
    const GroupRule* group = groupRuleFor(viewGroup);
    return group ? group->unit : QString();
}
