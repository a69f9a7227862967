#pragma once

#include "kelvane_export.h"

#include <QGraphicsScene>
#include <QString>

class QGraphicsSvgItem;

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

signals:
    /// A new deck is being set: the old items are gone, the new ones not yet added.
    void resetScene(QString deck);

private:
    QRectF addErrorText(const QString& message, const QString& file);
    QRectF addDrawing(QGraphicsSvgItem* drawing);
};
