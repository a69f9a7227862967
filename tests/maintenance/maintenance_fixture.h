#pragma once

#include "maintenance/maintenance_command.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QGraphicsScene>
#include <QTemporaryDir>

#include <vector>

/// The host's side of the maintenance edition: styles loaded from a real Lua
/// file, a shown interactive view on a scene, and a command wired to the view
/// the way a host wires it. Tests connect the graphics they exercise.
class MaintenanceTest : public ::testing::Test
{
public:
    /// The scene point a click aimed at \a scene_pos really hits (whole pixels).
    QPointF landed(const QPointF& scene_pos) const;
    void click(const QPointF& scene_pos, Qt::MouseButton button = Qt::LeftButton);
    void doubleClick(const QPointF& scene_pos, Qt::MouseButton button = Qt::LeftButton);
    void pointAt(const QPointF& scene_pos);
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers);

protected:
    static constexpr qreal kIconWidth = 16.0;
    static constexpr qreal kIconOpacity = 0.5;
    static constexpr qreal kEditWidth = 6.0;
    static const QColor kEditColor;
    static const QColor kTraceColor;

    MaintenanceTest();
    void SetUp() override;

    /// Forgets the states announced so far.
    void clearStates() { states_.clear(); }

    QTemporaryDir dir_;
    QGraphicsScene scene_;
    DeckViewComplex view_;
    MaintenanceCommand command_;
    /// Every state the command announced, in order.
    std::vector<MaintenanceCommandState> states_;
};
