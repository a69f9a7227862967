#pragma once

#include "kelvane_export.h"

#include <QPointF>
#include <QPolygonF>

class QGraphicsLineItem;

namespace gedit {

class PathEditor;

/// Editing modes an outline editor can be asked for. Only REDRAW has an editor.
enum PathState { REDRAW = 0, ADD_POINT = 1, DELETE_POINT = 2, MOVE_POINT = 3, MOVE_LINE = 4, FINISH = 5 };

/// A new editor for \a path in mode \a state, without a parent item, owned by
/// the caller; null for every mode but REDRAW. The caller adds it to the scene,
/// listens to PathEditor::finish() and PathEditor::cancel(), and deletes it.
KELVANE_EXPORT PathEditor* createPathEditor(QPolygonF path, PathState state);

/// Moves the second point of \a line to \a pos (in the line's parent
/// coordinates); the first point stays. A null \a line stops the process
/// through the library's assertion.
KELVANE_EXPORT void moveEndPoint(QGraphicsLineItem* line, QPointF pos);

} // namespace gedit
