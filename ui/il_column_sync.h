// Keeps the IL editor's program and values columns in step (the numbers travel with the program
// column itself): they share one vertical scroll position, so keyboard, wheel, scroll bar and
// mouse-drag scrolling of either moves both alike; keys typed into the read-only values column
// go to the program column; the navigation keys scroll by the editor's own step; the caret's
// line is highlighted in both.
#pragma once

#include <QObject>
#include <array>

class QKeyEvent;
class QPlainTextEdit;

namespace quarn::ui {

class IlColumnSync : public QObject {
  Q_OBJECT

 public:
  // The columns must have the same font and the same viewport height (the page gives both a
  // horizontal scroll bar), so that line k sits at the same height in each.
  IlColumnSync(QPlainTextEdit* program, QPlainTextEdit* values, QObject* parent = nullptr);

  // While a column's text is replaced its scroll position jumps to the top; the other column
  // must not follow it. Afterwards the values column takes the program column's position again.
  class Pause {
   public:
    explicit Pause(IlColumnSync& sync);
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    IlColumnSync& sync_;
  };

  // Gives the values column the program column's scroll position and caret highlight.
  void AlignToProgram();

  // Lines a column shows: its text area height by the font's line spacing.
  static int VisibleLines(const QPlainTextEdit* column);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(const QPlainTextEdit* leader, int value);
  bool ForwardToProgram(QKeyEvent* event);
  bool NavigateProgram(QKeyEvent* event);
  void MoveProgramCaretTo(QEvent* event);
  void HighlightCaretLine();

  QPlainTextEdit* program_;
  QPlainTextEdit* values_;
  std::array<QPlainTextEdit*, 2> columns_;
  int paused_ = 0;
  bool following_ = false;
  bool navigating_ = false;
};

}  // namespace quarn::ui
