#include "ui/edit_context_menu.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>

#include "program_model/il_editor.h"
#include "program_model/il_editor_texts.h"
#include "ui/qt_text.h"

namespace quarn::ui {
namespace {

namespace il_texts = program_model::il_texts;

bool ClipboardHasText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText() && !data->text().isEmpty();
}

template <typename Handler>
void AddAction(QMenu* menu, const char* name, std::string_view text, const QKeySequence& keys,
               bool enabled, Handler handler) {
  QAction* action = menu->addAction(ToQt(text), handler);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(keys);
  action->setEnabled(enabled);
}

}  // namespace

QMenu* BuildEditContextMenu(QPlainTextEdit* column, QWidget* parent) {
  const program_model::EditMenuState state = program_model::EditMenuFor(
      column->document()->isUndoAvailable(), column->textCursor().hasSelection(),
      ClipboardHasText(), column->isReadOnly());
  auto* menu = new QMenu(parent);
  AddAction(menu, "actUndo", il_texts::kUndo, QKeySequence::Undo, state.Undo,
            [column] { column->undo(); });
  menu->addSeparator();
  AddAction(menu, "actCut", il_texts::kCut, QKeySequence::Cut, state.Cut,
            [column] { column->cut(); });
  AddAction(menu, "actCopy", il_texts::kCopy, QKeySequence::Copy, state.Copy,
            [column] { column->copy(); });
  AddAction(menu, "actPaste", il_texts::kPaste, QKeySequence::Paste, state.Paste,
            [column] { column->paste(); });
  AddAction(menu, "actDelete", il_texts::kDelete, QKeySequence::Delete, state.Delete,
            [column] { column->textCursor().removeSelectedText(); });
  menu->addSeparator();
  AddAction(menu, "actSelectAll", il_texts::kSelectAll, QKeySequence::SelectAll, state.SelectAll,
            [column] { column->selectAll(); });
  return menu;
}

void ShowEditContextMenu(QPlainTextEdit* column, const QPoint& position) {
  QMenu* menu = BuildEditContextMenu(column, column);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(column->viewport()->mapToGlobal(position));
}

}  // namespace quarn::ui
