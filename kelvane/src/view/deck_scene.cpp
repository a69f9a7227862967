#include "view/deck_scene.h"

#include "view/deck_drawing.h"

#include <QBrush>
#include <QFile>
#include <QGraphicsRectItem>
#include <QGraphicsSvgItem>
#include <QGraphicsTextItem>
#include <QPen>
#include <QSvgRenderer>

namespace {

constexpr qreal kFrameWidth = 1.0;

QPen framePen()
{
    return QPen(QBrush(Qt::green), kFrameWidth, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

DeckScene::DeckScene(QObject* parent)
    : QGraphicsScene(parent)
{
}

DeckScene::~DeckScene() = default;

void DeckScene::setDeck(const QString& name, const QString& file)
{
    clear();
    emit resetScene(name);

    QRectF extent;
    if (!QFile::exists(file)) {
        extent = addErrorText(QObject::tr("<red>甲板文件 %1 不存在</red>"), file);
    } else {
        auto* drawing = new DeckDrawing(file);
        if (drawing->renderer()->isValid()) {
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
    frame->setPen(framePen());
    frame->setBrush(Qt::NoBrush);
    addItem(frame);
    return extent;
}
