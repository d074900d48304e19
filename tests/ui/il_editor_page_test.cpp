// The IL editor page driven through its widgets, on the offscreen platform.
#include "ui/il_editor_page.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>

#include "program_model/il_editor_texts.h"
#include "ui/edit_context_menu.h"

using quarn::program_model::ClearAnswer;
using quarn::ui::IlEditorPage;
using Lines = std::vector<std::string>;

namespace {

QString Joined(const Lines& lines) {
  QStringList list;
  for (const std::string& line : lines) list << QString::fromStdString(line);
  return list.join(QLatin1Char('\n'));
}

Lines Program(int count) {
  Lines lines;
  for (int k = 0; k < count; ++k) lines.push_back(k % 3 == 2 ? "// note" : "LD\tM0");
  return lines;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

int PdfPages(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = file.readAll();
  // Page objects, not the page tree ("/Type /Pages").
  return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "));
}

}  // namespace

class IlEditorPageTest : public QObject {
  Q_OBJECT

 private:
  // A page with a recording asker and message shower.
  struct Fixture {
    Fixture() {
      page.SetClearAsker([this] {
        ++questions;
        return answer;
      });
      page.SetMessageShower([this](const QString&, const QString& text) { messages << text; });
      page.resize(900, 600);
      page.show();
      numbers = page.findChild<QWidget*>(QStringLiteral("MemoIlNums"));
      program = page.findChild<QPlainTextEdit*>(QStringLiteral("RichEditILP"));
      values = page.findChild<QPlainTextEdit*>(QStringLiteral("MemoParamValues"));
      limit = page.findChild<QLineEdit*>(QStringLiteral("EditMaxAutoEnumerating"));
    }
    IlEditorPage page;
    ClearAnswer answer = ClearAnswer::Yes;
    int questions = 0;
    QStringList messages;
    QWidget* numbers = nullptr;
    QPlainTextEdit* program = nullptr;
    QPlainTextEdit* values = nullptr;
    QLineEdit* limit = nullptr;
  };

  QTemporaryDir dir_;

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void numbersFollowEditsAfterThePause() {
    Fixture f;
    f.program->setPlainText(QStringLiteral("LD\tM0\n\n// start\nOUT\tY0"));
    QTRY_COMPARE(f.page.NumberLines(), (Lines{"0->  ", " ", " ", "1->  "}));

    // Typing a new instruction above renumbers the lines below it.
    QTextCursor cursor(f.program->document());
    f.program->setTextCursor(cursor);
    QTest::keyClicks(f.program, "LD\tX1");
    QTest::keyClick(f.program, Qt::Key_Return);
    QTRY_COMPARE(f.page.NumberLines(), (Lines{"0->  ", "1->  ", " ", " ", "2->  "}));
  }

  void limitKeepsLongProgramsUnnumberedUntilEnumerate() {
    Fixture f;
    f.program->setPlainText(Joined(Program(600)));
    QVERIFY(f.page.NumberLines().empty());  // at once, no timer involved
    QTest::qWait(1200);
    QVERIFY(f.page.NumberLines().empty());

    QTest::mouseClick(f.page.findChild<QPushButton*>(QStringLiteral("BtnEnumerate")),
                      Qt::LeftButton);
    QCOMPARE(f.page.NumberLines().size(), 600u);
    QCOMPARE(f.page.NumberLines()[598], std::string("399->  "));
    QVERIFY(f.program->isEnabled());

    f.program->appendPlainText(QStringLiteral("OUT\tY0"));  // longer than the limit again
    QVERIFY(f.page.NumberLines().empty());

    // Raising the limit refills the short column at once.
    f.limit->setText(QStringLiteral("601"));
    QMetaObject::invokeMethod(f.limit, "editingFinished");
    QCOMPARE(f.page.NumberLines().size(), 601u);

    // A limit that is no number reads as the default on the next change.
    f.limit->setText(QStringLiteral("abc"));
    f.program->appendPlainText(QStringLiteral("OUT\tY1"));
    QCOMPARE(f.limit->text(), QStringLiteral("500"));
    QCOMPARE(f.page.Editor().Limit(), 500);
  }

  void loadAsksBeforeClearingAndDropsEmptyLines() {
    Fixture f;
    const QString path = dir_.filePath(QStringLiteral("blink.il"));
    WriteFile(path, "LD\tX0\r\n\r\nOUT\tY0\n\n");

    f.page.LoadProgramFile(path);  // an empty list is not asked about
    QCOMPARE(f.questions, 0);
    QCOMPARE(f.page.ProgramLines(), (Lines{"LD\tX0", "OUT\tY0"}));
    QCOMPARE(f.page.NumberLines(), (Lines{"0->  ", "1->  "}));  // numbered without waiting

    f.answer = ClearAnswer::No;
    f.page.LoadProgramFile(path);
    QCOMPARE(f.questions, 1);
    QCOMPARE(f.page.ProgramLines(), (Lines{"LD\tX0", "OUT\tY0", "LD\tX0", "OUT\tY0"}));

    f.answer = ClearAnswer::Cancel;
    f.page.LoadProgramFile(path);
    QCOMPARE(f.page.ProgramLines().size(), 4u);

    f.answer = ClearAnswer::Yes;
    f.page.LoadProgramFile(path);
    QCOMPARE(f.page.ProgramLines(), (Lines{"LD\tX0", "OUT\tY0"}));

    // A file that cannot be read costs nothing, even after "Yes".
    f.page.LoadProgramFile(dir_.filePath(QStringLiteral("missing.il")));
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(f.messages.first().startsWith(
        QString::fromUtf8(quarn::program_model::il_texts::kFileNotFound.data())));
    QCOMPARE(f.page.ProgramLines(), (Lines{"LD\tX0", "OUT\tY0"}));

    // Loading is one step back for undo.
    f.program->undo();
    QCOMPARE(f.page.ProgramLines(), (Lines{"LD\tX0", "OUT\tY0", "LD\tX0", "OUT\tY0"}));
  }

  void saveWritesTheProgramAndReportsFailure() {
    Fixture f;
    f.program->setPlainText(QStringLiteral("LD\tM0\nEND\n"));
    const QString path = dir_.filePath(QStringLiteral("saved.txt"));
    QVERIFY(f.page.SaveProgramFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("LD\tM0\nEND\n"));
    QVERIFY(!f.page.SaveProgramFile(dir_.filePath(QStringLiteral("no/such/folder.txt"))));
    QCOMPARE(f.messages.size(), 1);
  }

  void cleanUpThroughItsButton() {
    Fixture f;
    f.program->setPlainText(QStringLiteral("LD\tM0\n\nFOO\tM1\nOUT\tY0"));
    auto* cleanUp = f.page.findChild<QPushButton*>(QStringLiteral("btnCleanUpILP"));
    f.page.findChild<QRadioButton*>(QStringLiteral("rbWrongLinesComment"))->setChecked(true);
    QTest::mouseClick(cleanUp, Qt::LeftButton);
    QCOMPARE(f.page.ProgramLines(), (Lines{"LD\tM0", "// wrong command: -> FOO\tM1", "OUT\tY0"}));

    f.program->undo();  // one step back
    QCOMPARE(f.page.ProgramLines(), (Lines{"LD\tM0", "", "FOO\tM1", "OUT\tY0"}));
    f.page.findChild<QRadioButton*>(QStringLiteral("rbWrongLinesClear"))->setChecked(true);
    QTest::mouseClick(cleanUp, Qt::LeftButton);
    QCOMPARE(f.page.ProgramLines(), (Lines{"LD\tM0", "OUT\tY0"}));
  }

  void clearEmptiesProgramAndValues() {
    Fixture f;
    f.program->setPlainText(QStringLiteral("LD\tM0"));
    f.values->setPlainText(QStringLiteral("M0=1"));
    QTest::mouseClick(f.page.findChild<QPushButton*>(QStringLiteral("btnClearILP")),
                      Qt::LeftButton);
    QVERIFY(f.page.ProgramLines().empty());
    QCOMPARE(f.values->toPlainText(), QString());
  }

  void typingInTheValuesColumnLandsInTheProgram() {
    Fixture f;
    f.program->setPlainText(QStringLiteral("LD\tM0"));
    f.program->moveCursor(QTextCursor::End);
    f.values->setFocus();
    QTest::keyClick(f.values, Qt::Key_Return);
    QTest::keyClicks(f.values, "OUT\tY0");
    QCOMPARE(f.page.ProgramLines(), (Lines{"LD\tM0", "OUT\tY0"}));
    QCOMPARE(f.values->toPlainText(), QString());
    QCOMPARE(f.page.focusWidget(), f.program);  // the keys that follow go there directly
  }

  void clickingANumberPutsTheCaretOnItsLine() {
    Fixture f;
    f.program->setPlainText(Joined(Program(10)));
    f.page.RenumberLines(0);
    const int y = static_cast<int>(
        f.program->cursorRect(QTextCursor(f.program->document()->findBlockByNumber(4)))
            .center()
            .y());
    QTest::mouseClick(f.numbers, Qt::LeftButton, {}, QPoint(5, y));
    QCOMPARE(f.program->textCursor().blockNumber(), 4);
  }

  void columnsScrollTogether() {
    Fixture f;
    const QString text = Joined(Program(300));
    f.program->setPlainText(text);
    f.values->setPlainText(text);
    f.page.Enumerate();
    QScrollBar* programBar = f.program->verticalScrollBar();
    QScrollBar* valuesBar = f.values->verticalScrollBar();
    QVERIFY(programBar->maximum() > 100);

    programBar->setValue(120);  // the program's scroll bar dragged
    QCOMPARE(valuesBar->value(), 120);
    valuesBar->setValue(100);  // the values column's
    QCOMPARE(programBar->value(), 100);

    // The wheel over the numbers column and over the values column.
    const QPointF at(10, 10);
    for (QWidget* target : {f.numbers, f.values->viewport()}) {
      const int before = programBar->value();
      QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(target, &wheel);
      QVERIFY(programBar->value() > before);
      QCOMPARE(valuesBar->value(), programBar->value());
    }

    // Keyboard: Page Down moves all three by the page less one line, Down at the last visible
    // line by one.
    f.program->setFocus();
    const int first = programBar->value();
    f.program->setTextCursor(QTextCursor(f.program->document()->findBlockByNumber(first + 1)));
    programBar->setValue(first);
    QTest::keyClick(f.program, Qt::Key_PageDown);
    const int page = f.program->viewport()->height() / f.program->fontMetrics().lineSpacing();
    QCOMPARE(programBar->value(), first + page - 1);
    QCOMPARE(valuesBar->value(), programBar->value());
    QTest::keyClick(f.program, Qt::Key_PageUp);
    QCOMPARE(programBar->value(), first);
    QCOMPARE(valuesBar->value(), first);

    // Renumbering keeps the columns where they are.
    f.page.Enumerate();
    QCOMPARE(programBar->value(), first);
    QCOMPARE(valuesBar->value(), first);
  }

  void editMenuEnableRules() {
    Fixture f;
    QApplication::clipboard()->clear();
    f.program->setPlainText(QStringLiteral("LD\tM0"));
    f.program->selectAll();
    std::unique_ptr<QMenu> menu(quarn::ui::BuildEditContextMenu(f.program, nullptr));
    auto enabled = [&menu](const char* name) {
      return menu->findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
    };
    QVERIFY(enabled("actCut"));
    QVERIFY(enabled("actCopy"));
    QVERIFY(enabled("actDelete"));
    QVERIFY(!enabled("actPaste"));  // nothing on the clipboard
    QVERIFY(!enabled("actUndo"));   // set, not edited

    menu->findChild<QAction*>(QStringLiteral("actCut"))->trigger();
    QCOMPARE(f.program->toPlainText(), QString());
    menu.reset(quarn::ui::BuildEditContextMenu(f.program, nullptr));
    QVERIFY(enabled("actPaste"));
    QVERIFY(enabled("actUndo"));
    QVERIFY(!enabled("actCopy"));

    f.values->setPlainText(QStringLiteral("M0=1"));
    f.values->selectAll();
    menu.reset(quarn::ui::BuildEditContextMenu(f.values, nullptr));
    QVERIFY(enabled("actCopy"));
    QVERIFY(!enabled("actCut"));
    QVERIFY(!enabled("actPaste"));
  }

  void printsToPdf() {
    Fixture f;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString empty = dir_.filePath(QStringLiteral("empty.pdf"));
    printer.setOutputFileName(empty);
    QCOMPARE(f.page.PrintProgram(printer), 0);
    QVERIFY(!QFile::exists(empty));

    f.program->setPlainText(QStringLiteral("LD\tM0 // start\nOUT\tY0"));
    f.page.RenumberLines(0);
    const QString small = dir_.filePath(QStringLiteral("small.pdf"));
    printer.setOutputFileName(small);
    QCOMPARE(f.page.PrintProgram(printer), 1);
    QCOMPARE(PdfPages(small), 1);

    // A long program runs over several pages; a comment longer than the page wraps onto
    // further lines, so the same program with such comments needs more pages.
    f.program->setPlainText(Joined(Program(150)));
    f.page.Enumerate();
    const QString longer = dir_.filePath(QStringLiteral("long.pdf"));
    printer.setOutputFileName(longer);
    const int pages = f.page.PrintProgram(printer);
    QVERIFY(pages > 1);
    QCOMPARE(PdfPages(longer), pages);

    Lines commented = Program(150);
    for (std::string& line : commented) line += " // " + std::string(300, 'w') + " end";
    f.program->setPlainText(Joined(commented));
    f.page.Enumerate();
    const QString wrapped = dir_.filePath(QStringLiteral("wrapped.pdf"));
    printer.setOutputFileName(wrapped);
    const int wrappedPages = f.page.PrintProgram(printer);
    QVERIFY(wrappedPages > pages);
    QCOMPARE(PdfPages(wrapped), wrappedPages);
  }

  void currentInstructionLine() {
    Fixture f;
    f.program->setPlainText(Joined(Program(10)));
    f.page.SetCurrentInstrStr(4);
    QCOMPARE(f.program->textCursor().blockNumber(), 4);
    QCOMPARE(f.program->textCursor().positionInBlock(), 0);
    f.page.SetCurrentInstrStr(99);  // past the end: the first line
    QCOMPARE(f.program->textCursor().blockNumber(), 0);
  }
};

QTEST_MAIN(IlEditorPageTest)
#include "il_editor_page_test.moc"
