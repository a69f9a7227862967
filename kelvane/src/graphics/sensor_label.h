#pragma once

#include <QGraphicsTextItem>

/// The label of a sensor graphic: a text item that, while its text is one
/// plain line as setLine() left it, draws the kept layout of that line
/// straight away instead of going through the document layout on every paint.
/// Once anything else changes the document, it draws as any text item.
class SensorLabel : public QGraphicsTextItem
{
public:
    /// An empty label, child item of \a parent.
    explicit SensorLabel(QGraphicsItem* parent);

    /// Shows \a text as plain text and keeps its laid-out glyphs.
    void setLine(const QString& text);

    /// The kept line in the default text colour, or the text item's own drawing.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    /// The document's revision right after setLine(); a later edit changes it.
    int revision_ = -1;
};
