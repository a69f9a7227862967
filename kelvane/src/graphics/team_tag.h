#pragma once

#include "graphics/pixmap_tag.h"
#include "kelvane_export.h"

#include <QString>

#include <optional>

/// A deployed response team on the deck plan. Deploying books the team out of
/// the team catalogue; destroying the tag books it back in.
class KELVANE_EXPORT TeamTag : public PixmapTag
{
    Q_OBJECT

public:
    enum { Type = UserType + 42 };

    explicit TeamTag(QGraphicsItem* parent = nullptr);
    /// Withdraws the team this tag deployed, if any.
    ~TeamTag() override;

    /// Whether the team catalogue still has a team \a name to deploy.
    static bool available(const QString& name);
    /// The team tag \a item is, or whose picture it is; null otherwise and for null.
    static TeamTag* toTeamTag(QGraphicsItem* item);

    int type() const override { return Type; }

    /// Makes this tag stand for team \a name: takes the catalogue's picture
    /// and name when the catalogue knows the team (else keeps the current
    /// ones), and books the team as deployed. A team this tag deployed
    /// before is withdrawn first, so redeploying keeps the counts right.
    void deployTeam(const QString& name);
    const QString& teamName() const { return name_; }

protected:
    /// Also takes \a tag as the team name.
    void makeTag(const QString& tag) override;
    double tagWidth() const override;
    double tagOpacity() const override;

private:
    QString name_;
    // The team booked out of the catalogue by this tag; only it is withdrawn,
    // whatever name the text was set to since.
    std::optional<QString> deployed_;
};
