#include "ui/il_column_sync.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <optional>

#include "program_model/il_editor.h"

namespace quarn::ui {
namespace {

using program_model::NavigationKey;

const QColor kCaretLineColor{226, 238, 252};

std::optional<NavigationKey> NavigationKeyOf(const QKeyEvent* event) {
  // With Ctrl or Alt the keys do something else than move the caret line by line or page.
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return std::nullopt;
  switch (event->key()) {
    case Qt::Key_PageUp:
      return NavigationKey::PageUp;
    case Qt::Key_PageDown:
      return NavigationKey::PageDown;
    case Qt::Key_Up:
      return NavigationKey::Up;
    case Qt::Key_Down:
      return NavigationKey::Down;
    default:
      return std::nullopt;
  }
}

// Keys the read-only column keeps: copying its own selection. Tabs go to the program like any
// other character; Ctrl+Tab moves the focus on, as in the program column.
bool StaysInReadOnlyColumn(const QKeyEvent* event) {
  return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll) ||
         ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
          (event->modifiers() & Qt::ControlModifier));
}

}  // namespace

IlColumnSync::IlColumnSync(QPlainTextEdit* program, QPlainTextEdit* values, QObject* parent)
    : QObject(parent), program_(program), values_(values), columns_{program, values} {
  for (QPlainTextEdit* column : columns_) {
    connect(column->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this, column](int value) { Follow(column, value); });
    column->installEventFilter(this);
    column->viewport()->installEventFilter(this);
  }
  connect(program_, &QPlainTextEdit::cursorPositionChanged, this,
          &IlColumnSync::HighlightCaretLine);
  HighlightCaretLine();
}

IlColumnSync::Pause::Pause(IlColumnSync& sync) : sync_(sync) { ++sync_.paused_; }

IlColumnSync::Pause::~Pause() {
  if (--sync_.paused_ == 0) sync_.AlignToProgram();
}

void IlColumnSync::AlignToProgram() {
  Follow(program_, program_->verticalScrollBar()->value());
  HighlightCaretLine();
}

int IlColumnSync::VisibleLines(const QPlainTextEdit* column) {
  return std::max(1, column->viewport()->height() / column->fontMetrics().lineSpacing());
}

bool IlColumnSync::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (watched == values_) return ForwardToProgram(key);
      if (watched == program_ && event->type() == QEvent::KeyPress) return NavigateProgram(key);
      return false;
    }
    case QEvent::MouseButtonPress:
      if (watched == values_->viewport()) MoveProgramCaretTo(event);
      return false;
    default:
      return false;
  }
}

void IlColumnSync::Follow(const QPlainTextEdit* leader, int value) {
  if (paused_ > 0 || following_) return;
  following_ = true;
  for (QPlainTextEdit* column : columns_) {
    if (column != leader) column->verticalScrollBar()->setValue(value);
  }
  following_ = false;
}

bool IlColumnSync::ForwardToProgram(QKeyEvent* event) {
  if (StaysInReadOnlyColumn(event)) return false;
  // The values column takes no input: what is typed there belongs to the program, and the
  // program column keeps the focus for the keys that follow.
  program_->setFocus(Qt::OtherFocusReason);
  QCoreApplication::sendEvent(program_, event);
  return true;
}

bool IlColumnSync::NavigateProgram(QKeyEvent* event) {
  if (navigating_) return false;
  const std::optional<NavigationKey> key = NavigationKeyOf(event);
  if (!key) return false;
  const std::optional<int> firstVisible = program_model::FirstVisibleAfterKey(
      *key, program_->textCursor().blockNumber(), program_->verticalScrollBar()->value(),
      VisibleLines(program_));
  navigating_ = true;
  QCoreApplication::sendEvent(program_, event);
  navigating_ = false;
  if (firstVisible) {
    program_->verticalScrollBar()->setValue(*firstVisible);
    program_->ensureCursorVisible();
  }
  return true;
}

void IlColumnSync::MoveProgramCaretTo(QEvent* event) {
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return;
  const int line = values_->cursorForPosition(mouse->position().toPoint()).blockNumber();
  const QTextBlock block = program_->document()->findBlockByNumber(line);
  if (block.isValid()) program_->setTextCursor(QTextCursor(block));
}

void IlColumnSync::HighlightCaretLine() {
  const int line = program_->textCursor().blockNumber();
  for (QPlainTextEdit* column : columns_) {
    const QTextBlock block = column->document()->findBlockByNumber(line);
    if (!block.isValid()) {
      column->setExtraSelections({});
      continue;
    }
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(kCaretLineColor);
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    selection.cursor = QTextCursor(block);
    column->setExtraSelections({selection});
  }
}

}  // namespace quarn::ui
