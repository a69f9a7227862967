#pragma once

#include "kelvane_export.h"

#include "entity/view_group.h"

#include <QColor>
#include <QList>
#include <QPen>
#include <QString>

#include <array>
#include <memory>

struct lua_State;

/// Process-wide style of compartments: the pointer-hover colouring, the pens of
/// the outline editor and the ten region types. A region type number is the
/// index of its slot; each type is a view group whose group code is the type's
/// icon name.
class KELVANE_EXPORT RegionConfig
{
public:
    static constexpr int kRegionTypes = 10;
    using SrTypes = std::array<std::shared_ptr<harq::ViewGroup>, kRegionTypes>;

    /// The one instance, created on first use.
    static RegionConfig& instance();

    RegionConfig(const RegionConfig&) = delete;
    RegionConfig& operator=(const RegionConfig&) = delete;
    ~RegionConfig();

    /// Reads the globals `region` and `scene` of a Lua file; throws std::runtime_error
    /// when the file cannot be loaded, and then nothing changes.
    void loadStyle(const QString& filename);

    /// Colour of a compartment under the pointer; invalid before a load.
    const QColor& hoverColor() const { return hover_color_; }
    qreal hoverOpacity() const { return hover_opacity_; }

    /// Name of region type \a type; empty outside 0..9 or for an unconfigured type.
    QString srName(int type) const;
    /// Icon name of region type \a type; empty outside 0..9 or for an unconfigured type.
    QString srIconName(int type) const;
    /// Lowest type whose name is exactly \a name; 0 when no type has that name.
    int srType(const QString& name) const;
    /// All type numbers 0..9, configured or not.
    QList<int> srTypes() const;
#ifdef KELVANE_MAINTENANCE
    /// The type's view group, still owned by the configuration; null outside 0..9 or when empty.
    harq::ViewGroup* srViewGroup(int srtype) const;
#else
    /// The type's view group, shared; empty outside 0..9 or when unconfigured.
    std::shared_ptr<harq::ViewGroup> srViewGroup(int srtype) const;
    /// The same as a plain pointer, valid until a later load replaces the slot.
    harq::ViewGroup* srViewGroupPtr(int srtype) const;
#endif

    /// Pen of the line being drawn while an outline is edited.
    QPen pathEditPen() const { return path_edit_pen_; }
    /// Pen of the outline segments already traced.
    QPen pathTracePen() const { return path_trace_pen_; }

protected:
    RegionConfig();

    /// Reads the global `scene` from a state in which the file has already run.
    void loadSceneStyle(lua_State* lua);

private:
    const std::shared_ptr<harq::ViewGroup>& slot(int type) const;

    static std::unique_ptr<RegionConfig> self_;

    SrTypes sensitives_;
    QColor hover_color_;
    qreal hover_opacity_;
    QPen path_edit_pen_;
    QPen path_trace_pen_;
};
