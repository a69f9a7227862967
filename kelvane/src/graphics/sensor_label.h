#pragma once

#include <QGlyphRun>
#include <QGraphicsTextItem>
#include <QPointF>
#include <QPointer>
#include <QVector>

/// The label of a sensor graphic: a text item that, while its text is one
/// plain line as setLine() left it, draws the glyphs of that line straight
/// away instead of going through the document layout on every paint. Once
/// anything else changes the document, it draws as any text item.
///
/// A deck shows a label per sensor, so a full repaint draws thousands of
/// them: the document's own drawing builds formats, pens and fonts for every
/// line it draws, which cost more than the glyphs themselves.
///
/// That line is not drawn while it is shorter on screen than the sensor
/// style's minimumLabelSize().
class SensorLabel : public QGraphicsTextItem
{
public:
    /// An empty label, child item of \a parent.
    explicit SensorLabel(QGraphicsItem* parent);

    /// Shows \a text as plain text.
    void setLine(const QString& text);

    /// The line's glyphs in the default text colour, or the text item's own drawing.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    /// Takes the glyphs of the laid-out line; false where the document is not
    /// one plain line as setLine() left it.
    bool takeGlyphs();

    /// The document setLine() filled, and its revision right after; a later
    /// edit changes it. Null once a host's setDocument() has deleted it.
    QPointer<const QTextDocument> line_document_;
    int revision_ = -1;
    /// A run of glyphs placed from its first glyph, and where that glyph is.
    struct PlacedRun {
        QPointF start;
        QGlyphRun glyphs;
    };
    /// Glyphs of the line where it is laid out, valid until the layout is redone.
    QVector<PlacedRun> glyphs_;
    /// Height of the line, in the label's own units.
    qreal line_height_ = 0;
    bool glyphs_valid_ = false;
};
