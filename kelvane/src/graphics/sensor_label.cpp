#include "graphics/sensor_label.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

SensorLabel::SensorLabel(QGraphicsItem* parent)
    : QGraphicsTextItem(parent)
{
}

void SensorLabel::setLine(const QString& text)
{
    setPlainText(text);
    QTextDocument* doc = document();
    // Keeps the shaped glyphs after layout, so a paint draws them instead of
    // shaping the text again.
    doc->firstBlock().layout()->setCacheEnabled(true);
    doc->markContentsDirty(0, doc->characterCount());
    // Lays the text out now, as the first paint would.
    doc->documentLayout()->documentSize();
    revision_ = doc->revision();
}

void SensorLabel::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    const QTextDocument* doc = document();
    QTextLayout* line = doc->firstBlock().layout();
    const bool selected = option->state & (QStyle::State_Selected | QStyle::State_HasFocus);
    // A layout the document has not (re)done yet has no line to draw.
    if (doc->revision() != revision_ || doc->blockCount() != 1 || line->lineCount() != 1 || selected) {
        QGraphicsTextItem::paint(painter, option, widget);
        return;
    }
    // What the document layout does for one plain line: the palette's text
    // colour, which the text item takes from its default text colour.
    painter->save();
    painter->setPen(defaultTextColor());
    line->draw(painter, QPointF());
    painter->restore();
}
