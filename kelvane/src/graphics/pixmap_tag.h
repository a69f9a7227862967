#pragma once

#include "item_type.h"
#include "kelvane_export.h"

#include <QGraphicsObject>
#include <QPixmap>
#include <QString>

class QGraphicsPixmapItem;

namespace harq {
class Deck;
class Region;
} // namespace harq

/// A marker on the deck plan: a picture centred on the tag's origin, scaled to
/// the catalogue's marker width, with a text shown as tool tip. Free tags take
/// their size and opacity from the tag catalogue; subclasses use their own.
///
/// The host creates tags and places them; the picture is a child item owned by
/// the tag. Size and opacity are read when a picture is set, so a catalogue
/// loaded later applies from the next picture on. Edition with tags only.
class KELVANE_EXPORT PixmapTag : public QGraphicsObject
{
    Q_OBJECT

public:
    /// Item type of a free tag, for qgraphicsitem_cast().
    enum { Type = kelvane::PixmapTagType };

    /// A tag without picture or text, on no deck and in no compartment, child
    /// item of \a parent (none when null). It gets its code() here.
    explicit PixmapTag(QGraphicsItem* parent = nullptr);
    /// Takes the tag out of its parent item; the picture goes with it.
    ~PixmapTag() override;

    /// The tag \a item is, or whose picture it is; null otherwise and for null.
    static PixmapTag* toPixmapTag(QGraphicsItem* item);

    /// The picture's shown extent, centred on the origin; empty before a picture.
    QRectF boundingRect() const override;
    /// Draws nothing: the picture is a child item.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    /// Its kelvane::ItemType, so qgraphicsitem_cast finds this class.
    int type() const override { return Type; }

    /// The tag's text, also its tool tip; empty until set.
    const QString& tag() const { return tag_; }
    /// The deck set with setDeck(); not owned; null until set and once that deck is destroyed.
    harq::Deck* deck() const { return deck_; }
    /// The compartment set with setCabin(); not owned; null until set and once that
    /// compartment is destroyed.
    harq::Region* cabin() const { return cabin_; }
    /// Identifies the tag within one run; not stable across runs.
    quint64 code() const { return code_; }

public slots:
    /// Sets the text \a tag first, then the picture \a pixmap, so subclasses
    /// may name the tag from what they know when the picture arrives.
    void setTag(QPixmap pixmap, QString tag);
    /// Shows \a pixmap as the tag's picture, through makePixmap().
    void setPixmap(QPixmap pixmap);
    /// Sets \a tag as the tag's text and tool tip, through makeTag().
    void setText(QString tag);
    /// The deck the tag is placed on; not owned. The library only stores it, and
    /// forgets it when it is destroyed.
    void setDeck(harq::Deck* deck);
    /// The compartment the tag is placed in; not owned. The library only stores it,
    /// and forgets it when it is destroyed.
    void setCabin(harq::Region* cabin);

protected:
    /// The child item that shows the picture; owned by the tag, never null.
    QGraphicsPixmapItem* pixmap() const { return pix_; }

    /// Shows \a pixmap at tagWidth() and tagOpacity(), centred on the origin.
    /// A picture without width is scaled as if it were one unit wide.
    virtual void makePixmap(const QPixmap& pixmap);
    /// Stores \a tag as text and tool tip.
    virtual void makeTag(const QString& tag);
    /// The width of the shown picture in scene units: the tag catalogue's
    /// marker width.
    virtual double tagWidth() const;
    /// The picture's opacity: the tag catalogue's marker opacity.
    virtual double tagOpacity() const;

private:
    QGraphicsPixmapItem* pix_;
    QString tag_;
    harq::Deck* deck_ = nullptr;
    harq::Region* cabin_ = nullptr;
    quint64 code_;
};
