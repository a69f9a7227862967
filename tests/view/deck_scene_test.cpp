#include "view/deck_scene.h"

#include <gtest/gtest.h>

#include <QGraphicsRectItem>
#include <QGraphicsSvgItem>
#include <QGraphicsTextItem>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>

namespace {

QString dataFile(const char* name)
{
    return QStringLiteral(KELVANE_VIEW_TEST_DATA "/") + QLatin1String(name);
}

// Renders the whole scene rectangle at one pixel per unit, with a margin so
// that a frame on the border is visible.
constexpr int kMargin = 10;

QImage renderScene(QGraphicsScene& scene)
{
    const QRectF source = scene.sceneRect();
    QImage image(source.size().toSize() + QSize(2 * kMargin, 2 * kMargin), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scene.render(&painter, QRectF(QPointF(kMargin, kMargin), source.size()), source);
    return image;
}

bool isGreen(QRgb c)
{
    return qGreen(c) > 100 && qRed(c) < 100 && qBlue(c) < 100;
}

} // namespace

TEST(DeckScene, ValidDrawingGivesDrawingBelowFrame)
{
    DeckScene scene;
    QSignalSpy reset(&scene, &DeckScene::resetScene);
    scene.setDeck("A", dataFile("deck.svg"));

    ASSERT_EQ(reset.count(), 1);
    EXPECT_EQ(reset.at(0).at(0).toString(), "A");
    EXPECT_EQ(scene.sceneRect(), QRectF(0, 0, 400, 200));

    const QList<QGraphicsItem*> items = scene.items(Qt::AscendingOrder);
    ASSERT_EQ(items.size(), 2);
    auto* drawing = dynamic_cast<QGraphicsSvgItem*>(items.at(0));
    auto* frame = qgraphicsitem_cast<QGraphicsRectItem*>(items.at(1));
    ASSERT_TRUE(drawing);
    ASSERT_TRUE(frame);
    EXPECT_EQ(drawing->flags(), QGraphicsItem::ItemClipsToShape);
    EXPECT_EQ(drawing->cacheMode(), QGraphicsItem::NoCache);
    EXPECT_EQ(drawing->zValue(), 0.0);
    EXPECT_EQ(drawing->pos(), QPointF(0, 0));
    EXPECT_EQ(frame->zValue(), 0.0);
    EXPECT_EQ(frame->rect(), QRectF(0, 0, 400, 200));
    EXPECT_EQ(frame->pen().color(), QColor(Qt::green));
    EXPECT_EQ(frame->pen().style(), Qt::DotLine);
    EXPECT_EQ(frame->pen().widthF(), 1.0);
    EXPECT_EQ(frame->brush().style(), Qt::NoBrush);
}

TEST(DeckScene, ViewBoxOnlyDrawingSetsTheSceneRectangle)
{
    DeckScene scene;
    scene.setDeck("B", dataFile("viewbox_only.svg"));
    EXPECT_EQ(scene.sceneRect(), QRectF(0, 0, 800, 300));
    EXPECT_EQ(scene.items().size(), 2);
}

TEST(DeckScene, SwitchingDeletesOldContentBeforeAnnouncing)
{
    DeckScene scene;
    scene.setDeck("A", dataFile("deck.svg"));
    QPointer<QGraphicsTextItem> layer = scene.addText("layer");

    int itemsSeenByHandler = -1;
    QObject::connect(&scene, &DeckScene::resetScene, &scene,
                     [&] { itemsSeenByHandler = scene.items().size(); });
    scene.setDeck("B", dataFile("viewbox_only.svg"));

    EXPECT_TRUE(layer.isNull());
    EXPECT_EQ(itemsSeenByHandler, 0);
}

TEST(DeckScene, MissingOrBrokenFileShowsOneRedErrorText)
{
    // Characters that mean something in HTML must show literally.
    const QString missing = dataFile("<b>missing&.svg");
    const QString broken = dataFile("not_svg.svg");
    const std::pair<QString, QString> cases[] = {
        {missing, QString("甲板文件 %1 不存在").arg(missing)},
        {broken, QString("渲染甲板 %1 错误").arg(broken)},
    };
    for (const auto& [file, message] : cases) {
        DeckScene scene;
        scene.setDeck("A", dataFile("deck.svg"));
        QSignalSpy reset(&scene, &DeckScene::resetScene);
        scene.setDeck("C", file);

        ASSERT_EQ(reset.count(), 1);
        EXPECT_EQ(reset.at(0).at(0).toString(), "C");
        const QList<QGraphicsItem*> items = scene.items();
        ASSERT_EQ(items.size(), 1);
        auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(items.at(0));
        ASSERT_TRUE(text);
        EXPECT_TRUE(text->flags() & QGraphicsItem::ItemIgnoresTransformations);
        EXPECT_EQ(text->toPlainText(), message);
        EXPECT_EQ(scene.sceneRect(), text->boundingRect());

        const QImage image = renderScene(scene);
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb c = image.pixel(x, y);
                red += qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100;
            }
        }
        EXPECT_GT(red, 20);
    }
}

TEST(DeckScene, RendersDrawingWithDottedGreenFrame)
{
    DeckScene scene;
    scene.setDeck("A", dataFile("deck.svg"));
    const QImage image = renderScene(scene);

    // The plain blue rectangle, and the red one placed by a transformed group.
    EXPECT_EQ(image.pixel(kMargin + 100, kMargin + 75), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(kMargin + 220, kMargin + 110), qRgb(255, 0, 0));

    // The frame's top edge: green dots with gaps between them.
    int green = 0;
    for (int x = kMargin + 5; x < kMargin + 395; ++x) {
        if (isGreen(image.pixel(x, kMargin)) || isGreen(image.pixel(x, kMargin - 1)))
            ++green;
    }
    EXPECT_GT(green, 100);
    EXPECT_LT(green, 385);
}

TEST(DeckScene, DrawingColoursRecolourEveryWayAColourIsWrittenAndGoBack)
{
    const auto invert = [](const QColor& c) { return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue()); };
    DeckScene scene;
    scene.setDeck("A", dataFile("deck.svg"));
    QPointer<QGraphicsSvgItem> drawing = qgraphicsitem_cast<QGraphicsSvgItem*>(scene.items(Qt::AscendingOrder).first());
    scene.setDrawingColours(invert);
    // The deck shown changes in place, its frame with it.
    EXPECT_NE(drawing, nullptr);
    EXPECT_EQ(renderScene(scene).pixel(kMargin + 100, kMargin + 75), qRgb(255, 255, 0));
    for (QGraphicsItem* item : scene.items()) {
        if (auto* frame = qgraphicsitem_cast<QGraphicsRectItem*>(item)) {
            EXPECT_EQ(frame->pen().color(), QColor(Qt::magenta));
        }
    }

    // Style sheet, style attribute, gradient stops and rgb(): blue, blue, red, blue as written.
    scene.setDeck("B", dataFile("styled.svg"));
    const QImage mapped = renderScene(scene);
    for (const int x : {50, 150, 250, 350})
        EXPECT_EQ(mapped.pixel(kMargin + x, kMargin + 100), x == 250 ? qRgb(0, 255, 255) : qRgb(255, 255, 0)) << x;
    scene.setDrawingColours({});
    DeckScene asWritten;
    asWritten.setDeck("B", dataFile("styled.svg"));
    EXPECT_EQ(renderScene(scene), renderScene(asWritten));
}
