#pragma once

#include "kelvane_export.h"

#include <QGraphicsScene>
#ifndef KELVANE_MAINTENANCE
#include <QPointer>
#endif
#include <QString>

class QGraphicsSvgItem;
#ifndef KELVANE_MAINTENANCE
class EquipmentLayer;
#endif

/// The scene on which one deck is shown: the deck drawing (an SVG file) with a
/// dotted frame, and the layers the host adds on top. Scene coordinates are the
/// drawing's user units, with the drawing at the origin.
class KELVANE_EXPORT DeckScene : public QGraphicsScene
{
    Q_OBJECT

public:
    explicit DeckScene(QObject* parent = nullptr);
    ~DeckScene() override;

    /// Deletes every item, emits resetScene(name), then shows the drawing in
    /// \a file. A missing or unrenderable file is replaced by a red one-line
    /// error text that keeps its size at every zoom. The scene rectangle is
    /// always the bounding rectangle of what was added.
    void setDeck(const QString& name, const QString& file);
#ifndef KELVANE_MAINTENANCE
    /// The scene's equipment layer, created and added on first use; a new
    /// deck starts without one.
    EquipmentLayer* getOrCreateEquipmentLayer();
#endif

signals:
    /// A new deck is being set: the old items are gone, the new ones not yet added.
    void resetScene(QString deck);

private:
    QRectF addErrorText(const QString& message, const QString& file);
    QRectF addDrawing(QGraphicsSvgItem* drawing);
#ifndef KELVANE_MAINTENANCE

    // Owned by the scene as a top-level item, not through this pointer, which
    // turns null when the layer goes with the scene's items.
    QPointer<EquipmentLayer> equip_;
#endif
};
