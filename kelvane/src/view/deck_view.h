#pragma once

#include "kelvane_export.h"

#include <QGraphicsView>
#include <QString>

/// A view of a deck scene without scroll bars. It starts fitted to the scene
/// rectangle, zooms about a point within limits relative to that fitted scale,
/// moves its centre programmatically, and keeps the name of the deck shown.
///
/// The scene is borrowed (QGraphicsView does not own it). Every resize and every
/// changeDeck refit the scene and drop any zoom. The zoom limits start at 1.0 and
/// 1.0, so a plain DeckView can only zoom to the fitted scale; DeckViewComplex
/// widens them. In the maintenance edition the view has no viewCenter.
///
/// Repaints of many small rectangles (hundreds of blinking sensors) also
/// repaint the viewport's one-pixel left column, to the same pixels: Qt's
/// raster engine then clips fills by lookups instead of walks. For this the
/// view filters (and lets through) its window's events.
class KELVANE_EXPORT DeckView : public QGraphicsView
{
    Q_OBJECT

public:
    /// Creates a view without a scene, deck name "NA" (translated), no scroll
    /// bars, mouse tracking on and zooming anchored under the mouse.
    explicit DeckView(QWidget* parent = nullptr);
    /// As above, then shows \a scene (borrowed, may be null).
    DeckView(QGraphicsScene* scene, QWidget* parent = nullptr);
    ~DeckView() override;

    /// Multiplies the scale by \a factor, clipped to the zoom limits, then
    /// centres on the scene point \a center. A step that would cross a limit
    /// stops on it; a step toward a limit already passed is ignored. The limits
    /// are taken from the widget and scene sizes at the time of the call.
    /// Emits scaleChanged with the new scale when the scale changed. Does nothing
    /// without a scene, for a \a factor of 1, and for a \a factor or scene
    /// rectangle that is zero, negative or not finite.
    void scaleScene(QPointF center, qreal factor);
    /// Shows the scene rectangle \a rc with the margin the minimum zoom limit leaves.
    /// The margin, (width / min_factor_ - width) / 2 on every side, is derived
    /// from the width alone (negative, so a tighter view, when the minimum limit
    /// is above 1). The aspect ratio is kept. Does not emit scaleChanged.
    void scaleSceneTo(const QRectF& rc);
    /// Fits the whole scene rectangle into the view, keeping the aspect ratio.
    /// Does nothing without a scene; does not emit scaleChanged.
    void fitDeck();
    /// Name of the deck shown, as last set by changeDeck; "NA" (translated) before.
    const QString& deckName() const { return deck_; }

signals:
    /// The pointer moved to the scene point \a pos. Emitted on every move by DeckViewComplex; DeckView itself never emits it.
    void trackingChanged(QPointF pos);
    /// scaleScene changed the scale to \a scale, the view's new scale factor (view pixels per scene unit).
    void scaleChanged(double scale);
    /// Left double-click while the view switch (shift_pressed_) is enabled; emitted before the double-click is handed on.
    void switchView();
    /// changeDeck set the deck name \a deck ("NA", translated, for an empty name); the view has already been refitted.
    void deckChanged(QString deck);

public slots:
    /// Records the deck name (the translation of "NA" when empty), fits and announces it.
    /// Fits the scene as it is, so call it after DeckScene::setDeck: connected to
    /// DeckScene::resetScene it runs before the new drawing sets the scene
    /// rectangle and fits the previous one. Emits deckChanged.
    void changeDeck(const QString& deck);

protected:
    /// Moves the view centre by the scene vector \a det, rounded to whole view
    /// pixels. The move is limited by the scene rectangle, so at the fitted
    /// scale the view may not move at all.
    void moveCenter(const QPointF& det);
    /// The view's current horizontal scale, in view pixels per scene unit.
    qreal scaleFactor() const;
    /// The scale at which \a rc fits into \a view: the smaller of the width and
    /// height ratios. A zero side of \a rc gives an infinite ratio that the
    /// other side's ratio undercuts; with both sides zero the result is not finite.
    qreal perfectFactor(const QRect& view, const QRectF& rc) const;

    /// Emits switchView for a left double-click while shift_pressed_ is set,
    /// then hands \a event to QGraphicsView.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    /// Refits the scene (dropping any zoom), then hands \a event to QGraphicsView.
    void resizeEvent(QResizeEvent* event) override;

    /// Enables switchView on a left double-click; nothing in the library sets it.
    bool shift_pressed_ = false;
    /// Lower zoom limit as a multiple of the fitted scale; also sets scaleSceneTo's margin.
    qreal min_factor_ = 1.0;
    /// Upper zoom limit as a multiple of the fitted scale.
    qreal max_factor_ = 1.0;

private:
    QString deck_;
    /// The scale as last measured or set by scaleScene.
    qreal factor_ = 1.0;

    // What only one edition has.
#ifndef KELVANE_MAINTENANCE
public:
    /// The scene point at the widget's centre; the widget's centre itself without a scene.
    QPointF viewCenter() const;
#endif
};
