#include "maintenance_fixture.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>

#include <functional>

using States = std::vector<MaintenanceCommandState>;

TEST(MaintenanceCommandState, TransientStatesAreFollowedByIdle)
{
    MaintenanceCommand command;
    States states;
    QObject::connect(&command, &MaintenanceCommand::stateChanged,
                     [&](MaintenanceCommandState state) { states.push_back(state); });

    command.setState(CONFIRM);
    command.setState(COMPLETE_PARTIALLY);
    EXPECT_EQ(states, (States{CONFIRM, IDLE, COMPLETE_PARTIALLY, IDLE}));
    EXPECT_EQ(command.state(), IDLE);

    states.clear();
    command.onPath();
    command.onPath();
    command.onPositioning();
    EXPECT_EQ(states, (States{PATH, PATH, POSITIONING}));
    EXPECT_EQ(command.state(), POSITIONING);

    states.clear();
    command.onMousePressEvent(nullptr);
    command.onMouseDoubleClickEvent(nullptr);
    command.onKeyPressEvent(nullptr);
    EXPECT_TRUE(states.empty());
}

namespace {

struct Transition {
    const char* name;
    MaintenanceCommandState before;
    std::function<void(MaintenanceTest*)> input;
    States announced;
};

} // namespace

class MaintenanceCommandInput : public MaintenanceTest
{
protected:
    void expectTransition(const Transition& transition)
    {
        SCOPED_TRACE(transition.name);
        command_.setState(transition.before);
        clearStates();
        transition.input(this);
        EXPECT_EQ(states_, transition.announced);
    }

    const QPointF spot_{200, 150};
};

TEST_F(MaintenanceCommandInput, ButtonsAndKeysMoveThroughTheStates)
{
    const QPointF spot = spot_;
    const auto left = [spot](MaintenanceTest* t) { t->click(spot); };
    const auto right = [spot](MaintenanceTest* t) { t->click(spot, Qt::RightButton); };
    const auto middle = [spot](MaintenanceTest* t) { t->click(spot, Qt::MiddleButton); };
    // A real double click: press, release, double click, release.
    const auto left_double = [spot](MaintenanceTest* t) { t->doubleClick(spot); };
    const auto right_double = [spot](MaintenanceTest* t) { t->doubleClick(spot, Qt::RightButton); };

    const Transition table[] = {
        {"left in idle", IDLE, left, {}},
        {"right in idle", IDLE, right, {IDLE}},
        {"middle in idle", IDLE, middle, {}},
        {"left positioning", POSITIONING, left, {CONFIRM, IDLE}},
        {"right positioning", POSITIONING, right, {IDLE}},
        {"left path", PATH, left, {NEXT_POINT}},
        {"right path", PATH, right, {IDLE}},
        {"left next point", NEXT_POINT, left, {NEXT_POINT}},
        {"right next point", NEXT_POINT, right, {COMPLETE_PARTIALLY, IDLE}},
        {"middle next point", NEXT_POINT, middle, {}},
        {"double click path", PATH, left_double, {NEXT_POINT, CONFIRM, IDLE}},
        {"double click positioning", POSITIONING, left_double, {CONFIRM, IDLE}},
        {"right double click next point", NEXT_POINT, right_double, {COMPLETE_PARTIALLY, IDLE}},
    };
    for (const Transition& transition : table)
        expectTransition(transition);
}

TEST_F(MaintenanceCommandInput, OnlyShiftEscapeCancelsFromEveryState)
{
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m) {
        return [k, m](MaintenanceTest* t) { t->pressKey(k, m); };
    };
    for (MaintenanceCommandState state : {IDLE, POSITIONING, PATH, NEXT_POINT}) {
        expectTransition({"shift escape", state, key(Qt::Key_Escape, Qt::ShiftModifier), {IDLE}});
        expectTransition({"escape", state, key(Qt::Key_Escape, Qt::NoModifier), {}});
        expectTransition(
            {"ctrl shift escape", state, key(Qt::Key_Escape, Qt::ShiftModifier | Qt::ControlModifier), {}});
        expectTransition({"shift a", state, key(Qt::Key_A, Qt::ShiftModifier), {}});
    }
}

TEST_F(MaintenanceCommandInput, TheViewFollowsTheStates)
{
    const auto cursor = [this] { return view_.viewport()->cursor().shape(); };

    command_.onPositioning();
    EXPECT_EQ(cursor(), Qt::ClosedHandCursor);
    // The cursor shape belongs to the command: Ctrl no longer switches it.
    QTest::keyPress(&view_, Qt::Key_Control);
    EXPECT_EQ(cursor(), Qt::ClosedHandCursor);
    QTest::keyRelease(&view_, Qt::Key_Control, Qt::ControlModifier);

    command_.onPath();
    EXPECT_EQ(cursor(), Qt::CrossCursor);
    click(spot_);
    EXPECT_EQ(command_.state(), NEXT_POINT);
    EXPECT_EQ(cursor(), Qt::CrossCursor);

    pressKey(Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(cursor(), Qt::ArrowCursor);
    QTest::keyPress(&view_, Qt::Key_Control);
    EXPECT_EQ(cursor(), Qt::OpenHandCursor);
    QTest::keyRelease(&view_, Qt::Key_Control, Qt::ControlModifier);

    command_.setState(CONFIRM);
    EXPECT_EQ(cursor(), Qt::ArrowCursor);
}

TEST_F(MaintenanceCommandInput, CommandingKeepsThePointerInsideTheView)
{
    const QPoint outside = view_.mapToGlobal(QPoint(view_.width() + 40, 120));
    const auto leave = [this, outside] {
        QCursor::setPos(outside);
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&view_, &event);
        return view_.mapFromGlobal(QCursor::pos());
    };

    command_.onPath();
    const QPoint held = leave();
    EXPECT_TRUE(view_.rect().contains(held)) << held.x() << "," << held.y();

    command_.setState(IDLE);
    EXPECT_EQ(view_.mapToGlobal(leave()), outside);
}

namespace {

/// Records the reason of the last focus a widget received.
class FocusProbe : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            reason = static_cast<QFocusEvent*>(event)->reason();
        return QObject::eventFilter(watched, event);
    }

    Qt::FocusReason reason = Qt::NoFocusReason;
};

} // namespace

TEST_F(MaintenanceCommandInput, DrawingTasksTakeTheKeyboardFocus)
{
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* view = new DeckViewComplex(&scene_, &window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(view);
    QObject::connect(&command_, &MaintenanceCommand::stateChanged, view,
                     &DeckViewComplex::onMaintenanceStateChanged);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    FocusProbe probe;
    view->installEventFilter(&probe);

    for (MaintenanceCommandState state : {POSITIONING, PATH, NEXT_POINT}) {
        edit->setFocus();
        ASSERT_TRUE(edit->hasFocus());
        probe.reason = Qt::NoFocusReason;
        command_.setState(state);
        EXPECT_TRUE(view->hasFocus()) << state;
        EXPECT_EQ(probe.reason, Qt::OtherFocusReason) << state;
    }

    edit->setFocus();
    command_.setState(IDLE);
    EXPECT_TRUE(edit->hasFocus());
}
