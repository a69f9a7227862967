// Complex deck view cases of the maintenance edition only: the command cursor, menus to the scene.
#include "deck_view_complex_fixture.h"
#include "maintenance/maintenance_command_state.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QEvent>

TEST_F(DeckViewComplexTest, CommandHoldsThePointerAndOwnsTheCursor)
{
    QEvent leave(QEvent::Leave);
    const auto leaveAt = [&](QPoint outside) {
        QCursor::setPos(view.mapToGlobal(outside));
        QApplication::sendEvent(&view, &leave);
        return view.mapFromGlobal(QCursor::pos());
    };

    view.onMaintenanceStateChanged(PATH);
    EXPECT_EQ(view.cursorShape(), Qt::CrossCursor);
    key(QEvent::KeyPress, Qt::Key_Control);
    EXPECT_EQ(view.cursorShape(), Qt::CrossCursor);
    key(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);

    const int w = view.width();
    const int h = view.height();
    EXPECT_EQ(leaveAt(QPoint(w + 3, 50)), QPoint(w - 1, 50));
    EXPECT_EQ(leaveAt(QPoint(40, -2)), QPoint(40, 1));
    // Over a corner both coordinates are brought back.
    EXPECT_EQ(leaveAt(QPoint(-5, h + 7)), QPoint(1, h - 1));

    view.onMaintenanceStateChanged(IDLE);
    EXPECT_EQ(view.cursorShape(), Qt::ArrowCursor);
    EXPECT_EQ(leaveAt(QPoint(w + 3, 50)), QPoint(w + 3, 50));
}

TEST_F(DeckViewComplexTest, ContextMenuGoesToTheScene)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50), view.viewport()->mapToGlobal(QPoint(50, 50)));
    QApplication::sendEvent(view.viewport(), &event);
    EXPECT_EQ(scene.menus, 1);
}
