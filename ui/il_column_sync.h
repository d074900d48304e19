// Keeps the IL editor's three columns (numbers, program, values) in step: they share one vertical
// scroll position, so keyboard, wheel, scroll bar and mouse-drag scrolling of any column moves
// all three alike; keys typed into a read-only column go to the program column; the navigation
// keys scroll by the editor's own step; the caret's line is highlighted across all three.
#pragma once

#include <QObject>
#include <array>

class QKeyEvent;
class QPlainTextEdit;

namespace quarn::ui {

class IlColumnSync : public QObject {
  Q_OBJECT

 public:
  // The columns must have the same font and the same viewport height (the page gives all three
  // a horizontal scroll bar), so that line k sits at the same height in each.
  IlColumnSync(QPlainTextEdit* numbers, QPlainTextEdit* program, QPlainTextEdit* values,
               QObject* parent = nullptr);

  // While a column's text is replaced its scroll position jumps to the top; the other columns
  // must not follow it. Afterwards the columns take the program column's position again.
  class Pause {
   public:
    explicit Pause(IlColumnSync& sync);
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    IlColumnSync& sync_;
  };

  // Gives the other columns the program column's scroll position and caret highlight.
  void AlignToProgram();

  // Lines a column shows: its text area height by the font's line spacing.
  static int VisibleLines(const QPlainTextEdit* column);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(const QPlainTextEdit* leader, int value);
  bool ForwardToProgram(const QPlainTextEdit* column, QKeyEvent* event);
  bool NavigateProgram(QKeyEvent* event);
  void MoveProgramCaretTo(const QPlainTextEdit* column, QEvent* event);
  void HighlightCaretLine();

  QPlainTextEdit* numbers_;
  QPlainTextEdit* program_;
  QPlainTextEdit* values_;
  std::array<QPlainTextEdit*, 3> columns_;
  int paused_ = 0;
  bool following_ = false;
  bool navigating_ = false;
};

}  // namespace quarn::ui
