#pragma once

#include <QGraphicsSvgItem>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QTransform>

/// The deck drawing as the deck scene shows it: an SVG item that keeps the
/// pixels it drew around the visible part of the view and copies them back on
/// later paints, instead of rendering the whole document for every partial
/// update (a blinking sensor) or pan step.
///
/// The kept pixels are those of one view transform: a zoom renders afresh
/// into the same buffer, a pan by whole pixels scrolls the kept pixels and
/// renders only what came into sight beyond them. They follow the renderer
/// (also a shared one set later, and a document it loads anew), the element
/// shown and the bounds, and they belong to the last view painted: a second
/// view on the same scene takes them over whenever it paints. The item's own
/// cache mode stays NoCache. Rotated or sheared views, high-density devices
/// and animated documents are drawn directly, as by QGraphicsSvgItem.
class DeckDrawing : public QGraphicsSvgItem
{
    Q_OBJECT

public:
    /// Shows the SVG document in \a file.
    explicit DeckDrawing(const QString& file);
    ~DeckDrawing() override;

    /// Draws the part the painter's clip asks for from the kept pixels,
    /// rendering what they lack first.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    /// What the kept pixels were rendered for, apart from a pan by whole pixels.
    struct Key
    {
        QTransform scale;
        QPointF fraction;
        const void* renderer = nullptr;
        QString element;
        QRectF bounds;
        bool operator==(const Key& other) const;
    };

    /// Drops the kept pixels; their buffer stays for the next ones.
    void forget();
    /// Makes the kept pixels cover \a needed and \a window (device pixels
    /// relative to the item's whole-pixel origin), rendering only what they
    /// lack; a buffer too small for them is replaced by one of \a capacity.
    void cover(const QRect& needed, const QRect& window, const QSize& capacity, QPainter::RenderHints hints,
               const QStyleOptionGraphicsItem* option, QWidget* widget);

    Key key_;
    /// The kept pixels from the buffer's top left, and the rectangle they
    /// cover, relative to the item's whole-pixel origin.
    QPixmap pixels_;
    QRect covered_;
};
