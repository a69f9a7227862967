#include "config/tag_config.h"

#include "config/icon_folder.h"
#include "kelvane_assert.h"
#include "lua_facade.h"

#include <lua.hpp>

#include <limits>
#include <utility>

namespace {

constexpr qreal kInitialWidth = 50.0;
constexpr qreal kInitialOpacity = 0.7;

constexpr qreal kDefaultWidth = 60.0;
constexpr qreal kDefaultOpacity = 0.8;
constexpr const char* kDefaultName = "NA";
constexpr std::size_t kNotFound = std::numeric_limits<std::size_t>::max();

} // namespace

std::unique_ptr<TagConfig> TagConfig::self_;

TagConfig& TagConfig::instance()
{
    if (!self_)
        self_.reset(new TagConfig);
    return *self_;
}

TagConfig::TagConfig()
    : width_(kInitialWidth)
    , opacity_(kInitialOpacity)
{
}

TagConfig::~TagConfig() = default;

void TagConfig::loadTag(const QString& filename)
{
    orientIconPath(filename);
    tags_.clear();

    const ostrel::LuaStatePtr state(ostrel::loadLuaConfig(filename));
    lua_State* L = state.get();
    const ostrel::LuaStackAssist guard(L);

    lua_getglobal(L, "tag");
    if (lua_type(L, -1) != LUA_TTABLE)
        return;
    const int t = lua_gettop(L);

    width_ = ostrel::luaField(L, t, "width", kDefaultWidth).toReal();
    opacity_ = ostrel::luaField(L, t, "opacity", kDefaultOpacity).toReal();

    ostrel::luaForEach(L, t, "member", ostrel::kMaxListLength, [&](int) {
        if (lua_type(L, -1) != LUA_TTABLE)
            return;
        const int e = lua_gettop(L);
        const QString name = ostrel::luaField(L, e, "name", kDefaultName).toString();
        const QString icon = ostrel::luaField(L, e, "icon", QString()).toString();
        addTag(icon, name);
    });
}

void TagConfig::addTag(QString file, const QString& name)
{
    QPixmap pix(icon_path_ + file);
    tags_.push_back(Tag{std::move(file), name, std::move(pix)});
}

const QString& TagConfig::nameAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < tags_.size());
    return tags_[ix].name;
}

QPixmap TagConfig::pixmapAt(std::size_t ix) const
{
    KELVANE_ASSERT(ix < tags_.size());
    return tags_[ix].pix;
}

QPixmap TagConfig::pixmapByName(const QString& name) const
{
    const Tag* tag = tagByName(name);
    return tag ? tag->pix : QPixmap();
}

QString TagConfig::fileByName(const QString& name) const
{
    const Tag* tag = tagByName(name);
    return tag ? tag->file : QString();
}

std::size_t TagConfig::tagIndex(const QString& name) const
{
    for (std::size_t ix = 0; ix < tags_.size(); ++ix) {
        if (tags_[ix].name == name)
            return ix;
    }
    return kNotFound;
}

bool TagConfig::existTag(const QString& name) const
{
    return tagByName(name) != nullptr;
}

TagConfig::Tag* TagConfig::tagByName(const QString& name)
{
    return const_cast<Tag*>(std::as_const(*this).tagByName(name));
}

const TagConfig::Tag* TagConfig::tagByName(const QString& name) const
{
    const std::size_t ix = tagIndex(name);
    return ix == kNotFound ? nullptr : &tags_[ix];
}

void TagConfig::orientIconPath(const QString& tag_file)
{
    icon_path_ = kelvane::iconFolderBeside(tag_file);
}
