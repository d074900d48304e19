#include "ui/il_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <string_view>

#include "program_model/il_editor.h"
#include "program_model/il_editor_texts.h"
#include "ui/qt_text.h"

namespace quarn::ui {
namespace {

using program_model::kPrintMargin;

constexpr int kTabStopCharacters = 8;

// Tab stops every few characters. A layout on a printer scales tab distances from screen to
// printer resolution itself, so they are measured with the screen's metrics.
QTextOption LayoutOption(const QFont& font, bool wrap) {
  QTextOption option;
  option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  option.setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) *
                            kTabStopCharacters);
  return option;
}

// Draws text with its tabs expanded at (x, top) within the width; answers its width. The font is
// the one given, not the painter's, which has been resolved for the printer already.
qreal DrawExpanded(QPainter& painter, const QFont& font, const QString& text, qreal x, qreal top,
                   qreal width) {
  QTextLayout layout(text, font, painter.device());
  layout.setTextOption(LayoutOption(font, false));
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) line.setLineWidth(width);
  layout.endLayout();
  if (!line.isValid()) return 0;
  layout.draw(&painter, QPointF(x, top));
  return line.horizontalAdvance();
}

// Draws text as it stands: a tab is one blank, not a jump to the next stop.
void DrawPlain(QPainter& painter, QString text, qreal x, qreal top) {
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  painter.drawText(QPointF(x, top + painter.fontMetrics().ascent()), text);
}

}  // namespace

int PrintIlListing(QPrinter& printer, const std::vector<std::string>& numbers,
                   const std::vector<std::string>& program, const QFont& font) {
  if (program.empty()) return 0;
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  painter.setFont(font);
  const int textHeight = painter.fontMetrics().height();
  const int step = program_model::PrintLineStep(textHeight);
  const int pageHeight = printer.height();
  const qreal lineWidth = std::max(printer.width() - 2 * kPrintMargin, textHeight);
  const QTextOption wrapOption = LayoutOption(font, true);

  int pages = 1;
  int top = kPrintMargin;
  bool firstLine = true;
  for (std::size_t index = 0; index < program.size(); ++index) {
    const std::string_view number = index < numbers.size() ? std::string_view(numbers[index])
                                                           : program_model::il_texts::kNoNumber;
    const QString text = ToQt(program_model::PrintLineText(number, program[index]));
    QTextLayout layout(text, font, &printer);
    layout.setTextOption(wrapOption);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(lineWidth);
    }
    layout.endLayout();
    for (int visual = 0; visual < layout.lineCount(); ++visual) {
      if (!firstLine) {
        const program_model::PrintPosition next =
            program_model::NextPrintLine(top, step, pageHeight);
        if (next.NewPage) {
          printer.newPage();
          ++pages;
        }
        top = next.Top;
      }
      firstLine = false;
      const QTextLine line = layout.lineAt(visual);
      const QString part = text.mid(line.textStart(), line.textLength());
      if (visual == 0 && program_model::IsNumberedPrintLine(number)) {
        const std::string utf8 = ToStd(part);
        const auto [code, comment] = program_model::SplitAtComment(utf8);
        const qreal width = DrawExpanded(painter, font, ToQt(code), kPrintMargin, top, lineWidth);
        DrawPlain(painter, ToQt(comment), kPrintMargin + width, top);
      } else {
        DrawPlain(painter, part, kPrintMargin, top);
      }
    }
  }
  painter.end();
  return pages;
}

}  // namespace quarn::ui
