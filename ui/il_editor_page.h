// The "Instructions List Mode" page: the IL program with its numbers and values columns, the
// file, clean-up, numbering and print commands, and the program transfer controls. The rules are
// program_model::IlEditor's; this page holds the text and forwards events.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "program_model/il_editor.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace quarn::ui {

class IlColumnSync;
class IlProgramEdit;

class IlEditorPage : public QWidget {
  Q_OBJECT

 public:
  // Answers "The program list is not empty. Clear the list?".
  using ClearAsker = std::function<program_model::ClearAnswer()>;
  // Tells the user about a failure (title, text).
  using MessageShower = std::function<void(const QString&, const QString&)>;

  explicit IlEditorPage(QWidget* parent = nullptr);
  ~IlEditorPage() override;

  void SetClearAsker(ClearAsker asker) { clearAsker_ = std::move(asker); }
  void SetMessageShower(MessageShower shower) { showMessage_ = std::move(shower); }

  // The columns' lines: one per text block, none for an empty column.
  std::vector<std::string> ProgramLines() const;
  bool ProgramEmpty() const;
  const std::vector<std::string>& NumberLines() const;
  void SetProgramText(const QString& text);
  // Fills the program column (a program read from the controller) and numbers it afresh.
  void SetProgramLines(const std::vector<std::string>& lines);
  // Replaces one line of the program column (an upload turned it into a comment line).
  void ReplaceLine(int index, const std::string& text);
  // Selects the whole line in the program column and scrolls to it.
  void HighlightLine(int line);

  // Loads a program file into the program column (asking first when it is not empty).
  void LoadProgramFile(const QString& path);
  // Saves the program column; false (after telling the user) when the file was not written.
  bool SaveProgramFile(const QString& path);
  void ClearProgram();
  void CleanUp();
  // Renumbers the whole program whatever the limit.
  void Enumerate();
  // Recomputes the numbers column from that line on.
  void RenumberLines(int start);
  // Puts the caret at the start of the line in all three columns (line 0 past the end).
  void SetCurrentInstrStr(int line);
  // Prints the listing; answers the pages printed.
  int PrintProgram(QPrinter& printer);

  // Program download progress: the reading panel and its "Commands: " count.
  void ShowReadingPanel(bool shown);
  void ShowReadingCount(int count);
  // Upload progress: "Commands transferred: " and the bar.
  void ShowTransferProgress(int transferred, int total);
  // Download progress: the commands read so far; the bar runs without an end while the
  // reading lasts, since the program's length is not known before its end arrives.
  void ShowReadProgress(int count, bool running);
  // Upload and Read need a connected controller.
  void SetTransferEnabled(bool enabled);

  // The dialogs behind the buttons and menu items.
  void OpenWithDialog();
  void SaveWithDialog();
  void PrintWithDialog();
  void PrintToPdfWithDialog();

  const program_model::IlEditor& Editor() const { return editor_; }
  QPlainTextEdit* ProgramColumn() const;
  QPushButton* UploadButton() const { return btnSendToControllerIL_; }
  QPushButton* ReadButton() const { return btnReadProgFromController_; }
  bool ServiceProgramChosen() const;
  bool ReadProtectionChosen() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildColumns();
  QWidget* BuildFileBar();
  QWidget* BuildTransferBar();
  void ConnectSignals();
  void TextChanged();
  void NoteChange(int position);
  void TimerUpdateNumTimer();
  void LimitEditingDone();
  void ReadLimitBox();
  void EmptyNumbers();
  void SetNumbers(std::vector<std::string> numbers);
  void ReplaceProgramLines(const std::vector<std::string>& lines);
  int ProgramLineCount() const;

  program_model::IlEditor editor_;
  ClearAsker clearAsker_;
  MessageShower showMessage_;
  bool shownOnce_ = false;

  IlProgramEdit* RichEditILP_ = nullptr;
  QPlainTextEdit* MemoParamValues_ = nullptr;
  IlColumnSync* sync_ = nullptr;
  QTimer* TimerUpdateNum_ = nullptr;

  QPushButton* btnLoadProg_ = nullptr;
  QPushButton* btnSaveProg_ = nullptr;
  QPushButton* btnClearILP_ = nullptr;
  QPushButton* btnCleanUpILP_ = nullptr;
  QRadioButton* rbWrongLinesClear_ = nullptr;
  QRadioButton* rbWrongLinesComment_ = nullptr;
  QPushButton* btnPrinterIL_ = nullptr;
  QPushButton* BtnEnumerate_ = nullptr;
  QLineEdit* EditMaxAutoEnumerating_ = nullptr;

  QRadioButton* rbMainProgram_ = nullptr;
  QRadioButton* rbServiceProgram_ = nullptr;
  QCheckBox* chbxReadProtection_ = nullptr;
  QPushButton* btnSendToControllerIL_ = nullptr;
  QPushButton* btnReadProgFromController_ = nullptr;
  QLabel* lblCommandsTransferred_ = nullptr;
  QProgressBar* pbTransfer_ = nullptr;
  QWidget* pnlProgramReading_ = nullptr;
  QLabel* lblProgramReadingCounter_ = nullptr;
};

}  // namespace quarn::ui
