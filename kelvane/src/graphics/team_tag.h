#pragma once

#include "graphics/pixmap_tag.h"
#include "item_type.h"
#include "kelvane_export.h"

#include <QString>

#include <optional>

/// A deployed response team on the deck plan. Deploying books the team out of
/// the team catalogue; destroying the tag books it back in, so every deployed
/// team tag must be deleted for its team to become available again. Size and
/// opacity come from the team catalogue. Edition with tags only.
class KELVANE_EXPORT TeamTag : public PixmapTag
{
    Q_OBJECT

public:
    /// Item type of a team tag, for qgraphicsitem_cast().
    enum { Type = kelvane::TeamTagType };

    /// A tag standing for no team yet (empty team name), child item of
    /// \a parent (none when null). Nothing is booked until deployTeam().
    explicit TeamTag(QGraphicsItem* parent = nullptr);
    /// Withdraws the team this tag deployed, if any.
    ~TeamTag() override;

    /// Whether the team catalogue still has a team \a name to deploy.
    static bool available(const QString& name);
    /// The team tag \a item is, or whose picture it is; null otherwise and for null.
    static TeamTag* toTeamTag(QGraphicsItem* item);

    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

    /// Makes this tag stand for team \a name: takes the catalogue's picture
    /// and name when the catalogue knows the team (else keeps the current
    /// ones), and books the team as deployed. A team this tag deployed
    /// before is withdrawn first, so redeploying keeps the counts right.
    /// Returns false, changing nothing, when the catalogue knows the team but
    /// has none of it left (the team this tag already holds counts as free),
    /// so the catalogue's count never drops below zero through a tag. An
    /// unknown name is not refused: it is recorded and booked to no effect.
    bool deployTeam(const QString& name);
    /// The team the tag stands for: the last deployTeam() name or text set.
    const QString& teamName() const { return name_; }

protected:
    /// Also takes \a tag as the team name. The team booked by deployTeam()
    /// stays the one withdrawn later.
    void makeTag(const QString& tag) override;
    /// The team catalogue's marker width, in scene units.
    double tagWidth() const override;
    /// The team catalogue's marker opacity.
    double tagOpacity() const override;

private:
    QString name_;
    // The team booked out of the catalogue by this tag; only it is withdrawn,
    // whatever name the text was set to since.
    std::optional<QString> deployed_;
};
