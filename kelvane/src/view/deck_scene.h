#pragma once

#include "kelvane_export.h"

#include <QColor>
#include <QGraphicsScene>
#include <QPointer>
#include <QString>

#include <functional>

class DeckDrawing;
class EquipmentLayer;
class QGraphicsRectItem;
class QGraphicsSvgItem;

/// The scene on which one deck is shown: the deck drawing (an SVG file) with a
/// dotted frame, and the layers the host adds on top. Scene coordinates are the
/// drawing's user units, with the drawing at the origin.
///
/// The scene owns every item added to it until the next setDeck, which deletes
/// them all, layers included. The drawing and its frame sit at z-value 0 and
/// the library sets no z-values on layers, so layers added after setDeck stack
/// above the drawing in the order they are added.
///
/// In the maintenance edition the scene has no equipment layer.
class KELVANE_EXPORT DeckScene : public QGraphicsScene
{
    Q_OBJECT

public:
    /// Creates an empty scene, without a deck, with Qt parent \a parent (may be null).
    /// Its item index is a tree of fixed depth 8 (bspTreeDepth(); Qt's own
    /// choice, 0, grows with the item count), which keeps paints of scattered
    /// changes cheap on decks of thousands of items; a host may set another.
    explicit DeckScene(QObject* parent = nullptr);
    /// Deletes the scene together with every item in it.
    ~DeckScene() override;

    /// Deletes every item, emits resetScene(name), then shows the drawing in
    /// \a file. A missing or unrenderable file is replaced by a red one-line
    /// error text that keeps its size at every zoom. The scene rectangle is
    /// always the bounding rectangle of what was added. \a name is only passed
    /// on through resetScene; the scene does not keep it (DeckView does).
    /// Items added from a resetScene handler end up beneath the drawing unless
    /// they carry a higher z-value.
    void setDeck(const QString& name, const QString& file);

    /// Shows the deck drawing, and its frame, in other colours: every colour
    /// the SVG document names is drawn as \a map gives it (SvgColourMap), on
    /// the deck shown now and on every later one. An empty function (the
    /// default) shows the drawing as written. Only the drawing changes: the
    /// layers above it and the view's zoom stay as they are. The host's own
    /// layers take their colours from the host.
    void setDrawingColours(std::function<QColor(const QColor&)> map);

signals:
    /// A new deck is being set: the old items are gone, the new ones not yet added.
    /// Emitted once per setDeck with its \a deck name, also when the file is missing.
    /// The signature matches DeckView::changeDeck, so the two can be connected.
    void resetScene(QString deck);

private:
    QRectF addErrorText(const QString& message, const QString& file);
    QRectF addDrawing(QGraphicsSvgItem* drawing);
    /// Loads the drawing of file_ into \a drawing with the colours mapped.
    void recolour(DeckDrawing* drawing) const;

    std::function<QColor(const QColor&)> drawing_colours_;
    // The deck's file, drawing and frame; the items are owned by the scene
    // and go with the next setDeck.
    QString file_;
    QPointer<DeckDrawing> drawing_;
    QGraphicsRectItem* frame_ = nullptr;

    // What only one edition has.
#ifndef KELVANE_MAINTENANCE
public:
    /// The scene's equipment layer, created and added on first use; a new
    /// deck starts without one. The scene owns the layer; the pointer stays
    /// valid until the next setDeck or the scene's destruction. Edition with
    /// tags only.
    EquipmentLayer* getOrCreateEquipmentLayer();

private:
    // Owned by the scene as a top-level item, not through this pointer, which
    // turns null when the layer goes with the scene's items.
    QPointer<EquipmentLayer> equip_;
#endif
};
