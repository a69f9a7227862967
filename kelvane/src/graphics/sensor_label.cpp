#include "graphics/sensor_label.h"

#include "config/sensor_config.h"

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
    if (doc != line_document_) {
        line_document_ = doc;
        // Every relayout (text, font, width) ends in the layout's update(),
        // so the kept glyphs are dropped with the layout they came from.
        QObject::connect(doc->documentLayout(), &QAbstractTextDocumentLayout::update, this,
                         [this] { glyphs_valid_ = false; });
        // The text item deletes its own document when given another one.
        QObject::connect(doc, &QObject::destroyed, this, [this] { glyphs_valid_ = false; });
    }
    glyphs_valid_ = false;
    revision_ = doc->revision();
}

bool SensorLabel::takeGlyphs()
{
    const QTextDocument* doc = line_document_;
    if (!doc || doc != document() || doc->revision() != revision_ || doc->blockCount() != 1)
        return false;
    const QTextLayout* layout = doc->firstBlock().layout();
    if (layout->lineCount() != 1)
        return false;
    glyphs_.clear();
    for (QGlyphRun run : layout->lineAt(0).glyphRuns()) {
        // The document's drawing places each run's glyphs from the run's start
        // in the painter's transform moved there, so its glyphs round to the
        // same pixels only when drawn the same way.
        QVector<QPointF> positions = run.positions();
        const QPointF start = positions.value(0);
        for (QPointF& at : positions)
            at -= start;
        run.setPositions(positions);
        glyphs_.push_back({layout->position() + start, run});
    }
    line_height_ = layout->lineAt(0).height();
    glyphs_valid_ = true;
    return true;
}

void SensorLabel::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    const bool selected = option->state & (QStyle::State_Selected | QStyle::State_HasFocus);
    if (selected || (!glyphs_valid_ && !takeGlyphs())) {
        QGraphicsTextItem::paint(painter, option, widget);
        return;
    }
    const QTransform transform = painter->worldTransform();
    if (line_height_ * QStyleOptionGraphicsItem::levelOfDetailFromTransform(transform)
        < SensorConfig::instance().minimumLabelSize())
        return;
    // What the document layout does for one plain line: the palette's text
    // colour, which the text item takes from its default text colour.
    const QPen pen = painter->pen();
    painter->setPen(defaultTextColor());
    for (const PlacedRun& run : qAsConst(glyphs_)) {
        painter->translate(run.start);
        painter->drawGlyphRun(QPointF(), run.glyphs);
        painter->setWorldTransform(transform);
    }
    painter->setPen(pen);
}
