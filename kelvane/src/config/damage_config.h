#pragma once

#include "kelvane_export.h"

#include "entity/view_group.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

/// Process-wide style of the damage display: its timing and opacity and the
/// catalogue of damage responses (one colour and name per response type).
class KELVANE_EXPORT DamageConfig
{
public:
    using DamageResponses = QList<std::shared_ptr<harq::DamageResponse>>;

    /// The one instance, created on first use.
    static DamageConfig& instance();

    DamageConfig(const DamageConfig&) = delete;
    DamageConfig& operator=(const DamageConfig&) = delete;
    ~DamageConfig();

    /// Reads the global `damage` of a Lua file; throws std::runtime_error when the
    /// file cannot be loaded, and then nothing changes.
    void loadStyle(const QString& filename);

    /// Show time of the damage display, read by the host.
    int showTime() const { return showtime_; }
    /// Hide time of the damage display, read by the host.
    int hideTime() const { return hidetime_; }
    qreal opacity() const { return opacity_; }

    /// The response for the damage bits \a type: every configured response that
    /// shares a bit with \a type, mixed together in file order. Empty when none
    /// does (always for 0). The result is the caller's own copy; the catalogue
    /// is never changed by it.
    std::optional<harq::DamageResponse> response(int type) const;

private:
    DamageConfig();

    static std::unique_ptr<DamageConfig> self_;

    int showtime_;
    int hidetime_;
    qreal opacity_;
    DamageResponses responses_;
};
