#pragma once

#include "kelvane_export.h"

#include "entity/view_group.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

/// Process-wide style of the damage display: its timing and opacity and the
/// catalogue of damage responses (one colour and name per response type).
///
/// Loading may be repeated at any time; nobody is notified. The same in both editions.
class KELVANE_EXPORT DamageConfig
{
public:
    /// The configured responses, in file order.
    using DamageResponses = QList<std::shared_ptr<harq::DamageResponse>>;

    /// The one instance, created on first use and kept until the process ends.
    static DamageConfig& instance();

    DamageConfig(const DamageConfig&) = delete;
    DamageConfig& operator=(const DamageConfig&) = delete;
    ~DamageConfig();

    /// Reads the global `damage` of a Lua file; throws std::runtime_error when the
    /// file cannot be loaded or an integer (`showtime`, `hidetime`, a response's
    /// `type`) does not fit an int, and then nothing changes.
    ///
    /// When `damage` is not a table nothing changes. Otherwise `showtime`
    /// (default 500), `hidetime` (default 200) and `opacity` (default 0.3) are
    /// set, and the catalogue is replaced by the tables of the list `response`
    /// (`type` default 0, `name` default "NA", `color` a colour name, empty and
    /// unknown names giving an invalid colour); other elements are skipped, and
    /// a missing list leaves the catalogue empty.
    void loadStyle(const QString& filename);

    /// Show time of the damage display, read by the host; the library only stores it. 500 before a load.
    int showTime() const { return showtime_; }
    /// Hide time of the damage display, read by the host; the library only stores it. 200 before a load.
    int hideTime() const { return hidetime_; }
    /// Opacity of the damage display, 0 to 1; 0.3 before a load.
    qreal opacity() const { return opacity_; }

    /// The response for the damage bits \a type: every configured response that
    /// shares a bit with \a type, mixed together in file order. Empty when none
    /// does (always for 0). The result is the caller's own copy; the catalogue
    /// is never changed by it.
    std::optional<harq::DamageResponse> response(int type) const;
    /// The colour of response(\a type), empty when that is. Cheaper than
    /// response(), as the joined name is not built, and mixed once per type
    /// and load: compartments ask on every change of their alarm count. Keeps
    /// what it mixed, so unlike the rest of the style it is for one thread
    /// (the GUI thread) at a time.
    std::optional<QColor> responseColor(int type) const;

private:
    DamageConfig();

    static std::unique_ptr<DamageConfig> self_;

    int showtime_;
    int hidetime_;
    qreal opacity_;
    DamageResponses responses_;
    /// responseColor() of each type asked for since the last load.
    mutable QHash<int, std::optional<QColor>> colors_;
};
