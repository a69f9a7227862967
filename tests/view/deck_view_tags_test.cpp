// Deck view cases of the edition with tags only.
#include "deck_view_fixture.h"
#include "view/deck_view.h"

#include <gtest/gtest.h>

#include <QPointF>

TEST_F(DeckViewTest, ViewCenterIsTheWidgetCentre)
{
    DeckView bare;
    bare.resize(301, 201);
    EXPECT_EQ(bare.viewCenter(), QPointF(150, 100)); // no scene: widget coordinates

    const QPointF centre = view.viewCenter();
    EXPECT_NEAR(centre.x(), 200, 1);
    EXPECT_NEAR(centre.y(), 100, 1);
}
