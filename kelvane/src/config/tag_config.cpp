#include "config/tag_config.h"

#include "config/icon_folder.h"
#include "config/named_icon_list.h"
#include "kelvane_assert.h"

#include <utility>

namespace {

constexpr qreal kInitialWidth = 50.0;
constexpr qreal kInitialOpacity = 0.7;

using Tags = kelvane::NamedIconList<TagConfig::Tag>;

// The picture is null when the file cannot be read.
TagConfig::Tag tagOf(const QString& icon_path, QString file, const QString& name)
{
    QPixmap pix(icon_path + file);
    return TagConfig::Tag{std::move(file), name, std::move(pix)};
}

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
    Tags::load(filename, "tag", width_, opacity_, tags_,
               [this](lua_State*, int, const QString& name, const QString& icon) { return tagOf(icon_path_, icon, name); });
}

void TagConfig::addTag(QString file, const QString& name)
{
    tags_.push_back(tagOf(icon_path_, std::move(file), name));
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
    return Tags::indexOf(tags_, name);
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
    return Tags::find(tags_, name);
}

void TagConfig::orientIconPath(const QString& tag_file)
{
    icon_path_ = kelvane::iconFolderBeside(tag_file);
}
