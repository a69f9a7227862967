#include "deck_page.h"

#include "entity/deck.h"
#include "maintenance/damage_boundary_layer.h"
#include "view/deck_scene.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsPolygonItem>
#include <QPen>

namespace {

const qreal kSensorMarkRadius = 3.0;
const QColor kOutlineColor(0x00, 0x80, 0xC0);
const QColor kSensorColor(0xE0, 0x80, 0x00);

QPen cosmeticPen(const QColor& colour)
{
    QPen pen(colour, 1.5);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

DeckPage::DeckPage(const ShipDocument::Deck& deck, const ShipDocument& document, QObject* parent)
    : QObject(parent)
    , deck_(deck)
    , model_(new harq::Deck(deck.id, this))
    , scene_(new DeckScene(this))
{
    model_->setName(deck.name);
    scene_->setDeck(deck.name, deck.drawing);
    for (const ShipDocument::Compartment& compartment : document.compartmentsOn(deck.id)) {
        QGraphicsPolygonItem* item = scene_->addPolygon(compartment.outline, cosmeticPen(kOutlineColor));
        item->setToolTip(compartment.name);
        outlines_.insert(compartment.id, item);
    }
    for (const ShipDocument::Sensor& sensor : document.sensorsOn(deck.id)) {
        QGraphicsEllipseItem* item = scene_->addEllipse(-kSensorMarkRadius, -kSensorMarkRadius,
                                                        2 * kSensorMarkRadius, 2 * kSensorMarkRadius,
                                                        cosmeticPen(kSensorColor), QBrush(kSensorColor));
        item->setPos(sensor.position);
        item->setToolTip(sensor.name);
        sensors_.insert(sensor.id, item);
    }
    // Added last so that boundary segments lie above the outlines they follow.
    layer_ = new DamageBoundaryLayer(model_);
    scene_->addItem(layer_);
}

DeckPage::~DeckPage()
{
    // The layer's boundaries point at the deck model: the scene goes first.
    delete scene_;
}

void DeckPage::moveSensor(quint64 sensor, QPointF position)
{
    if (QGraphicsEllipseItem* item = sensors_.value(sensor))
        item->setPos(position);
}

void DeckPage::setOutline(quint64 compartment, const QPolygonF& outline)
{
    if (QGraphicsPolygonItem* item = outlines_.value(compartment))
        item->setPolygon(outline);
}
