// The edit menu of the IL editor's columns: Undo, Cut, Copy, Paste, Delete and Select All on the
// column under the menu, each enabled only when it can do something there.
#pragma once

class QMenu;
class QPlainTextEdit;
class QPoint;
class QWidget;

namespace quarn::ui {

// Builds the menu for the column as it is now; the caller owns it. Actions are named after
// their command ("actUndo", "actCut", ...).
QMenu* BuildEditContextMenu(QPlainTextEdit* column, QWidget* parent);

// Shows the menu at a point of the column (its customContextMenuRequested position).
void ShowEditContextMenu(QPlainTextEdit* column, const QPoint& position);

}  // namespace quarn::ui
