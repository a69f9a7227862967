#pragma once

#include "maintainer_state.h"
#include "ship_document.h"

#include "maintenance/maintenance_command_state.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <vector>

class BoundaryLine;
class DamageBoundary;
class DeckPage;
class DeckViewComplex;
class DrawingAid;
class MaintenanceCommand;
class QAction;
class QComboBox;
class QGraphicsObject;
class QListWidget;
class QMouseEvent;
class QUndoStack;

/// The maintainer's window: one deck at a time in an interactive view driven by
/// a maintenance command, lists of the deck's compartments and sensors, and
/// actions to place a sensor, redraw a compartment, create, copy, redraw and
/// remove damage boundaries, and save the ship file.
///
/// A boundary is chosen by a left click on one of its segments and shown with a
/// halo; the boundary actions then raise their request on that segment. The
/// lists show each entry's code beside its name; the status bar, there from
/// the start, hints at the task under way and follows the pointer (DrawingAid),
/// and corners of drawn outlines snap to compartment corners while "吸附" is on.
///
/// Every edit goes on an undo stack (Edit menu, the standard shortcuts); the
/// title's modified mark follows the stack's clean state, set by each save.
class MaintainerWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// Shows \a document (loaded); saving writes \a output, keeping a ".bak" of
    /// an existing file when \a backup is set.
    MaintainerWindow(ShipDocument* document, const QString& output, bool backup, QWidget* parent = nullptr);
    ~MaintainerWindow() override;

    DeckViewComplex* view() const { return view_; }
    MaintenanceCommand* command() const { return command_; }
    /// The page of the deck on show.
    DeckPage* currentPage() const;
    /// The boundary whose segment was chosen last, null when none is.
    DamageBoundary* chosenBoundary() const;

    /// Writes the ship file; false (reported in a red status bar) when it cannot.
    bool save();
    /// Something was edited since the last save (or an edit saved was undone).
    bool isModified() const;
    QUndoStack* undoStack() const { return undo_; }

protected:
    /// Asks whether to save edits not saved yet.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildActions();
    void buildPanel();
    void buildEditMenu();
    void connectLayer(DeckPage* page);
    void showDeck(int index);
    /// Ends the task under way, so that one graphic at a time takes the pointer.
    void beginTask();
    /// \a graphic goes once the command is idle again, the task being over.
    void deleteWhenIdle(QGraphicsObject* graphic);
    void chooseSegment(QMouseEvent* event);
    void raiseOnSegment(void (BoundaryLine::*request)());

    void placeSensor();
    void redrawCompartment();
    void newBoundary(bool smoke);
    void copyBoundary(DamageBoundary* boundary, int step);
    void redrawBoundary(DamageBoundary* boundary);
    void removeSlaves(DamageBoundary* boundary);
    DeckPage* pageOf(quint64 deck) const;

    /// The master boundaries, deck by deck in the order of their layers, as in state().
    QList<const DamageBoundary*> masterBoundaries() const;
    /// What the edits change now, without \a leaving (and a master's copies)
    /// when a removal is under way.
    MaintainerState state(const DamageBoundary* leaving = nullptr) const;
    /// Puts \a state on the document, the sensor marks, the outlines and the
    /// boundary layers; the chosen boundary is forgotten.
    void restore(const MaintainerState& state);
    void rebuildBoundaries(const QList<MaintainerState::Family>& families);
    /// Removes every boundary, a master with its copies, without recording an edit.
    void removeAllBoundaries();
    /// Puts the edit just made on the undo stack.
    void recordEdit(const QString& text, const DamageBoundary* leaving = nullptr);

    quint64 selected(QListWidget* list) const;
    /// Shows \a message in the status bar until the next one.
    void report(const QString& message);
    /// Shows \a message, a refused edit or a failed save, in a red status bar.
    void refuse(const QString& message);

    ShipDocument* document_;
    QString output_;
    bool backup_;
    std::vector<DeckPage*> pages_;
    DeckViewComplex* view_ = nullptr;
    MaintenanceCommand* command_ = nullptr;
    DrawingAid* aid_ = nullptr;
    QComboBox* decks_ = nullptr;
    QListWidget* compartments_ = nullptr;
    QListWidget* sensors_ = nullptr;
    QPointer<BoundaryLine> chosen_;
    /// Id and type of the master boundaries; new ones have id 0 until saved.
    QHash<const DamageBoundary*, ShipDocument::Boundary> masters_;
    QUndoStack* undo_ = nullptr;
    /// The state the top of the undo stack left.
    MaintainerState current_;
    /// Boundaries are being removed by the window itself, not by the maintainer.
    bool rebuilding_ = false;
};
