#include "edit_command.h"

#include <utility>

EditCommand::EditCommand(const QString& text, MaintainerState before, MaintainerState after, Restore restore)
    : QUndoCommand(text)
    , before_(std::move(before))
    , after_(std::move(after))
    , restore_(std::move(restore))
{
}

void EditCommand::undo()
{
    restore_(before_);
}

void EditCommand::redo()
{
    if (std::exchange(pushed_, false))
        return;
    restore_(after_);
}
