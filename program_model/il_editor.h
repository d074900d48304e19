// The IL editor's rules without its widgets: numbering of the instruction lines, when and from
// where to renumber, loading and saving program files, the scroll step of the navigation keys,
// the lines of a printed listing and the edit menu's enable rules.
//
// The editor shows three columns of equal line count: instruction numbers, the program and the
// operand values. Line k of each column belongs to line k of the program. The widgets hold the
// text; they hand it here as lines (one per text block, a trailing line end giving a last empty
// line) and show what comes back.
#pragma once

#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarn::program_model {

inline constexpr int kDefaultRenumberLimit = 500;

// "12->  " for instruction 12.
std::string NumberText(int number);

// The limit box's text as a number. A text that is no number gives the default, and the box is
// to show the default text again.
struct RenumberLimit {
  int Value = kDefaultRenumberLimit;
  bool TextReplaced = false;
};
RenumberLimit ReadRenumberLimit(std::string_view text);

// What a change of the program (or values) column asks the page to do.
enum class ChangeAction { None, EmptyNumbers, StartTimer };
// What a new renumbering limit asks the page to do.
enum class LimitAction { None, EmptyNumbers, Enumerate };

// Numbering state of one editor page. Lives on the window's thread.
class IlEditor {
 public:
  int Limit() const { return limit_; }
  void SetLimit(int limit) { limit_ = limit; }

  // Cleared while a file is being loaded: the text then changes without renumbering.
  bool NumberingEnabled() const { return numberingEnabled_; }
  void SetNumberingEnabled(bool enabled) { numberingEnabled_ = enabled; }

  // Enumerate renumbers the whole program whatever the limit says.
  bool EnumerateRunning() const { return enumerateRunning_; }
  void SetEnumerateRunning(bool running) { enumerateRunning_ = running; }

  int LineCountAtLastNumbering() const { return lastLineCount_; }

  // The program's text changed from that line on.
  void NoteChange(int line);

  // On every change of the text: empty the numbers while the program is longer than the limit
  // (numbering it after every keystroke would make typing slow), else renumber shortly.
  ChangeAction TextChanged(int lineCount) const;

  // After a new limit: numbers appear at once when they now may and some are missing.
  LimitAction LimitChanged(int lineCount, int numbersLineCount) const;

  // The line the renumbering after a burst of edits starts from. The caret tells where the
  // user typed; lines inserted or deleted since the last numbering move that start up, and it
  // never lies below the first line changed, so an edit away from the caret is numbered too.
  int RenumberStart(int caretLine, int lineCount, bool numbersEmpty) const;

  // Recomputes the numbers column from the start line on. Answers whether numbers was changed
  // (the page then shows it afresh). Does nothing while numbering is disabled, and leaves the
  // numbers (empty from line 0) while the program is longer than the limit and no Enumerate runs.
  bool RenumberLines(int start, const std::vector<std::string>& program,
                     std::vector<std::string>& numbers);

 private:
  int limit_ = kDefaultRenumberLimit;
  bool numberingEnabled_ = true;
  bool enumerateRunning_ = false;
  int lastLineCount_ = 0;
  int firstChangedLine_ = INT_MAX;
};

// Loading and saving program files.

enum class ClearAnswer { Yes, No, Cancel };

// A program file holds a few hundred kilobytes at most; anything this large is not one.
inline constexpr std::size_t kMaxProgramFileBytes = std::size_t{16} << 20;

struct ProgramFile {
  bool Read = false;
  std::vector<std::string> Lines;  // the file's lines without the empty ones
  std::string Error;               // why it was not read, for the user
};

// Reads a program text file. Folders, devices and oversized files are refused without reading.
ProgramFile ReadProgramFile(const std::string& path);

// The non-empty lines of a file's bytes. LF, CR LF and a lone CR end a line. Text that is not
// UTF-8 is taken as Latin-1, so no character of an older file is lost.
std::vector<std::string> ProgramFileLines(std::string_view bytes);

// The program after loading: Yes replaces it, No appends the file's lines. Cancel leaves it.
void ApplyLoadedLines(std::vector<std::string>& program, std::vector<std::string> fileLines,
                      ClearAnswer answer);

// The file content of the program: every line followed by a line end, except an empty last line
// (the editor's trailing line end, which would otherwise grow by one on every save).
std::string ProgramFileContent(const std::vector<std::string>& program);

struct SaveResult {
  bool Saved = false;
  std::string Error;
};
// Writes the program through a temporary file beside the target and renames it into place, so a
// failed save never leaves a truncated program behind.
SaveResult SaveProgramFile(const std::string& path, const std::vector<std::string>& program);

// Navigation keys: the scroll step a key causes, so all three columns scroll alike.

enum class NavigationKey { PageUp, PageDown, Up, Down };

// The first visible line after the key, or nothing when the key does not scroll. caret is the
// caret line, first the first visible line and visible the number of lines the column shows.
std::optional<int> FirstVisibleAfterKey(NavigationKey key, int caret, int first, int visible);

// Printing.

// Margin of the printed page at the left, top and bottom, in printer pixels.
inline constexpr int kPrintMargin = 200;

// The printed text of one line: its number, a tab and the program line, with every double tab
// made one.
std::string PrintLineText(std::string_view numberText, std::string_view programLine);

// A line's first visual line is drawn with its tabs expanded when it carries an instruction
// number ("0->  ", more than two characters); other lines are drawn plainly.
bool IsNumberedPrintLine(std::string_view numberText);

// The part before the first "//" and the rest.
std::pair<std::string_view, std::string_view> SplitAtComment(std::string_view visualLine);

// Distance from one printed line to the next.
int PrintLineStep(int textHeight);

// Top of the next printed line, or of a new page at the top margin once it passes the page's
// bottom margin.
struct PrintPosition {
  int Top = kPrintMargin;
  bool NewPage = false;
};
PrintPosition NextPrintLine(int top, int step, int pageHeight);

// Edit context menu.

struct EditMenuState {
  bool Undo = false;
  bool Cut = false;
  bool Copy = false;
  bool Paste = false;
  bool Delete = false;
  bool SelectAll = true;
  friend bool operator==(const EditMenuState&, const EditMenuState&) = default;
};

// Undo only when undo is possible; Cut, Copy and Delete only with a selection; Paste only with
// text on the clipboard. A read-only column offers no command that would change it.
EditMenuState EditMenuFor(bool canUndo, bool hasSelection, bool clipboardHasText, bool readOnly);

}  // namespace quarn::program_model
