#pragma once

#include "ship_document.h"

#include <QHash>
#include <QObject>

class DamageBoundary;
class DamageBoundaryLayer;
class DeckScene;
class QGraphicsEllipseItem;
class QGraphicsPolygonItem;

namespace harq {
class Deck;
}

/// One deck as the maintainer sees it: the drawing in its own scene, the
/// compartments' outlines, a mark at each sensor's position, and the deck's
/// damage boundary layer. Each deck keeps its scene so that its boundaries stay
/// reachable while another deck is on show.
class DeckPage : public QObject
{
    Q_OBJECT

public:
    DeckPage(const ShipDocument::Deck& deck, const ShipDocument& document, QObject* parent = nullptr);
    ~DeckPage() override;

    const ShipDocument::Deck& deck() const { return deck_; }
    DeckScene* scene() const { return scene_; }
    DamageBoundaryLayer* layer() const { return layer_; }

    void moveSensor(quint64 sensor, QPointF position);
    void setOutline(quint64 compartment, const QPolygonF& outline);

private:
    ShipDocument::Deck deck_;
    harq::Deck* model_ = nullptr;
    DeckScene* scene_ = nullptr;
    DamageBoundaryLayer* layer_ = nullptr;
    QHash<quint64, QGraphicsPolygonItem*> outlines_;
    QHash<quint64, QGraphicsEllipseItem*> sensors_;
};
