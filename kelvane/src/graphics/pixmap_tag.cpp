#include "graphics/pixmap_tag.h"

#include "config/tag_config.h"
#include "entity/deck.h"
#include "entity/region.h"
#include "object_link.h"

#include <QDateTime>
#include <QGraphicsPixmapItem>

#include <algorithm>
#include <functional>
#include <string>

namespace {

// Time and address together keep codes apart within one run.
quint64 makeCode(const void* self)
{
    const std::string text = std::to_string(QDateTime::currentMSecsSinceEpoch()) + ":"
        + std::to_string(reinterpret_cast<quintptr>(self));
    return static_cast<quint64>(std::hash<std::string>{}(text));
}

// A picture without width is shown as if one unit wide rather than divided by zero.
constexpr qreal kMinPictureWidth = 1.0;

} // namespace

PixmapTag::PixmapTag(QGraphicsItem* parent)
    : QGraphicsObject(parent)
    , pix_(new QGraphicsPixmapItem(this))
    , code_(makeCode(this))
{
}

PixmapTag::~PixmapTag()
{
    setParentItem(nullptr);
}

PixmapTag* PixmapTag::toPixmapTag(QGraphicsItem* item)
{
    if (!item)
        return nullptr;
    if (auto* tag = qobject_cast<PixmapTag*>(item->toGraphicsObject()))
        return tag;
    QGraphicsItem* parent = item->parentItem();
    return parent ? qobject_cast<PixmapTag*>(parent->toGraphicsObject()) : nullptr;
}

QRectF PixmapTag::boundingRect() const
{
    const QSizeF size = pix_->boundingRect().size() * pix_->scale();
    return QRectF(QPointF(-size.width() / 2, -size.height() / 2), size);
}

void PixmapTag::paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*)
{
}

void PixmapTag::setTag(QPixmap pixmap, QString tag)
{
    makeTag(tag);
    makePixmap(pixmap);
}

void PixmapTag::setPixmap(QPixmap pixmap)
{
    makePixmap(pixmap);
}

void PixmapTag::setText(QString tag)
{
    makeTag(tag);
}

// The deck and the compartment belong to the host's model, which may destroy
// them while the tag is still shown.
void PixmapTag::setDeck(harq::Deck* deck)
{
    kelvane::linkUntilDestroyed(this, deck_, deck);
}

void PixmapTag::setCabin(harq::Region* cabin)
{
    kelvane::linkUntilDestroyed(this, cabin_, cabin);
}

void PixmapTag::makePixmap(const QPixmap& pixmap)
{
    prepareGeometryChange();
    pix_->setPixmap(pixmap);
    pix_->setOpacity(tagOpacity());
    const QRectF rect(pixmap.rect());
    pix_->setScale(tagWidth() / std::max(rect.width(), kMinPictureWidth));
    pix_->setOffset(-rect.width() / 2, -rect.height() / 2);
}

void PixmapTag::makeTag(const QString& tag)
{
    tag_ = tag;
    setToolTip(tag);
}

double PixmapTag::tagWidth() const
{
    return TagConfig::instance().width();
}

double PixmapTag::tagOpacity() const
{
    return TagConfig::instance().opacity();
}
