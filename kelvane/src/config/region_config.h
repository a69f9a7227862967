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
///
/// Loading may be repeated at any time; nobody is notified. The reaction regions
/// read the hover colouring and the outline editors the pens when they draw.
/// In the maintenance edition srViewGroup returns a plain pointer and there is
/// no srViewGroupPtr.
class KELVANE_EXPORT RegionConfig
{
public:
    /// Number of region type slots; type numbers run from 0 to kRegionTypes - 1.
    static constexpr int kRegionTypes = 10;
    /// The type slots, indexed by type number; an empty slot is an unconfigured type.
    using SrTypes = std::array<std::shared_ptr<harq::ViewGroup>, kRegionTypes>;

    /// The one instance, created on first use and kept until the process ends.
    static RegionConfig& instance();

    RegionConfig(const RegionConfig&) = delete;
    RegionConfig& operator=(const RegionConfig&) = delete;
    ~RegionConfig();

    /// Reads the globals `region` and `scene` of a Lua file; throws std::runtime_error
    /// when the file cannot be loaded or a view group's `response` does not fit
    /// an int, and then nothing changes.
    ///
    /// When `region` is not a table nothing changes at all, and `scene` is not
    /// read either. Otherwise the hover opacity and colour are set (defaults 0.3
    /// and "#00FFFF"), every type slot is emptied and refilled from the list
    /// `view_group`: element i (1 to 10, later ones ignored) fills type i - 1
    /// with its `name` (default "NA"), `icon` and `response`; elements that are
    /// not tables leave their type empty. Then `scene` sets both pens when it is
    /// a table (see pathEditPen). Pointers from srViewGroupPtr (and, in the
    /// maintenance edition, srViewGroup) are invalidated by a load unless the
    /// group is shared elsewhere. An unparsable colour name gives an invalid
    /// colour silently.
    void loadStyle(const QString& filename);

    /// Colour of a compartment under the pointer; invalid before a load.
    const QColor& hoverColor() const { return hover_color_; }
    /// Opacity of the hover colouring, 0 to 1; 0.3 before a load.
    qreal hoverOpacity() const { return hover_opacity_; }

    /// Name of region type \a type; empty outside 0..9 or for an unconfigured type.
    QString srName(int type) const;
    /// Icon name of region type \a type; empty outside 0..9 or for an unconfigured type.
    QString srIconName(int type) const;
    /// Lowest type whose name is exactly \a name (case-sensitive); 0 when no type
    /// has that name, which cannot be told apart from a match on type 0.
    int srType(const QString& name) const;
    /// All type numbers 0..9, configured or not.
    QList<int> srTypes() const;

    /// Pen of the line being drawn while an outline is edited: solid, colour
    /// `scene.color` (default "#0000FF"), width `scene.width` (default 4.0).
    /// A default QPen before a load.
    QPen pathEditPen() const { return path_edit_pen_; }
    /// Pen of the outline segments already traced: solid, colour `scene.trace`
    /// (default "#FF0000"), half the edit pen's width. A default QPen before a load.
    QPen pathTracePen() const { return path_trace_pen_; }

protected:
    /// Empty style: no types, invalid hover colour, hover opacity 0.3, default pens. Use instance().
    RegionConfig();

    /// Reads the global `scene` from a state in which the file has already run.
    /// Nothing changes when `scene` is not a table. \a lua is borrowed; its stack is left as found.
    void loadSceneStyle(lua_State* lua);

private:
    const std::shared_ptr<harq::ViewGroup>& slot(int type) const;

    static std::unique_ptr<RegionConfig> self_;

    SrTypes sensitives_;
    QColor hover_color_;
    qreal hover_opacity_;
    QPen path_edit_pen_;
    QPen path_trace_pen_;

    // What only one edition has.
#ifdef KELVANE_MAINTENANCE
public:
    /// The type's view group, still owned by the configuration; null outside 0..9 or when empty.
    /// Valid until a later load replaces the slot.
    harq::ViewGroup* srViewGroup(int srtype) const;
#else
public:
    /// The type's view group, shared; empty outside 0..9 or when unconfigured.
    /// The group stays alive while the caller holds it, also across a reload.
    std::shared_ptr<harq::ViewGroup> srViewGroup(int srtype) const;
    /// The same as a plain pointer, valid until a later load replaces the slot.
    harq::ViewGroup* srViewGroupPtr(int srtype) const;
#endif
};
