#include "ui/il_editor_page.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include "program_model/il_editor_texts.h"
#include "program_model/il_parser.h"
#include "shell/common_datas.h"
#include "ui/edit_context_menu.h"
#include "ui/il_column_sync.h"
#include "ui/il_printer.h"
#include "ui/il_program_edit.h"
#include "ui/named_widgets.h"
#include "ui/qt_text.h"

namespace quarn::ui {
namespace {

namespace il_texts = program_model::il_texts;
using program_model::ClearAnswer;

const QColor kProgramBackground{255, 255, 255};
const QColor kEnumeratingBackground{192, 192, 192};
const QColor kValuesText{128, 128, 128};

// The lines of a column, one per text block. The raw text keeps every character as typed (the
// plain-text form would turn non-breaking spaces into blanks), and one conversion of the whole
// text is far quicker than one per block on a large program.
std::vector<std::string> ColumnLines(const QPlainTextEdit* column) {
  const QTextDocument* document = column->document();
  std::vector<std::string> lines;
  if (document->isEmpty()) return lines;
  QString raw = document->toRawText();
  raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  const QByteArray utf8 = raw.toUtf8();
  lines.reserve(static_cast<std::size_t>(document->blockCount()));
  qsizetype begin = 0;
  for (qsizetype at = 0; at <= utf8.size(); ++at) {
    if (at < utf8.size() && utf8[at] != '\n') continue;
    lines.emplace_back(utf8.constData() + begin, static_cast<std::size_t>(at - begin));
    begin = at + 1;
  }
  return lines;
}

int ColumnLineCount(const QPlainTextEdit* column) {
  return column->document()->isEmpty() ? 0 : column->document()->blockCount();
}

QString JoinLines(const std::vector<std::string>& lines) {
  QString text;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    if (index > 0) text += QLatin1Char('\n');
    text += ToQt(lines[index]);
  }
  return text;
}

void SetBackground(QPlainTextEdit* column, const QColor& color) {
  QPalette palette = column->palette();
  palette.setColor(QPalette::Base, color);
  column->setPalette(palette);
}

template <typename Column>
Column* MakeColumn(const char* name, bool readOnly, QWidget* parent) {
  auto* column = new Column(parent);
  column->setObjectName(QString::fromLatin1(name));
  column->setReadOnly(readOnly);
  column->setLineWrapMode(QPlainTextEdit::NoWrap);
  column->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Equal viewport heights keep line k of every column at the same height down to the last line.
  column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  column->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(column, &QPlainTextEdit::customContextMenuRequested, column,
                   [column](const QPoint& position) { ShowEditContextMenu(column, position); });
  return column;
}

ClearAnswer AskClearProgram(QWidget* parent) {
  const auto button = QMessageBox::question(
      parent, ToQt(il_texts::kClearQuestionTitle), ToQt(il_texts::kClearQuestion),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (button == QMessageBox::Yes) return ClearAnswer::Yes;
  if (button == QMessageBox::No) return ClearAnswer::No;
  return ClearAnswer::Cancel;
}

QStringList ProgramFileFilters() {
  return {ToQt(il_texts::kFileFilterPrograms), ToQt(il_texts::kFileFilterAll)};
}

}  // namespace

IlEditorPage::IlEditorPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheetIL"));
  clearAsker_ = [this] { return AskClearProgram(this); };
  showMessage_ = [this](const QString& title, const QString& text) {
    QMessageBox::warning(this, title, text);
  };
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildFileBar());
  layout->addWidget(BuildTransferBar());
  BuildColumns();
  ConnectSignals();
}

IlEditorPage::~IlEditorPage() {
  // Closing the page moves the focus away, and the limit box then reports its edit as done: to a
  // page that is half destroyed by then. Nothing the children say from here on concerns it.
  TimerUpdateNum_->stop();
  for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
}

QWidget* IlEditorPage::BuildFileBar() {
  auto* bar = new QWidget(this);
  btnLoadProg_ = MakeNamed<QPushButton>("btnLoadProg", il_texts::kOpen, bar);
  btnSaveProg_ = MakeNamed<QPushButton>("btnSaveProg", il_texts::kSave, bar);
  btnClearILP_ = MakeNamed<QPushButton>("btnClearILP", il_texts::kClear, bar);
  btnCleanUpILP_ = MakeNamed<QPushButton>("btnCleanUpILP", il_texts::kCleanUp, bar);
  auto* wrongLines = new QLabel(ToQt(il_texts::kWrongLines), bar);
  rbWrongLinesClear_ =
      MakeNamed<QRadioButton>("rbWrongLinesClear", il_texts::kWrongLinesClear, bar);
  rbWrongLinesComment_ =
      MakeNamed<QRadioButton>("rbWrongLinesComment", il_texts::kWrongLinesComment, bar);
  rbWrongLinesClear_->setChecked(true);
  btnPrinterIL_ = MakeNamed<QPushButton>("btnPrinterIL", il_texts::kPrint, bar);
  BtnEnumerate_ = MakeNamed<QPushButton>("BtnEnumerate", il_texts::kEnumerate, bar);
  BtnEnumerate_->setToolTip(ToQt(il_texts::kEnumerateHint));
  EditMaxAutoEnumerating_ = new QLineEdit(ToQt(il_texts::kDefaultLimitText), bar);
  EditMaxAutoEnumerating_->setObjectName(QStringLiteral("EditMaxAutoEnumerating"));
  EditMaxAutoEnumerating_->setToolTip(ToQt(il_texts::kLimitHint));
  EditMaxAutoEnumerating_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), bar));
  EditMaxAutoEnumerating_->setMaximumWidth(
      fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);

  // The radio buttons of "Wrong lines:" form their own group, apart from the program kind.
  auto* wrongLinesGroup = new QWidget(bar);
  auto* wrongLinesLayout = new QHBoxLayout(wrongLinesGroup);
  wrongLinesLayout->setContentsMargins(0, 0, 0, 0);
  wrongLinesLayout->addWidget(wrongLines);
  wrongLinesLayout->addWidget(rbWrongLinesClear_);
  wrongLinesLayout->addWidget(rbWrongLinesComment_);

  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{btnLoadProg_, btnSaveProg_, btnClearILP_, btnCleanUpILP_,
                                       wrongLinesGroup, btnPrinterIL_}) {
    layout->addWidget(widget);
  }
  layout->addStretch();
  layout->addWidget(BtnEnumerate_);
  layout->addWidget(EditMaxAutoEnumerating_);
  return bar;
}

QWidget* IlEditorPage::BuildTransferBar() {
  auto* panel = new QWidget(this);
  auto* kindGroup = new QWidget(panel);
  rbMainProgram_ = MakeNamed<QRadioButton>("rbMainProgram", il_texts::kMainProgram, kindGroup);
  rbServiceProgram_ =
      MakeNamed<QRadioButton>("rbServiceProgram", il_texts::kServiceProgram, kindGroup);
  rbMainProgram_->setChecked(true);
  auto* kindLayout = new QHBoxLayout(kindGroup);
  kindLayout->setContentsMargins(0, 0, 0, 0);
  kindLayout->addWidget(rbMainProgram_);
  kindLayout->addWidget(rbServiceProgram_);
  chbxReadProtection_ = new QCheckBox(ToQt(il_texts::kReadProtection), panel);
  chbxReadProtection_->setObjectName(QStringLiteral("chbxReadProtection"));
  btnSendToControllerIL_ =
      MakeNamed<QPushButton>("btnSendToControllerIL", il_texts::kUpload, panel);
  btnReadProgFromController_ =
      MakeNamed<QPushButton>("btnReadProgFromController", il_texts::kRead, panel);
  // Upload and Read need a connected controller; the window enables them once it has one.
  btnSendToControllerIL_->setEnabled(false);
  btnReadProgFromController_->setEnabled(false);
  lblCommandsTransferred_ = new QLabel(ToQt(il_texts::kCommandsTransferred), panel);
  lblCommandsTransferred_->setObjectName(QStringLiteral("lblCommandsTransferred"));
  pbTransfer_ = new QProgressBar(panel);
  pbTransfer_->setObjectName(QStringLiteral("pbTransfer"));
  pbTransfer_->setRange(0, 1);
  pbTransfer_->setValue(0);

  pnlProgramReading_ = new QWidget(panel);
  pnlProgramReading_->setObjectName(QStringLiteral("pnlProgramReading"));
  pnlProgramReading_->setStyleSheet(QStringLiteral("background-color: #fff4c0;"));
  lblProgramReadingCounter_ =
      new QLabel(ToQt(il_texts::kCommandsCount) + QLatin1Char('0'), pnlProgramReading_);
  lblProgramReadingCounter_->setObjectName(QStringLiteral("lblProgramReadingCounter"));
  auto* readingLayout = new QHBoxLayout(pnlProgramReading_);
  readingLayout->addWidget(new QLabel(ToQt(il_texts::kProgramReading), pnlProgramReading_));
  readingLayout->addWidget(lblProgramReadingCounter_);
  readingLayout->addStretch();
  pnlProgramReading_->hide();

  auto* row = new QHBoxLayout;
  row->addWidget(kindGroup);
  row->addWidget(chbxReadProtection_);
  row->addWidget(btnSendToControllerIL_);
  row->addWidget(btnReadProgFromController_);
  row->addSpacing(12);
  row->addWidget(lblCommandsTransferred_);
  row->addWidget(pbTransfer_, 1);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(row);
  layout->addWidget(pnlProgramReading_);
  return panel;
}

void IlEditorPage::BuildColumns() {
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName(QStringLiteral("splitterIL"));
  splitter->setChildrenCollapsible(false);
  RichEditILP_ = MakeColumn<IlProgramEdit>("RichEditILP", false, splitter);
  MemoParamValues_ = MakeColumn<QPlainTextEdit>("MemoParamValues", true, splitter);
  SetBackground(RichEditILP_, kProgramBackground);
  QPalette valuesPalette = MemoParamValues_->palette();
  valuesPalette.setColor(QPalette::Text, kValuesText);
  MemoParamValues_->setPalette(valuesPalette);
  // The values column takes tabs (they go on to the program column).
  MemoParamValues_->setTabChangesFocus(false);

  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);
  static_cast<QVBoxLayout*>(layout())->addWidget(splitter, 1);
  sync_ = new IlColumnSync(RichEditILP_, MemoParamValues_, this);

  TimerUpdateNum_ = new QTimer(this);
  TimerUpdateNum_->setObjectName(QStringLiteral("TimerUpdateNum"));
  TimerUpdateNum_->setSingleShot(true);
  TimerUpdateNum_->setInterval(shell::TCommonDatas::IlNumberingInterval);
}

void IlEditorPage::ConnectSignals() {
  connect(btnLoadProg_, &QPushButton::clicked, this, &IlEditorPage::OpenWithDialog);
  connect(btnSaveProg_, &QPushButton::clicked, this, &IlEditorPage::SaveWithDialog);
  connect(btnClearILP_, &QPushButton::clicked, this, &IlEditorPage::ClearProgram);
  connect(btnCleanUpILP_, &QPushButton::clicked, this, &IlEditorPage::CleanUp);
  connect(btnPrinterIL_, &QPushButton::clicked, this, &IlEditorPage::PrintWithDialog);
  connect(BtnEnumerate_, &QPushButton::clicked, this, &IlEditorPage::Enumerate);
  connect(EditMaxAutoEnumerating_, &QLineEdit::editingFinished, this,
          &IlEditorPage::LimitEditingDone);
  connect(RichEditILP_, &QPlainTextEdit::textChanged, this, &IlEditorPage::TextChanged);
  connect(MemoParamValues_, &QPlainTextEdit::textChanged, this, &IlEditorPage::TextChanged);
  connect(RichEditILP_->document(), &QTextDocument::contentsChange, this,
          [this](int position, int, int) { NoteChange(position); });
  connect(TimerUpdateNum_, &QTimer::timeout, this, &IlEditorPage::TimerUpdateNumTimer);
}

std::vector<std::string> IlEditorPage::ProgramLines() const { return ColumnLines(RichEditILP_); }

bool IlEditorPage::ProgramEmpty() const { return RichEditILP_->document()->isEmpty(); }

const std::vector<std::string>& IlEditorPage::NumberLines() const {
  return RichEditILP_->Numbers();
}

QPlainTextEdit* IlEditorPage::ProgramColumn() const { return RichEditILP_; }

void IlEditorPage::SetProgramText(const QString& text) { RichEditILP_->setPlainText(text); }

void IlEditorPage::SetProgramLines(const std::vector<std::string>& lines) {
  ReplaceProgramLines(lines);
  RenumberLines(0);
}

void IlEditorPage::ReplaceLine(int index, const std::string& text) {
  const QTextBlock block = RichEditILP_->document()->findBlockByNumber(index);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.insertText(ToQt(text));
}

void IlEditorPage::HighlightLine(int line) {
  const QTextBlock block = RichEditILP_->document()->findBlockByNumber(line);
  if (!block.isValid()) return;
  SetCurrentInstrStr(line);
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  RichEditILP_->setTextCursor(cursor);
  RichEditILP_->ensureCursorVisible();
  RichEditILP_->setFocus(Qt::OtherFocusReason);
}

int IlEditorPage::ProgramLineCount() const { return ColumnLineCount(RichEditILP_); }

bool IlEditorPage::ServiceProgramChosen() const { return rbServiceProgram_->isChecked(); }

bool IlEditorPage::ReadProtectionChosen() const { return chbxReadProtection_->isChecked(); }

void IlEditorPage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shownOnce_) {
    shownOnce_ = true;
    TimerUpdateNum_->start();
  }
}

void IlEditorPage::ReadLimitBox() {
  const program_model::RenumberLimit limit =
      program_model::ReadRenumberLimit(ToStd(EditMaxAutoEnumerating_->text()));
  if (limit.TextReplaced) EditMaxAutoEnumerating_->setText(ToQt(il_texts::kDefaultLimitText));
  editor_.SetLimit(limit.Value);
}

void IlEditorPage::TextChanged() {
  if (!editor_.NumberingEnabled()) return;
  ReadLimitBox();
  switch (editor_.TextChanged(ProgramLineCount())) {
    case program_model::ChangeAction::EmptyNumbers:
      TimerUpdateNum_->stop();
      EmptyNumbers();
      break;
    case program_model::ChangeAction::StartTimer:
      TimerUpdateNum_->start();
      break;
    case program_model::ChangeAction::None:
      break;
  }
}

void IlEditorPage::NoteChange(int position) {
  editor_.NoteChange(RichEditILP_->document()->findBlock(position).blockNumber());
}

void IlEditorPage::TimerUpdateNumTimer() {
  const int start = editor_.RenumberStart(RichEditILP_->textCursor().blockNumber(),
                                          ProgramLineCount(), NumberLines().empty());
  RenumberLines(start);
}

void IlEditorPage::LimitEditingDone() {
  ReadLimitBox();
  switch (editor_.LimitChanged(ProgramLineCount(), static_cast<int>(NumberLines().size()))) {
    case program_model::LimitAction::EmptyNumbers:
      EmptyNumbers();
      break;
    case program_model::LimitAction::Enumerate:
      Enumerate();
      break;
    case program_model::LimitAction::None:
      break;
  }
}

void IlEditorPage::RenumberLines(int start) {
  if (!editor_.NumberingEnabled()) return;
  const std::vector<std::string> program = ProgramLines();
  std::vector<std::string> numbers = NumberLines();
  if (editor_.RenumberLines(start, program, numbers)) SetNumbers(std::move(numbers));
}

void IlEditorPage::EmptyNumbers() {
  if (!NumberLines().empty()) SetNumbers({});
}

void IlEditorPage::SetNumbers(std::vector<std::string> numbers) {
  RichEditILP_->SetNumbers(std::move(numbers));
}

void IlEditorPage::ReplaceProgramLines(const std::vector<std::string>& lines) {
  // Through a cursor, so the change is one step the user can undo.
  QTextCursor cursor(RichEditILP_->document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(JoinLines(lines));
}

void IlEditorPage::Enumerate() {
  if (editor_.EnumerateRunning()) return;
  editor_.SetEnumerateRunning(true);
  const bool hadFocus = RichEditILP_->hasFocus();
  SetBackground(RichEditILP_, kEnumeratingBackground);
  RichEditILP_->setEnabled(false);
  BtnEnumerate_->setEnabled(false);
  RenumberLines(0);
  BtnEnumerate_->setEnabled(true);
  SetBackground(RichEditILP_, kProgramBackground);
  RichEditILP_->setEnabled(true);
  if (hadFocus) RichEditILP_->setFocus(Qt::OtherFocusReason);
  editor_.SetEnumerateRunning(false);
}

void IlEditorPage::LoadProgramFile(const QString& path) {
  ClearAnswer answer = ClearAnswer::No;
  if (!RichEditILP_->document()->isEmpty()) answer = clearAsker_();
  if (answer == ClearAnswer::Cancel) return;
  // The file is read before anything is cleared: a file that cannot be read costs no program.
  program_model::ProgramFile file = program_model::ReadProgramFile(ToStd(path));
  if (!file.Read) {
    showMessage_(ToQt(il_texts::kFileErrorTitle), ToQt(file.Error));
    return;
  }
  std::vector<std::string> program = ProgramLines();
  program_model::ApplyLoadedLines(program, std::move(file.Lines), answer);
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  editor_.SetNumberingEnabled(false);
  ReplaceProgramLines(program);
  editor_.SetNumberingEnabled(true);
  RenumberLines(0);
  QGuiApplication::restoreOverrideCursor();
}

bool IlEditorPage::SaveProgramFile(const QString& path) {
  const program_model::SaveResult result =
      program_model::SaveProgramFile(ToStd(path), ProgramLines());
  if (!result.Saved) showMessage_(ToQt(il_texts::kFileErrorTitle), ToQt(result.Error));
  return result.Saved;
}

void IlEditorPage::ClearProgram() {
  ReplaceProgramLines({});
  MemoParamValues_->clear();
}

void IlEditorPage::CleanUp() {
  std::vector<std::string> lines = ProgramLines();
  program_model::CleanUpProgram(lines, rbWrongLinesComment_->isChecked()
                                           ? program_model::WrongLines::Comment
                                           : program_model::WrongLines::Clear);
  ReplaceProgramLines(lines);
}

void IlEditorPage::SetCurrentInstrStr(int line) {
  QTextDocument* document = RichEditILP_->document();
  if (document->isEmpty()) return;
  if (line < 0 || line >= document->blockCount()) line = 0;
  if (RichEditILP_->textCursor().blockNumber() == line) return;
  IlColumnSync::Pause pause(*sync_);
  RichEditILP_->setTextCursor(QTextCursor(document->findBlockByNumber(line)));
  const QTextBlock valuesBlock = MemoParamValues_->document()->findBlockByNumber(line);
  if (valuesBlock.isValid()) MemoParamValues_->setTextCursor(QTextCursor(valuesBlock));
  RichEditILP_->setFocus(Qt::OtherFocusReason);
}

int IlEditorPage::PrintProgram(QPrinter& printer) {
  return PrintIlListing(printer, NumberLines(), ProgramLines(), RichEditILP_->font());
}

void IlEditorPage::ShowReadingPanel(bool shown) { pnlProgramReading_->setVisible(shown); }

void IlEditorPage::ShowReadingCount(int count) {
  lblProgramReadingCounter_->setText(ToQt(il_texts::kCommandsCount) + QString::number(count));
}

void IlEditorPage::ShowTransferProgress(int transferred, int total) {
  lblCommandsTransferred_->setText(ToQt(il_texts::kCommandsTransferred) +
                                   QString::number(transferred));
  pbTransfer_->setRange(0, std::max(total, 1));
  pbTransfer_->setValue(std::clamp(transferred, 0, std::max(total, 1)));
}

void IlEditorPage::ShowReadProgress(int count, bool running) {
  lblCommandsTransferred_->setText(ToQt(il_texts::kCommandsTransferred) + QString::number(count));
  if (running) {
    pbTransfer_->setRange(0, 0);
  } else {
    pbTransfer_->setRange(0, std::max(count, 1));
    pbTransfer_->setValue(count);
  }
}

void IlEditorPage::SetTransferEnabled(bool enabled) {
  btnSendToControllerIL_->setEnabled(enabled);
  btnReadProgFromController_->setEnabled(enabled);
}

void IlEditorPage::OpenWithDialog() {
  const QString path = QFileDialog::getOpenFileName(
      this, ToQt(il_texts::kOpen), {}, ProgramFileFilters().join(QStringLiteral(";;")));
  if (!path.isEmpty()) LoadProgramFile(path);
}

void IlEditorPage::SaveWithDialog() {
  QFileDialog dialog(this, ToQt(il_texts::kSave));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(ProgramFileFilters());
  dialog.setDefaultSuffix(ToQt(il_texts::kDefaultSuffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveProgramFile(dialog.selectedFiles().constFirst());
}

void IlEditorPage::PrintWithDialog() {
  if (RichEditILP_->document()->isEmpty()) return;
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() == QDialog::Accepted) PrintProgram(printer);
}

void IlEditorPage::PrintToPdfWithDialog() {
  if (RichEditILP_->document()->isEmpty()) return;
  QFileDialog dialog(this, ToQt(il_texts::kPrint));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(ToQt(il_texts::kFileFilterPdf));
  dialog.setDefaultSuffix(ToQt(il_texts::kPdfSuffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().constFirst();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  if (PrintProgram(printer) == 0) {
    showMessage_(ToQt(il_texts::kFileErrorTitle), ToQt(il_texts::kPrintFailed) + path);
  }
}

}  // namespace quarn::ui
