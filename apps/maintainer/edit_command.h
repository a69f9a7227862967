#pragma once

#include "maintainer_state.h"

#include <QUndoCommand>

#include <functional>

/// One edit of the maintainer on its undo stack, kept as the states before and
/// after it. The edit is made by the time the command is pushed, so the first
/// redo() (the one QUndoStack::push calls) does nothing.
class EditCommand : public QUndoCommand
{
public:
    /// Puts a state back on the document and the decks.
    using Restore = std::function<void(const MaintainerState&)>;

    EditCommand(const QString& text, MaintainerState before, MaintainerState after, Restore restore);

    void undo() override;
    void redo() override;

private:
    MaintainerState before_;
    MaintainerState after_;
    Restore restore_;
    bool pushed_ = true;
};
