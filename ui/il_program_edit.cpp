#include "ui/il_program_edit.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QWheelEvent>
#include <algorithm>

#include "program_model/il_editor_texts.h"
#include "ui/qt_text.h"

namespace quarn::ui {
namespace {

const QColor kNumbersBackground{229, 229, 229};
const QColor kCaretLineColor{210, 222, 238};

// Room for five digits and the suffix, so the column does not jump while a program grows.
constexpr int kMinNumberCharacters = 9;
constexpr int kNumberPadding = 6;

}  // namespace

// The strip in the program column's left margin that shows the numbers.
class IlProgramEdit::NumberColumnWidget : public QWidget {
 public:
  explicit NumberColumnWidget(IlProgramEdit* edit) : QWidget(edit), edit_(edit) {
    setObjectName(QStringLiteral("MemoIlNums"));
    setCursor(Qt::ArrowCursor);
  }

  QSize sizeHint() const override { return {edit_->numberColumnWidth_, 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { edit_->PaintNumbers(event); }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton)
      edit_->NumberColumnPressed(event->position().toPoint().y());
  }
  // The wheel over the numbers scrolls the program, and with it the numbers.
  void wheelEvent(QWheelEvent* event) override {
    QCoreApplication::sendEvent(edit_->viewport(), event);
  }

 private:
  IlProgramEdit* edit_;
};

IlProgramEdit::IlProgramEdit(QWidget* parent)
    : QPlainTextEdit(parent), numberColumn_(new NumberColumnWidget(this)) {
  connect(this, &QPlainTextEdit::updateRequest, this, &IlProgramEdit::FollowUpdate);
  connect(this, &QPlainTextEdit::cursorPositionChanged, numberColumn_,
          qOverload<>(&QWidget::update));
  UpdateNumberColumnWidth();
}

void IlProgramEdit::SetNumbers(std::vector<std::string> numbers) {
  numbers_ = std::move(numbers);
  UpdateNumberColumnWidth();
  numberColumn_->update();
}

void IlProgramEdit::UpdateNumberColumnWidth() {
  std::size_t longest = kMinNumberCharacters;
  for (const std::string& number : numbers_) longest = std::max(longest, number.size());
  const int width = fontMetrics().horizontalAdvance(QLatin1Char('0')) * static_cast<int>(longest) +
                    2 * kNumberPadding;
  if (width == numberColumnWidth_) return;
  numberColumnWidth_ = width;
  setViewportMargins(numberColumnWidth_, 0, 0, 0);
  const QRect contents = contentsRect();
  numberColumn_->setGeometry(contents.left(), contents.top(), numberColumnWidth_,
                             viewport()->height());
}

void IlProgramEdit::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect contents = contentsRect();
  numberColumn_->setGeometry(contents.left(), contents.top(), numberColumnWidth_,
                             viewport()->height());
}

void IlProgramEdit::FollowUpdate(const QRect& rect, int dy) {
  if (dy != 0) {
    numberColumn_->scroll(0, dy);
  } else {
    numberColumn_->update(0, rect.y(), numberColumn_->width(), rect.height());
  }
}

void IlProgramEdit::PaintNumbers(QPaintEvent* event) {
  QPainter painter(numberColumn_);
  painter.fillRect(event->rect(), kNumbersBackground);
  painter.setFont(font());
  const int caretLine = textCursor().blockNumber();
  const int right = numberColumn_->width() - kNumberPadding;
  QTextBlock block = firstVisibleBlock();
  qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
  while (block.isValid() && top <= event->rect().bottom()) {
    const qreal height = blockBoundingRect(block).height();
    const int line = block.blockNumber();
    if (block.isVisible() && top + height >= event->rect().top()) {
      const QRectF row(0, top, numberColumn_->width(), height);
      if (line == caretLine) painter.fillRect(row, kCaretLineColor);
      if (static_cast<std::size_t>(line) < numbers_.size()) {
        // Drawn without its trailing blanks, which only keep the numbers off the program text.
        QString text = ToQt(numbers_[static_cast<std::size_t>(line)]);
        while (text.endsWith(QLatin1Char(' '))) text.chop(1);
        painter.drawText(QRectF(0, top, right, fontMetrics().height()),
                         Qt::AlignRight | Qt::AlignVCenter, text);
      }
    }
    block = block.next();
    top += height;
  }
}

void IlProgramEdit::NumberColumnPressed(int y) {
  const QTextCursor at = cursorForPosition(QPoint(0, y));
  QTextCursor cursor(at.block());
  setTextCursor(cursor);
  setFocus(Qt::MouseFocusReason);
}

}  // namespace quarn::ui
