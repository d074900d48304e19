// The program column of the IL editor with its numbers column on the left. The numbers are drawn
// beside the program's own lines rather than held in a second text box: they then scroll with the
// program by construction, and renumbering a 60,000-line program costs only the numbering itself,
// not the building of a second text document.
#pragma once

#include <QPlainTextEdit>
#include <string>
#include <vector>

namespace quarn::ui {

class IlProgramEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit IlProgramEdit(QWidget* parent = nullptr);

  // The numbers column, one text per program line ("0->  ", " "); lines past its end show none.
  void SetNumbers(std::vector<std::string> numbers);
  const std::vector<std::string>& Numbers() const { return numbers_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  class NumberColumnWidget;
  friend class NumberColumnWidget;

  void UpdateNumberColumnWidth();
  void FollowUpdate(const QRect& rect, int dy);
  void PaintNumbers(QPaintEvent* event);
  void NumberColumnPressed(int y);

  NumberColumnWidget* numberColumn_;
  std::vector<std::string> numbers_;
  int numberColumnWidth_ = 0;
};

}  // namespace quarn::ui
