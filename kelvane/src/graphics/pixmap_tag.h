#pragma once

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
class KELVANE_EXPORT PixmapTag : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = UserType + 41 };

    explicit PixmapTag(QGraphicsItem* parent = nullptr);
    ~PixmapTag() override;

    /// The tag \a item is, or whose picture it is; null otherwise and for null.
    static PixmapTag* toPixmapTag(QGraphicsItem* item);

    /// The picture's shown extent, centred on the origin.
    QRectF boundingRect() const override;
    /// Draws nothing: the picture is a child item.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    int type() const override { return Type; }

    const QString& tag() const { return tag_; }
    harq::Deck* deck() const { return deck_; }
    harq::Region* cabin() const { return cabin_; }
    /// Identifies the tag within one run; not stable across runs.
    quint64 code() const { return code_; }

public slots:
    /// Sets the text first, then the picture, so subclasses may name the tag
    /// from what they know when the picture arrives.
    void setTag(QPixmap pixmap, QString tag);
    void setPixmap(QPixmap pixmap);
    void setText(QString tag);
    /// The deck the tag is placed on; not owned.
    void setDeck(harq::Deck* deck);
    /// The compartment the tag is placed in; not owned.
    void setCabin(harq::Region* cabin);

protected:
    QGraphicsPixmapItem* pixmap() const { return pix_; }

    /// Shows \a pixmap at tagWidth() and tagOpacity(), centred on the origin.
    virtual void makePixmap(const QPixmap& pixmap);
    /// Stores \a tag as text and tool tip.
    virtual void makeTag(const QString& tag);
    virtual double tagWidth() const;
    virtual double tagOpacity() const;

private:
    QGraphicsPixmapItem* pix_;
    QString tag_;
    harq::Deck* deck_ = nullptr;
    harq::Region* cabin_ = nullptr;
    quint64 code_;
};
