#pragma once
// The deck view fixture shared by the tests of both editions and those of one edition only.
#include "view/deck_scene.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGraphicsSceneContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

// For the spies on the event signals.
Q_DECLARE_METATYPE(QMouseEvent*)
Q_DECLARE_METATYPE(QKeyEvent*)
Q_DECLARE_METATYPE(QContextMenuEvent*)

namespace deck_view_complex_test {

class ProbeView : public DeckViewComplex
{
public:
    using DeckViewComplex::DeckViewComplex;
    using DeckView::scaleFactor;
    qreal minLimit() const { return min_factor_; }
    qreal maxLimit() const { return max_factor_; }
    qreal fitted() const { return perfectFactor(rect(), sceneRect()); }
    // The pixel centerOn() aims at.
    QPointF centre() const { return mapToScene(QPoint(viewport()->width() / 2, viewport()->height() / 2)); }
    Qt::CursorShape cursorShape() const { return viewport()->cursor().shape(); }
};

// Counts the context-menu requests that reach the scene.
class MenuScene : public DeckScene
{
public:
    int menus = 0;

protected:
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override
    {
        ++menus;
        event->accept();
    }
};

} // namespace deck_view_complex_test

class DeckViewComplexTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        qRegisterMetaType<QMouseEvent*>();
        qRegisterMetaType<QKeyEvent*>();
        qRegisterMetaType<QContextMenuEvent*>();
    }

    void SetUp() override
    {
        scene.setDeck("A", QStringLiteral(KELVANE_VIEW_TEST_DATA "/deck.svg"));
        view.resize(600, 400);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.changeDeck("A");
        fitted = view.scaleFactor();
    }

    // Key events as the window system reports them: a modifier key's own press
    // comes without its modifier, its release with it.
    void key(QEvent::Type type, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(type, code, modifiers);
        QApplication::sendEvent(&view, &event);
    }

    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* viewport = view.viewport();
        QMouseEvent event(type, pos, viewport->mapToGlobal(pos), button, buttons, modifiers);
        QApplication::sendEvent(viewport, &event);
    }

    void wheel(QPoint angleDelta, QPoint pos = QPoint(300, 200))
    {
        QWidget* viewport = view.viewport();
        QWheelEvent event(pos, viewport->mapToGlobal(pos), QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }

    QPointF sceneAt(QPoint pixel) const { return view.mapToScene(pixel); }

    deck_view_complex_test::MenuScene scene;
    deck_view_complex_test::ProbeView view{&scene};
    qreal fitted = 0;
};

