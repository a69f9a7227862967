#include "maintainer_test_files.h"

#include "deck_page.h"
#include "maintainer_window.h"
#include "ship_document.h"

#include "entity/deck.h"
#include "graphics/boundary_line.h"
#include "graphics/damage_boundary.h"
#include "maintenance/damage_boundary_layer.h"
#include "view/deck_view_complex.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGraphicsPathItem>
#include <QJsonArray>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

#include <functional>
#include <memory>

using namespace maintainertest;

namespace {

QJsonArray outlineJson(const QPolygonF& outline)
{
    QJsonArray out;
    for (const QPointF& point : outline)
        out.append(QJsonArray{point.x(), point.y()});
    return out;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

/// The maintainer's window on a copy of the sample ship, driven by mouse and keys.
class MaintainerWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ship_ = copySampleShip(dir_);
        original_ = readJson(ship_);
        ASSERT_FALSE(original_.isEmpty());
        loadSampleStyles();
        ASSERT_TRUE(document_.load(ship_)) << qPrintable(document_.error());
        output_ = dir_.filePath(QStringLiteral("out.json"));
    }

    void open(const QString& output, bool backup)
    {
        window_ = std::make_unique<MaintainerWindow>(&document_, output, backup);
        window_->resize(1200, 800);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    DeckViewComplex* view() const { return window_->view(); }

    /// Where a click at \a scene_pos lands in the document: on its pixel, kept to the file's decimals.
    QPointF landed(const QPointF& scene_pos) const
    {
        return ShipDocument::rounded(view()->mapToScene(view()->mapFromScene(scene_pos)));
    }

    QPolygonF landed(const QPolygonF& points) const
    {
        QPolygonF out;
        for (const QPointF& point : points)
            out.append(landed(point));
        return out;
    }

    void pointAt(const QPointF& scene_pos) { QTest::mouseMove(view()->viewport(), view()->mapFromScene(scene_pos)); }

    void click(const QPointF& scene_pos)
    {
        pointAt(scene_pos);
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, view()->mapFromScene(scene_pos));
    }

    /// Clicks all corners but the last, then double-clicks the last one.
    void draw(const QPolygonF& corners)
    {
        for (int i = 0; i + 1 < corners.size(); ++i)
            click(corners[i]);
        pointAt(corners.back());
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, view()->mapFromScene(corners.back()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void pressTool(const char* name)
    {
        auto* bar = window_->findChild<QToolBar*>(QStringLiteral("tools"));
        auto* action = window_->findChild<QAction*>(QLatin1String(name));
        ASSERT_TRUE(bar && action) << name;
        QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
    }

    void choose(const char* list_name, quint64 id)
    {
        auto* list = window_->findChild<QListWidget*>(QLatin1String(list_name));
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            if (item->data(Qt::UserRole).toULongLong() != id)
                continue;
            list->scrollToItem(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
            ASSERT_EQ(list->currentItem(), item);
            return;
        }
        FAIL() << "no entry " << id << " in " << list_name;
    }

    void chooseDeck(int index)
    {
        auto* decks = window_->findChild<QComboBox*>(QStringLiteral("decks"));
        while (decks->currentIndex() < index)
            QTest::keyClick(decks, Qt::Key_Down);
        ASSERT_EQ(window_->currentPage()->deck().id, document_.decks()[index].id);
    }

    /// The first compartment of \a deck other than \a others.
    ShipDocument::Compartment compartmentOn(quint64 deck, QList<quint64> others) const
    {
        for (const ShipDocument::Compartment& compartment : document_.compartmentsOn(deck)) {
            if (!others.contains(compartment.id))
                return compartment;
        }
        return {};
    }

    QTemporaryDir dir_;
    QString ship_;
    QString output_;
    QJsonObject original_;
    ShipDocument document_;
    std::unique_ptr<MaintainerWindow> window_;
};

TEST_F(MaintainerWindowTest, PlaceRedrawCreateCopyAndSave)
{
    open(output_, false);
    chooseDeck(1);
    const quint64 deck = document_.decks()[1].id;
    const quint64 above = document_.decks()[2].id;
    DamageBoundaryLayer* layer = window_->currentPage()->layer();
    const int boundaries_before = layer->boundaries().size();

    // Move a sensor within its compartment.
    const ShipDocument::Sensor sensor = document_.sensorsOn(deck).first();
    ShipDocument::Compartment own;
    for (const ShipDocument::Compartment& compartment : document_.compartmentsOn(deck)) {
        if (compartment.id == sensor.compartment)
            own = compartment;
    }
    const QPointF target = landed(own.outline.boundingRect().center());
    ASSERT_TRUE(own.outline.containsPoint(target, Qt::OddEvenFill));
    ASSERT_NE(target, sensor.position);
    choose("sensors", sensor.id);
    pressTool("placeSensor");
    pointAt(target + QPointF(20, 20));
    click(target);

    // Redraw another compartment from its second corner on, snapped, so that it
    // keeps clear of its neighbours and what it holds stays inside.
    const ShipDocument::Compartment redrawn = compartmentOn(deck, {sensor.compartment});
    const ShipDocument::Compartment untouched = compartmentOn(deck, {sensor.compartment, redrawn.id});
    const QPolygonF outline = redrawn.outline.mid(1) << redrawn.outline.first();
    window_->findChild<QAction*>(QStringLiteral("snapToCorners"))->setChecked(true);
    choose("compartments", redrawn.id);
    pressTool("redrawCompartment");
    draw(outline);
    window_->findChild<QAction*>(QStringLiteral("snapToCorners"))->setChecked(false);

    // A fire boundary, chosen on the plan and copied to the deck above.
    const QPointF centre = view()->sceneRect().center();
    const QPolygonF boundary = landed(QPolygonF(
        {centre + QPointF(-80, -40), centre + QPointF(70, -45), centre + QPointF(75, 35), centre + QPointF(-70, 40)}));
    pressTool("newFireBoundary");
    draw(boundary);
    ASSERT_EQ(layer->boundaries().size(), boundaries_before + 1);
    DamageBoundary* master = layer->boundaries().back();
    EXPECT_EQ(master->boundaryPath(), boundary);
    click(master->lines().at(1)->line().center());
    ASSERT_EQ(window_->chosenBoundary(), master);
    pressTool("copyUp");
    DamageBoundaryLayer* upper = window_->findChildren<DeckPage*>().at(2)->layer();
    ASSERT_EQ(upper->deck()->id(), above);
    ASSERT_EQ(upper->boundaries().back()->master(), master);

    pressTool("save");
    const QJsonObject saved = readJson(output_);
    ASSERT_FALSE(saved.isEmpty());
    EXPECT_EQ(entry(saved, "sensors", sensor.id).value("position").toArray(), (QJsonArray{target.x(), target.y()}));
    EXPECT_EQ(entry(saved, "sensors", sensor.id).value("compartment").toDouble(), sensor.compartment);
    EXPECT_EQ(entry(saved, "compartments", redrawn.id).value("outline").toArray(), outlineJson(outline));
    EXPECT_EQ(entry(saved, "compartments", untouched.id), entry(original_, "compartments", untouched.id));

    const QJsonArray boundaries = saved.value("boundaries").toArray();
    const QJsonArray original_boundaries = original_.value("boundaries").toArray();
    ASSERT_EQ(boundaries.size(), original_boundaries.size() + 1);
    for (const QJsonValue& old : original_boundaries)
        EXPECT_TRUE(boundaries.contains(old)) << "a boundary nobody touched is kept as it was";
    QJsonObject added;
    for (const QJsonValue& value : boundaries) {
        if (!original_boundaries.contains(value))
            added = value.toObject();
    }
    EXPECT_EQ(added.value("type").toString(), QStringLiteral("fire"));
    EXPECT_EQ(added.value("deck").toDouble(), deck);
    EXPECT_EQ(added.value("outline").toArray(), outlineJson(boundary));
    EXPECT_EQ(added.value("copies").toArray(), (QJsonArray{static_cast<double>(above)}));
    EXPECT_EQ(entry(original_, "boundaries", added.value("id").toDouble()), QJsonObject()) << "a fresh id";

    for (const char* kept : {"name", "format", "decks", "equipment", "equipment_classifiers", "teams"})
        EXPECT_EQ(saved.value(kept), original_.value(kept)) << kept;
    EXPECT_EQ(readJson(ship_), original_) << "the input stays as it was when another output is given";

    // The saved file opens again with the same edits.
    ShipDocument reread;
    ASSERT_TRUE(reread.load(output_)) << qPrintable(reread.error());
    EXPECT_EQ(reread.boundaries().back().outline, boundary);
}

TEST_F(MaintainerWindowTest, RefusedEditsLeaveTheFileAsItWas)
{
    open(output_, false);
    const quint64 deck = document_.decks()[0].id;
    const ShipDocument::Sensor sensor = document_.sensorsOn(deck).first();
    const QPointF outside = landed(view()->sceneRect().topLeft() + QPointF(3, 3));
    ASSERT_EQ(document_.compartmentAt(deck, outside), 0U);
    choose("sensors", sensor.id);
    pressTool("placeSensor");
    click(outside);

    // An abandoned redrawing keeps the old outline, and its drawing takes no part in the next task.
    const QPointF centre = view()->sceneRect().center();
    const QPolygonF boundary =
        landed(QPolygonF({centre + QPointF(-60, -30), centre + QPointF(60, -30), centre + QPointF(0, 40)}));
    pressTool("newSmokeBoundary");
    draw(boundary);
    DamageBoundaryLayer* layer = window_->currentPage()->layer();
    DamageBoundary* master = layer->boundaries().back();
    click(master->lines().at(0)->line().center());
    pressTool("redrawBoundary");
    EXPECT_TRUE(master->lines().isEmpty());
    click(centre);
    QTest::keyClick(view(), Qt::Key_Escape, Qt::ShiftModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(master->boundaryPath(), boundary);
    const QPolygonF second = landed(
        QPolygonF({centre + QPointF(-90, 50), centre + QPointF(90, 50), centre + QPointF(90, 90), centre + QPointF(-90, 90)}));
    pressTool("newFireBoundary");
    draw(second);
    EXPECT_EQ(master->boundaryPath(), boundary);
    EXPECT_EQ(layer->boundaries().back()->boundaryPath(), second);

    // A redrawing confirmed with too few points keeps the old outline too.
    click(master->lines().at(1)->line().center());
    ASSERT_EQ(window_->chosenBoundary(), master);
    pressTool("redrawBoundary");
    draw(QPolygonF({landed(centre)}));
    EXPECT_EQ(master->boundaryPath(), boundary);

    ASSERT_TRUE(window_->save());
    const QJsonObject saved = readJson(output_);
    EXPECT_EQ(entry(saved, "sensors", sensor.id), entry(original_, "sensors", sensor.id));
    const QJsonArray boundaries = saved.value("boundaries").toArray();
    ASSERT_EQ(boundaries.size(), original_.value("boundaries").toArray().size() + 2);
    EXPECT_EQ(boundaries.at(boundaries.size() - 2).toObject().value("type").toString(), QStringLiteral("smoke"));
    EXPECT_EQ(boundaries.last().toObject().value("outline").toArray(), outlineJson(second));
}

TEST_F(MaintainerWindowTest, OverwritingKeepsTheFileAsItWasBeforeTheSession)
{
    const QByteArray before = contents(ship_);
    open(ship_, true);
    const QPointF centre = view()->sceneRect().center();
    pressTool("newFireBoundary");
    draw(landed(QPolygonF({centre + QPointF(-60, -30), centre + QPointF(60, -30), centre + QPointF(0, 40)})));
    ASSERT_TRUE(window_->save());
    ASSERT_TRUE(window_->save());
    EXPECT_EQ(contents(ship_ + QStringLiteral(".bak")), before);
    const QJsonObject saved = readJson(ship_);
    EXPECT_EQ(saved.value("boundaries").toArray().size(), original_.value("boundaries").toArray().size() + 1);
    // Saving twice does not add the new boundary twice nor give it a second id.
    ShipDocument reread;
    ASSERT_TRUE(reread.load(ship_));
    EXPECT_EQ(reread.boundaries().size(), document_.boundaries().size());
}

TEST_F(MaintainerWindowTest, ClosingWithEditsNotSavedAsksFirst)
{
    open(output_, false);
    EXPECT_FALSE(window_->isModified());
    const QPointF centre = view()->sceneRect().center();
    pressTool("newFireBoundary");
    draw(landed(QPolygonF({centre + QPointF(-60, -30), centre + QPointF(60, -30), centre + QPointF(0, 40)})));
    EXPECT_TRUE(window_->isModified());

    // The question is answered with a click once its dialog runs.
    const auto answer = [](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QTest::mouseClick(box->button(button), Qt::LeftButton);
        });
    };
    answer(QMessageBox::Cancel);
    EXPECT_FALSE(window_->close());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_FALSE(QFile::exists(output_));

    answer(QMessageBox::Save);
    EXPECT_TRUE(window_->close());
    EXPECT_EQ(readJson(output_).value("boundaries").toArray().size(),
              original_.value("boundaries").toArray().size() + 1);
    EXPECT_FALSE(window_->isModified());
}

TEST_F(MaintainerWindowTest, RemovingABoundaryTakesItsCopiesOnOtherDecksAlong)
{
    open(output_, false);
    const ShipDocument::Boundary first = document_.boundaries().first();
    ASSERT_FALSE(first.copies.isEmpty());
    int index = 0;
    while (document_.decks()[index].id != first.deck)
        ++index;
    chooseDeck(index);
    DamageBoundary* master = window_->currentPage()->layer()->boundaries().first();
    ASSERT_EQ(master->boundaryPath(), first.outline);

    click(master->lines().at(2)->line().center());
    ASSERT_EQ(window_->chosenBoundary(), master);
    pressTool("removeBoundary");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window_->chosenBoundary(), nullptr);
    for (const DeckPage* page : window_->findChildren<DeckPage*>()) {
        for (const DamageBoundary* boundary : page->layer()->boundaries())
            EXPECT_NE(boundary->master(), master) << "a copy left on " << page->deck().id;
    }

    ASSERT_TRUE(window_->save());
    const QJsonObject saved = readJson(output_);
    EXPECT_EQ(entry(saved, "boundaries", first.id), QJsonObject());
    EXPECT_EQ(saved.value("boundaries").toArray().size(), original_.value("boundaries").toArray().size() - 1);
}

TEST_F(MaintainerWindowTest, CopyingAgainRefreshesTheCopyAndTheLowestDeckHasNothingBelow)
{
    open(output_, false);
    const ShipDocument::Deck lowest = document_.decks().first();
    ShipDocument::Boundary low;
    for (const ShipDocument::Boundary& boundary : document_.boundaries()) {
        if (boundary.deck == lowest.id)
            low = boundary;
    }
    ASSERT_NE(low.id, 0U) << "the sample ship has a boundary on its lowest deck";
    DamageBoundary* master = window_->currentPage()->layer()->boundaries().first();

    click(master->lines().at(0)->line().center());
    ASSERT_EQ(window_->chosenBoundary(), master);
    pressTool("copyDown");
    EXPECT_EQ(window_->statusBar()->currentMessage(), QStringLiteral("下方没有甲板"));
    pressTool("copyUp");
    pressTool("copyUp");

    ASSERT_TRUE(window_->save());
    EXPECT_EQ(entry(readJson(output_), "boundaries", low.id), entry(original_, "boundaries", low.id));
}

// The drawing help: a hint for the task in a status bar there from the start,
// the pointer's coordinates, codes beside names, a halo on the chosen boundary,
// and corners drawn near compartment corners landing on them when snapping is on.
TEST_F(MaintainerWindowTest, DrawingHelpHintsFollowsThePointerAndSnapsToCorners)
{
    open(output_, false);
    const auto* hint = window_->statusBar()->findChild<QLabel*>(QStringLiteral("hint"));
    const auto* position = window_->statusBar()->findChild<QLabel*>(QStringLiteral("position"));
    ASSERT_TRUE(hint && position);
    const QString idle = hint->text();
    EXPECT_FALSE(idle.isEmpty());

    const quint64 deck = document_.decks().first().id;
    const auto* sensors = window_->findChild<QListWidget*>(QStringLiteral("sensors"));
    const QList<ShipDocument::Sensor> onDeck = document_.sensorsOn(deck);
    ASSERT_EQ(sensors->count(), onDeck.size());
    for (int i = 0; i < sensors->count(); ++i)
        EXPECT_TRUE(sensors->item(i)->text().contains(onDeck[i].code)) << sensors->item(i)->text().toStdString();

    const ShipDocument::Compartment own = compartmentOn(deck, {});
    pointAt(own.outline.boundingRect().center());
    const QPointF at = landed(own.outline.boundingRect().center());
    EXPECT_EQ(position->text(), QStringLiteral("(%1, %2)").arg(at.x(), 0, 'f', 2).arg(at.y(), 0, 'f', 2));

    // Each corner drawn two pixels off its place lands on it again.
    window_->findChild<QAction*>(QStringLiteral("snapToCorners"))->setChecked(true);
    choose("compartments", own.id);
    pressTool("redrawCompartment");
    EXPECT_NE(hint->text(), idle);
    QPolygonF off;
    for (const QPointF& corner : own.outline)
        off.append(view()->mapToScene(view()->mapFromScene(corner) + QPoint(2, 0)));
    draw(off);
    EXPECT_EQ(hint->text(), idle);
    ASSERT_NE(landed(off.first()), own.outline.first());
    EXPECT_EQ(compartmentOn(deck, {}).outline, own.outline);

    chooseDeck(1);
    DamageBoundary* master = window_->currentPage()->layer()->boundaries().first();
    click(master->lines().at(1)->line().center());
    ASSERT_EQ(window_->chosenBoundary(), master);
    BoundaryLine* line = master->lines().at(1);
    const auto haloed = [line] {
        const QList<QGraphicsItem*> children = line->childItems();
        return std::any_of(children.cbegin(), children.cend(),
                           [](const QGraphicsItem* item) { return item->type() == QGraphicsPathItem::Type; });
    };
    EXPECT_TRUE(haloed());
    click(view()->sceneRect().topLeft() + QPointF(1, 1));
    EXPECT_FALSE(haloed()) << "the halo goes with the choice";
}

// Each edit, then its undo, then its redo, saved: the file as before the edit,
// then as after it. An outline covering its neighbour is refused in red, with
// nothing to undo.
TEST_F(MaintainerWindowTest, EveryEditIsUndoneAndRedone)
{
    open(output_, false);
    chooseDeck(1);
    const quint64 deck = document_.decks()[1].id;
    const ShipDocument::Sensor sensor = document_.sensorsOn(deck).first();
    const ShipDocument::Compartment own = compartmentOn(deck, {});
    const QPointF centre = view()->sceneRect().center();
    const QPolygonF triangle =
        landed(QPolygonF({centre + QPointF(-60, -30), centre + QPointF(60, -30), centre + QPointF(0, 40)}));
    // The boundary drawn last.
    const auto chooseMaster = [&] {
        click(window_->currentPage()->layer()->boundaries().back()->lines().at(1)->line().center());
    };
    const auto redraw = [&](const QPolygonF& outline) {
        choose("compartments", own.id);
        pressTool("redrawCompartment");
        draw(outline);
    };
    const QRectF grown = own.outline.boundingRect().adjusted(-20, -20, 20, 20);
    QAction* snap = window_->findChild<QAction*>(QStringLiteral("snapToCorners"));
    const struct {
        const char* edit;
        std::function<void()> make;
    } rows[] = {
        {"place a sensor", [&] { choose("sensors", sensor.id); pressTool("placeSensor");
                                 click(sensor.position + QPointF(3, 3)); }},
        {"redraw a compartment", [&] { snap->setChecked(true); redraw(own.outline.mid(1) << own.outline.first());
                                       snap->setChecked(false); }},
        {"new boundary", [&] { pressTool("newFireBoundary"); draw(triangle); }},
        {"redraw a boundary", [&] { chooseMaster(); pressTool("redrawBoundary");
                                    draw(triangle.translated(10, 10)); }},
        {"copy a boundary up", [&] { chooseMaster(); pressTool("copyUp"); }},
        {"remove a boundary", [&] { chooseMaster(); pressTool("removeBoundary"); }},
        {"overlapping outline", [&] { redraw(landed(QPolygonF(grown))); }},
    };
    QAction* undo = window_->findChild<QAction*>(QStringLiteral("undo"));
    QAction* redo = window_->findChild<QAction*>(QStringLiteral("redo"));
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->shortcut(), QKeySequence(QKeySequence::Undo));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.edit);
        ASSERT_TRUE(window_->save());
        const QJsonObject before = readJson(output_);
        const int edits = window_->undoStack()->count();
        row.make();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (window_->undoStack()->count() == edits) {
            EXPECT_STREQ(row.edit, "overlapping outline");
            const QString message = window_->statusBar()->currentMessage();
            EXPECT_TRUE(message.contains(QStringLiteral("重叠")) || message.contains(QStringLiteral("船体")));
            EXPECT_FALSE(window_->statusBar()->styleSheet().isEmpty()) << "a refusal shows in red";
            EXPECT_FALSE(window_->isWindowModified());
            ASSERT_TRUE(window_->save());
            EXPECT_EQ(readJson(output_), before);
            continue;
        }
        EXPECT_TRUE(window_->isWindowModified());
        ASSERT_TRUE(window_->save());
        EXPECT_FALSE(window_->isWindowModified());
        const QJsonObject after = readJson(output_);
        EXPECT_NE(after, before);
        undo->trigger();
        EXPECT_TRUE(window_->isWindowModified());
        ASSERT_TRUE(window_->save());
        EXPECT_EQ(readJson(output_), before);
        redo->trigger();
        ASSERT_TRUE(window_->save());
        EXPECT_EQ(readJson(output_), after);
    }
}

TEST_F(MaintainerWindowTest, AFailedSaveShowsInRedBesideTheHint)
{
    open(dir_.filePath(QStringLiteral("missing/out.json")), false);
    EXPECT_FALSE(window_->save());
    QStatusBar* bar = window_->statusBar();
    EXPECT_TRUE(bar->currentMessage().startsWith(QStringLiteral("未保存"))) << qPrintable(bar->currentMessage());
    const QImage shown = bar->grab().toImage();
    EXPECT_EQ(shown.pixelColor(2, shown.height() / 2), QColor(0xC0, 0x00, 0x00));
    EXPECT_GT(bar->findChild<QLabel*>(QStringLiteral("hint"))->x(), bar->width() / 3) << "the message has room";
}
