#pragma once
// The deck view fixture shared by the tests of both editions and those of one edition only.
#include "view/deck_scene.h"
#include "view/deck_view.h"

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QString>
#include <QTest>

namespace deck_view_test {

// Reaches the protected measuring operations and the view switch, and keeps
// the regions its viewport painted.
class ProbeView : public DeckView
{
public:
    QList<QRegion> painted;

    using DeckView::DeckView;
    using DeckView::moveCenter;
    using DeckView::perfectFactor;
    using DeckView::scaleFactor;
    qreal fitted() const { return perfectFactor(rect(), sceneRect()); }
    QPointF centre() const { return mapToScene(viewport()->rect().center()); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        painted.append(event->region());
        DeckView::paintEvent(event);
    }
};

inline QString deckFile()
{
    return QStringLiteral(KELVANE_VIEW_TEST_DATA "/deck.svg");
}

} // namespace deck_view_test

class DeckViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        scene.setDeck("A", deck_view_test::deckFile());
        view.resize(600, 400);
        // Qt 6 counts a window shown under the pointer (offscreen, at the screen's
        // origin) as hovered, and the view then zooms about the pointer: keep clear of it.
        view.move(50, 50);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.changeDeck("A");
    }

    DeckScene scene;
    deck_view_test::ProbeView view{&scene};
};

