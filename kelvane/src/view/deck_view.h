#pragma once

#include "kelvane_export.h"

#include <QGraphicsView>
#include <QString>

/// A view of a deck scene without scroll bars. It starts fitted to the scene
/// rectangle, zooms about a point within limits relative to that fitted scale,
/// moves its centre programmatically, and keeps the name of the deck shown.
class KELVANE_EXPORT DeckView : public QGraphicsView
{
    Q_OBJECT

public:
    explicit DeckView(QWidget* parent = nullptr);
    DeckView(QGraphicsScene* scene, QWidget* parent = nullptr);
    ~DeckView() override;

    /// Multiplies the scale by \a factor, clipped to the zoom limits, then
    /// centres on the scene point \a center. A step that would cross a limit
    /// stops on it; a step toward a limit already passed is ignored.
    void scaleScene(QPointF center, qreal factor);
    /// Shows the scene rectangle \a rc with the margin the minimum zoom limit leaves.
    void scaleSceneTo(const QRectF& rc);
    /// Fits the whole scene rectangle into the view.
    void fitDeck();
    const QString& deckName() const { return deck_; }
#ifndef KELVANE_MAINTENANCE
    /// The scene point at the widget's centre; the widget's centre itself without a scene.
    QPointF viewCenter() const;
#endif

signals:
    /// The pointer moved to the scene point \a pos.
    void trackingChanged(QPointF pos);
    /// scaleScene changed the scale to \a scale.
    void scaleChanged(double scale);
    /// Left double-click while the view switch is enabled.
    void switchView();
    /// changeDeck set the deck name \a deck.
    void deckChanged(QString deck);

public slots:
    /// Records the deck name (the translation of "NA" when empty), fits and announces it.
    void changeDeck(const QString& deck);

protected:
    /// Moves the view centre by the scene vector \a det.
    void moveCenter(const QPointF& det);
    /// The view's current horizontal scale.
    qreal scaleFactor() const;
    /// The scale at which \a rc fits into \a view.
    qreal perfectFactor(const QRect& view, const QRectF& rc) const;

    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    /// Enables switchView on a left double-click; nothing in the library sets it.
    bool shift_pressed_ = false;
    /// Zoom limits as multiples of the fitted scale.
    qreal min_factor_ = 1.0;
    qreal max_factor_ = 1.0;

private:
    QString deck_;
    /// The scale as last measured or set by scaleScene.
    qreal factor_ = 1.0;
};
