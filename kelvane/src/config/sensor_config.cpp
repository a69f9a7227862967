#include "config/sensor_config.h"

#include "config/icon_folder.h"
#include "kelvane_edition.h"
#include "lua_reader_helpers.h"
#include "svg_colour_map.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kInitialWidth = 60.0;
constexpr qreal kInitialOpacity = 0.8;
constexpr qreal kFontScale = 0.8;
constexpr const char* kInitialTextColor = "#0000FF";
const char* const kInitialStateColors[] = {"#FF0000", "#FFFF00", "#FF00FF", "#808000"};

constexpr qreal kDefaultWidth = 40.0;
constexpr const char* kDefaultTextColor = "#000080";
constexpr qreal kDefaultOpacity = 0.6;
constexpr const char* kDefaultName = "NA";

QHash<QString, QPixmap>& iconCache()
{
    static QHash<QString, QPixmap> cache;
    return cache;
}

// The icon \a file drawn with its colours mapped when it is an SVG document, else as it is.
QPixmap mappedIcon(const QString& file, const std::function<QColor(const QColor&)>& map)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        return QPixmap(file);
    QSvgRenderer renderer(SvgColourMap(map).apply(source.readAll()));
    if (!renderer.isValid() || renderer.defaultSize().isEmpty())
        return QPixmap(file);
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

// The maintenance edition keeps the groups by value, kelvaned shares them.
template <typename Held>
Held makeViewGroup(const QString& name, const QString& group, int response)
{
    if constexpr (kelvane::kMaintenanceEdition)
        return Held(name, group, response);
    else
        return std::make_shared<harq::ViewGroup>(name, group, response);
}

} // namespace

std::unique_ptr<SensorConfig> SensorConfig::self_;

SensorConfig& SensorConfig::instance()
{
    if (!self_)
        self_.reset(new SensorConfig);
    return *self_;
}

SensorConfig::SensorConfig()
    : width_(kInitialWidth)
    , opacity_(kInitialOpacity)
    , font_scale_(kFontScale)
    , text_color_(QString::fromLatin1(kInitialTextColor))
{
    for (const char* color : kInitialStateColors)
        state_colors_.append(QString::fromLatin1(color));
    parseStateColors();
}

SensorConfig::~SensorConfig() = default;

void SensorConfig::loadStyle(const QString& filename)
{
    // kelvaned takes its icons from beside the file; the maintenance host sets the folder.
    if constexpr (!kelvane::kMaintenanceEdition)
        icon_path_ = kelvane::iconFolderBeside(filename);
    const ostrel::LuaStatePtr state(ostrel::loadLuaConfig(filename));
    lua_State* L = state.get();
    const ostrel::LuaStackAssist guard(L);

    const int t = ostrel::luaGlobalTable(L, "sensor");
    if (t == 0)
        return;

    // Everything that can be refused is read before anything is kept, so the style stays as it was.
    const qreal width = ostrel::luaField(L, t, "width", kDefaultWidth).toReal();
    const QString text_color = ostrel::luaField(L, t, "text_color", kDefaultTextColor).toString();
    const qreal opacity = ostrel::luaField(L, t, "opacity", kDefaultOpacity).toReal();

    ViewGroups view_groups;
    ostrel::luaForEachTable(L, t, "view_group", ostrel::kMaxListLength, [&](int, int e) {
        const QString name = ostrel::luaField(L, e, "name", kDefaultName).toString();
        const QString group = ostrel::luaField(L, e, "group", QString()).toString();
        const int response = ostrel::luaIntField(L, e, "response", 0, filename);
        view_groups.append(makeViewGroup<ViewGroups::value_type>(name, group, response));
    });

    width_ = width;
    text_color_ = text_color;
    opacity_ = opacity;
    view_groups_ = std::move(view_groups);

    state_colors_.clear();
    // Every position counts, so an element that is not a colour name still takes its place.
    ostrel::luaForEach(L, t, "state", ostrel::kMaxListLength,
                       [&](int) { state_colors_.append(ostrel::luaTopValue(L, QString()).toString()); });
    parseStateColors();
}

void SensorConfig::parseStateColors()
{
    parsed_state_colors_.clear();
    for (const QString& name : qAsConst(state_colors_))
        parsed_state_colors_.append(QColor(name));
}

QPixmap SensorConfig::icon(const QString& name) const
{
    auto& cache = iconCache();
    auto cached = cache.constFind(name);
    if (cached == cache.constEnd())
        cached = cache.insert(name, colour_map_ ? mappedIcon(icon_path_ + name, colour_map_) : QPixmap(icon_path_ + name));
    return cached.value();
}

QColor SensorConfig::labelColor() const
{
    const QColor configured(text_color_);
    return colour_map_ && configured.isValid() ? colour_map_(configured) : configured;
}

void SensorConfig::setColourMap(std::function<QColor(const QColor&)> map)
{
    colour_map_ = std::move(map);
    iconCache().clear();
}

void SensorConfig::setMinimumLabelSize(qreal pixels)
{
    minimum_label_size_ = std::isfinite(pixels) ? std::max(pixels, qreal(0)) : 0;
}

QColor SensorConfig::stateColor(int ix) const
{
    if (ix >= 0 && ix < parsed_state_colors_.size())
        return parsed_state_colors_.at(ix);
    if (!parsed_state_colors_.isEmpty())
        return parsed_state_colors_.last();
    return QColor();
}
