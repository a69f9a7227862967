#include "view/deck_scene.h"

#include "view/deck_drawing.h"
#include "svg_colour_map.h"

#include <QBrush>
#include <QFile>
#include <QGraphicsRectItem>
#include <QGraphicsSvgItem>
#include <QGraphicsTextItem>
#include <QPen>
#include <QSvgRenderer>

namespace {

constexpr qreal kFrameWidth = 1.0;
constexpr int kIndexDepth = 8;

QPen framePen(const std::function<QColor(const QColor&)>& map)
{
    const QColor frame(Qt::green);
    return QPen(QBrush(map ? map(frame) : frame), kFrameWidth, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

DeckScene::DeckScene(QObject* parent)
    : QGraphicsScene(parent)
{
    // Every paint asks the index for the top-level items under the bounding
    // rectangle of what it repaints, which for a few sensors blinking far apart
    // is most of the deck. Qt sizes the tree by the item count (depth 14 for a
    // deck of 2,000 sensors, each with three children), so such a question
    // visits 16,000 leaves holding the small items several times over; 256
    // leaves answer it at a fifth of the cost and still find the items under
    // the pointer among a few dozen.
    setBspTreeDepth(kIndexDepth);
}

DeckScene::~DeckScene() = default;

void DeckScene::setDeck(const QString& name, const QString& file)
{
    clear();
    drawing_ = nullptr;
    frame_ = nullptr;
    file_ = file;
    emit resetScene(name);

    QRectF extent;
    if (!QFile::exists(file)) {
        extent = addErrorText(QObject::tr("<red>甲板文件 %1 不存在</red>"), file);
    } else {
        auto* drawing = new DeckDrawing(file);
        if (drawing->renderer()->isValid()) {
            if (drawing_colours_)
                recolour(drawing);
            drawing_ = drawing;
            extent = addDrawing(drawing);
        } else {
            delete drawing;
            extent = addErrorText(QObject::tr("<red>渲染甲板 %1 错误</red>"), file);
        }
    }
    setSceneRect(extent);
}

QRectF DeckScene::addErrorText(const QString& message, const QString& file)
{
    auto* text = new QGraphicsTextItem;
    text->setFlag(QGraphicsItem::ItemIgnoresTransformations);
    // Rich text knows no <red> tag, so the colour comes from the item; the path
    // is escaped so that it shows literally whatever characters it holds.
    text->setDefaultTextColor(Qt::red);
    text->setHtml(message.arg(file.toHtmlEscaped()));
    addItem(text);
    return text->boundingRect();
}

QRectF DeckScene::addDrawing(QGraphicsSvgItem* drawing)
{
    drawing->setFlags(QGraphicsItem::ItemClipsToShape);
    drawing->setCacheMode(QGraphicsItem::NoCache);
    drawing->setZValue(0);
    const QRectF extent = drawing->boundingRect();
    addItem(drawing);

    // Added after the drawing so that it is drawn above it.
    auto* frame = new QGraphicsRectItem(extent);
    frame->setZValue(0);
    frame->setPen(framePen(drawing_colours_));
    frame->setBrush(Qt::NoBrush);
    addItem(frame);
    frame_ = frame;
    return extent;
}

void DeckScene::setDrawingColours(std::function<QColor(const QColor&)> map)
{
    drawing_colours_ = std::move(map);
    if (!drawing_)
        return;
    if (drawing_colours_)
        recolour(drawing_);
    else
        drawing_->renderer()->load(file_);
    frame_->setPen(framePen(drawing_colours_));
}

void DeckScene::recolour(DeckDrawing* drawing) const
{
    QFile file(file_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    drawing->renderer()->load(SvgColourMap(drawing_colours_).apply(file.readAll()));
    // A document the map made unreadable keeps its colours rather than vanish.
    if (!drawing->renderer()->isValid())
        drawing->renderer()->load(file_);
}
