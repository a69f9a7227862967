#include "outline_check.h"

#include <QFile>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>

namespace {

QPainterPath pathOf(const QPolygonF& outline)
{
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    return path;
}

/// The band of kTolerance on either side of \a path's edges.
QPainterPath band(const QPainterPath& path)
{
    QPainterPathStroker stroker;
    stroker.setWidth(2 * OutlineCheck::kTolerance);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path);
}

/// The corners of the first polygon of class "hull" in \a drawing, in the drawing's user units.
QPolygonF hullPolygon(const QString& drawing)
{
    QFile file(drawing);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("polygon"))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (!attributes.value(QLatin1String("class")).toString().split(QLatin1Char(' ')).contains(QLatin1String("hull")))
            continue;
        const QStringList numbers = attributes.value(QLatin1String("points"))
                                        .toString()
                                        .split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
        QPolygonF corners;
        for (int i = 0; i + 1 < numbers.size(); i += 2) {
            bool xOk = false;
            bool yOk = false;
            corners.append(QPointF(numbers[i].toDouble(&xOk), numbers[i + 1].toDouble(&yOk)));
            if (!xOk || !yOk)
                return {};
        }
        return corners.size() >= ShipData::kMinCorners ? corners : QPolygonF();
    }
    return {};
}

} // namespace

QPolygonF OutlineCheck::hullOf(const QString& drawing)
{
    QSvgRenderer renderer(drawing);
    if (!renderer.isValid())
        return {};
    // The deck scene shows the drawing at its default size from the origin, the view box stretched onto it.
    const QRectF extent(QPointF(0, 0), QSizeF(renderer.defaultSize()));
    const QPolygonF hull = hullPolygon(drawing);
    const QRectF box = renderer.viewBoxF();
    if (hull.isEmpty() || box.isEmpty())
        return QPolygonF(extent);
    QTransform toScene;
    toScene.scale(extent.width() / box.width(), extent.height() / box.height());
    toScene.translate(-box.x(), -box.y());
    return toScene.map(hull);
}

QString OutlineCheck::problem(quint64 compartment, const QPolygonF& outline, const QPolygonF& hull,
                              const QList<ShipData::Compartment>& deckCompartments)
{
    const QPainterPath drawn = pathOf(outline);
    if (!hull.isEmpty()) {
        const QPainterPath hullPath = pathOf(hull);
        if (!hullPath.united(band(hullPath)).contains(drawn))
            return tr("新轮廓超出了船体");
    }
    for (const ShipData::Compartment& other : deckCompartments) {
        if (other.id == compartment)
            continue;
        const QPainterPath neighbour = pathOf(other.outline);
        if (drawn.intersects(neighbour.subtracted(band(neighbour))))
            return tr("新轮廓与舱室 %1 重叠").arg(other.name);
    }
    return {};
}
