#include "snapshot_runner.h"

#include "deck_plan.h"
#include "incident_catalogue.h"
#include "ship.h"

#include "entity/deck.h"
#include "view/deck_scene.h"

#include <QDir>
#include <QImage>
#include <QPainter>

SnapshotRunner::SnapshotRunner(const Ship& ship, const QString& dir)
    : ship_(ship)
    , dir_(dir)
{
}

bool SnapshotRunner::writeAll(QString* error)
{
    if (!QDir().mkpath(dir_)) {
        *error = tr("无法创建目录 %1").arg(dir_);
        return false;
    }
    DeckScene scene;
    IncidentState incident(IncidentCatalogue::teamTypes(), IncidentCatalogue::boundaryIds(ship_));
    IncidentCatalogue::placeStations(ship_, incident);
    DeckPlan plan(&scene, ship_, incident);
    for (harq::Deck* deck : ship_.decks()) {
        plan.show(deck);
        const QRectF area = scene.sceneRect();
        QImage image(area.size().toSize(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene.render(&painter, QRectF(image.rect()), area);
        painter.end();
        const QString file = QDir(dir_).filePath(QStringLiteral("%1.png").arg(deck->id()));
        if (!image.save(file)) {
            *error = tr("无法写入图像 %1").arg(file);
            return false;
        }
    }
    return true;
}
