#include "program_model/il_editor.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "program_model/il_editor_texts.h"
#include "tests/support/temp_folder.h"

namespace quarn::program_model {
namespace {

using Lines = std::vector<std::string>;
using test_support::ReadText;
using test_support::TempFolder;
using test_support::WriteText;

// The numbers a whole program gets, the reference every partial renumbering must reach.
Lines FullNumbers(const Lines& program) {
  IlEditor editor;
  editor.SetEnumerateRunning(true);
  Lines numbers;
  editor.RenumberLines(0, program, numbers);
  return numbers;
}

Lines ProgramOf(int instructions) {
  Lines program;
  for (int k = 0; k < instructions; ++k) program.push_back(k % 2 == 0 ? "LD\tM0" : "OUT\tY0");
  return program;
}

TEST(IlEditorNumbering, InstructionsAreCountedAndOtherLinesLeftBlank) {
  IlEditor editor;
  const Lines program = {"LD\tM0", "",       "// start the motor", "OUT\tY0", "MOV\tK3000",
                         "; note", "  \tEND"};
  Lines numbers;
  EXPECT_TRUE(editor.RenumberLines(0, program, numbers));
  EXPECT_EQ(numbers, (Lines{"0->  ", " ", " ", "1->  ", " ", " ", "2->  "}));
  EXPECT_EQ(editor.LineCountAtLastNumbering(), 7);
}

TEST(IlEditorNumbering, InstructionLineSkipsCommentsAndWrongLines) {
  const Lines program = {"// head", "LD\tM0", "", "MOV\tK3000", "OUT\tY0", "; note", "END"};
  struct Case {
    int instruction;
    int line;
  };
  for (const Case c : {Case{0, 1}, Case{1, 4}, Case{2, 6}, Case{3, -1}, Case{-1, -1}}) {
    EXPECT_EQ(InstructionLine(program, c.instruction), c.line) << c.instruction;
  }
}

TEST(IlEditorNumbering, LimitLeavesLongProgramsUnnumberedUntilEnumerate) {
  IlEditor editor;
  const Lines program = ProgramOf(600);
  Lines numbers = {"stale"};
  EXPECT_EQ(editor.TextChanged(600), ChangeAction::EmptyNumbers);
  EXPECT_TRUE(editor.RenumberLines(0, program, numbers));  // emptied
  EXPECT_TRUE(numbers.empty());
  EXPECT_FALSE(editor.RenumberLines(3, program, numbers));  // nothing to do past the limit
  EXPECT_TRUE(numbers.empty());

  editor.SetEnumerateRunning(true);
  EXPECT_TRUE(editor.RenumberLines(0, program, numbers));
  ASSERT_EQ(numbers.size(), 600u);
  EXPECT_EQ(numbers.back(), "599->  ");
  editor.SetEnumerateRunning(false);

  // Raising the limit fills a short numbers column at once, and only a short one.
  editor.SetLimit(600);
  EXPECT_EQ(editor.TextChanged(600), ChangeAction::StartTimer);
  EXPECT_EQ(editor.LimitChanged(600, 0), LimitAction::Enumerate);
  EXPECT_EQ(editor.LimitChanged(600, 600), LimitAction::None);
  editor.SetLimit(599);
  EXPECT_EQ(editor.LimitChanged(600, 600), LimitAction::EmptyNumbers);
}

TEST(IlEditorNumbering, DisabledNumberingTouchesNothing) {
  IlEditor editor;
  editor.SetNumberingEnabled(false);
  Lines numbers = {"7->  "};
  EXPECT_EQ(editor.TextChanged(1), ChangeAction::None);
  EXPECT_FALSE(editor.RenumberLines(0, {"LD\tM0"}, numbers));
  EXPECT_EQ(numbers, Lines{"7->  "});
}

TEST(IlEditorNumbering, LimitText) {
  struct Case {
    std::string text;
    int value;
    bool replaced;
  };
  const Case cases[] = {{"500", 500, false}, {"600", 600, false}, {"0", 0, false},
                        {" 42 ", 42, false}, {"", 500, true},     {"abc", 500, true},
                        {"12a", 500, true},  {"-5", 500, true},   {"99999999999", 500, true}};
  for (const Case& c : cases) {
    const RenumberLimit limit = ReadRenumberLimit(c.text);
    EXPECT_EQ(limit.Value, c.value) << c.text;
    EXPECT_EQ(limit.TextReplaced, c.replaced) << c.text;
  }
}

TEST(IlEditorNumbering, StartLineAfterEdits) {
  struct Case {
    const char* what;
    int lastCount;
    int lineCount;
    int caret;
    int firstChanged;  // -1: no change noted
    bool numbersEmpty;
    int start;
  };
  const Case cases[] = {
      {"numbers empty", 10, 10, 7, -1, true, 0},
      {"typing in a line", 10, 10, 7, 7, false, 6},
      {"two lines inserted above the caret", 10, 12, 7, 5, false, 4},
      {"lines deleted", 10, 8, 5, 5, false, 4},
      {"caret on the first line", 10, 10, 0, 0, false, 0},
      {"edit far above the caret", 10, 10, 9, 2, false, 2},
  };
  for (const Case& c : cases) {
    IlEditor editor;
    editor.SetEnumerateRunning(true);
    Lines numbers;
    editor.RenumberLines(0, ProgramOf(c.lastCount), numbers);
    if (c.firstChanged >= 0) editor.NoteChange(c.firstChanged);
    EXPECT_EQ(editor.RenumberStart(c.caret, c.lineCount, c.numbersEmpty), c.start) << c.what;
  }
}

// Each edit is renumbered from the start line the editor picks; the result must equal numbering
// the edited program from scratch.
TEST(IlEditorNumbering, PartialRenumberingMatchesFullNumbering) {
  const Lines original = {"LD\tX0", "// blink",    "ANI\tT1", "",   "TMR\tT0\tK5",
                          "LD\tT0", "TMR\tT1\tK5", "OUT\tY0", "END"};
  struct Edit {
    const char* what;
    int line;   // where the text changed
    int caret;  // where the caret is when the timer fires
    Lines program;
  };
  Lines twoInserted = original;
  twoInserted.insert(twoInserted.begin() + 2, {"LD\tM1", "OUT\tY1"});
  Lines deleted = original;
  deleted.erase(deleted.begin() + 2, deleted.begin() + 5);
  Lines commentMadeCode = original;
  commentMadeCode[1] = "LD\tM7";
  Lines codeMadeComment = original;
  codeMadeComment[5] = "// LD\tT0";
  Lines truncated(original.begin(), original.begin() + 4);
  const Edit edits[] = {
      {"two lines inserted", 2, 4, twoInserted},
      {"three lines deleted", 2, 2, deleted},
      {"a comment becomes an instruction", 1, 1, commentMadeCode},
      {"an instruction becomes a comment", 5, 5, codeMadeComment},
      {"edit away from the caret", 1, 8, commentMadeCode},
      {"the end cut off", 4, 3, truncated},
  };
  for (const Edit& edit : edits) {
    IlEditor editor;
    Lines numbers;
    editor.RenumberLines(0, original, numbers);
    editor.NoteChange(edit.line);
    const int count = static_cast<int>(edit.program.size());
    const int start = editor.RenumberStart(edit.caret, count, numbers.empty());
    EXPECT_TRUE(editor.RenumberLines(start, edit.program, numbers)) << edit.what;
    EXPECT_EQ(numbers, FullNumbers(edit.program)) << edit.what;
  }
}

TEST(IlEditorNumbering, WalkBackReadsTheLastNumberAboveTheStart) {
  IlEditor editor;
  const Lines program = {"LD\tM0", "", "OUT\tY0", "END"};
  Lines numbers = {"41->  ", " ", " ", " ", "extra"};
  EXPECT_TRUE(editor.RenumberLines(2, program, numbers));
  EXPECT_EQ(numbers, (Lines{"41->  ", " ", "42->  ", "43->  "}));

  numbers = {"x->  ", " ", " ", " "};  // no number: counting starts again at 0
  editor.RenumberLines(2, program, numbers);
  EXPECT_EQ(numbers[2], "0->  ");

  numbers = {"LD"};  // shorter than the program: padded before the walk
  editor.RenumberLines(3, program, numbers);
  EXPECT_EQ(numbers, (Lines{"LD", " ", " ", "0->  "}));
}

TEST(IlEditorFiles, FileLinesDropEmptyLinesAndKeepEveryCharacter) {
  EXPECT_EQ(ProgramFileLines("LD\tM0\r\n\r\nOUT\tY0\n\nEND"), (Lines{"LD\tM0", "OUT\tY0", "END"}));
  EXPECT_EQ(ProgramFileLines("A\rB\r\rC\n"), (Lines{"A", "B", "C"}));
  EXPECT_EQ(ProgramFileLines("\xEF\xBB\xBFLD\tM0\n"), Lines{"LD\tM0"});
  EXPECT_EQ(ProgramFileLines("// Motor \xC3\xBC\n"), Lines{"// Motor \xC3\xBC"});
  // Latin-1 bytes come in as the same characters in UTF-8.
  EXPECT_EQ(ProgramFileLines("// Motor \xFC\n"), Lines{"// Motor \xC3\xBC"});
  EXPECT_EQ(ProgramFileLines("// \xED\xA0\x80\n"), Lines{"// \xC3\xAD\xC2\xA0\xC2\x80"});
  EXPECT_TRUE(ProgramFileLines("").empty());
  EXPECT_TRUE(ProgramFileLines("\n\r\n").empty());
}

TEST(IlEditorFiles, LoadAnswers) {
  const Lines file = {"LD\tX1", "OUT\tY1"};
  Lines program = {"LD\tM0", ""};
  ApplyLoadedLines(program, file, ClearAnswer::Cancel);
  EXPECT_EQ(program, (Lines{"LD\tM0", ""}));
  ApplyLoadedLines(program, file, ClearAnswer::No);
  EXPECT_EQ(program, (Lines{"LD\tM0", "LD\tX1", "OUT\tY1"}));
  ApplyLoadedLines(program, file, ClearAnswer::Yes);
  EXPECT_EQ(program, file);
  Lines empty;
  ApplyLoadedLines(empty, file, ClearAnswer::No);
  EXPECT_EQ(empty, file);
}

TEST(IlEditorFiles, ReadRefusesWhatIsNoProgramFile) {
  TempFolder folder;
  WriteText(folder / "blink.il", "LD\tX0\n\nOUT\tY0\n");
  const ProgramFile good = ReadProgramFile(folder / "blink.il");
  EXPECT_TRUE(good.Read);
  EXPECT_EQ(good.Lines, (Lines{"LD\tX0", "OUT\tY0"}));

  const ProgramFile missing = ReadProgramFile(folder / "none.il");
  EXPECT_FALSE(missing.Read);
  EXPECT_EQ(missing.Error, std::string(il_texts::kFileNotFound) + (folder / "none.il"));
  EXPECT_EQ(ReadProgramFile(folder.Path()).Error,
            std::string(il_texts::kFileNotAFile) + folder.Path());
  EXPECT_FALSE(ReadProgramFile("/dev/zero").Read);

  std::filesystem::resize_file(folder / "blink.il", kMaxProgramFileBytes + 1);
  EXPECT_EQ(ReadProgramFile(folder / "blink.il").Error,
            std::string(il_texts::kFileTooLarge) + (folder / "blink.il"));
}

TEST(IlEditorFiles, SaveWritesEveryLineOnceAndFailsCleanly) {
  TempFolder folder;
  const std::string path = folder / "prog.txt";
  EXPECT_EQ(ProgramFileContent({"LD\tM0", "OUT\tY0", ""}), "LD\tM0\nOUT\tY0\n");
  EXPECT_EQ(ProgramFileContent({"LD\tM0", "", "END"}), "LD\tM0\n\nEND\n");
  EXPECT_EQ(ProgramFileContent({}), "");

  WriteText(path, "old program\n");
  ::chmod(path.c_str(), 0640);
  EXPECT_TRUE(SaveProgramFile(path, {"LD\tM0", "END", ""}).Saved);
  EXPECT_EQ(ReadText(path), "LD\tM0\nEND\n");
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_write |
                                                             std::filesystem::perms::group_read);
  EXPECT_EQ(test_support::FileNames(folder.Path()), Lines{"prog.txt"});  // no temporary left

  // Saving through a link keeps the link and writes its target.
  std::filesystem::create_symlink(path, folder / "link.txt");
  EXPECT_TRUE(SaveProgramFile(folder / "link.txt", {"OUT\tY1"}).Saved);
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.txt"));
  EXPECT_EQ(ReadText(path), "OUT\tY1\n");

  const std::string nowhere = folder / "missing/prog.txt";
  const SaveResult failed = SaveProgramFile(nowhere, {"LD\tM0"});
  EXPECT_FALSE(failed.Saved);
  EXPECT_EQ(failed.Error, std::string(il_texts::kFileNotSaved) + nowhere);
}

TEST(IlEditorFiles, ANewFileHonoursTheUmask) {
  TempFolder folder;
  const mode_t previous = ::umask(0);
  for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{002}}) {
    ::umask(mask);
    const std::string path = folder / ("new-" + std::to_string(mask) + ".txt");
    EXPECT_TRUE(SaveProgramFile(path, {"END"}).Saved);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666 & ~mask) << std::oct << mask;
  }
  ::umask(previous);
}

TEST(IlEditorKeys, ScrollStepOfNavigationKeys) {
  using K = NavigationKey;
  struct Case {
    K key;
    int caret, first, visible;
    std::optional<int> target;
  };
  const Case cases[] = {
      {K::Down, 29, 10, 20, 11},            // caret on the last visible line
      {K::Down, 15, 10, 20, std::nullopt},  // caret inside the view
      {K::Down, 10, 10, 20, std::nullopt},  // caret on the first visible line
      {K::Up, 10, 10, 20, 9},
      {K::Up, 15, 10, 20, std::nullopt},
      {K::Up, 29, 10, 20, std::nullopt},
      {K::PageDown, 15, 10, 20, 29},
      {K::PageUp, 15, 40, 20, 21},
      {K::PageUp, 5, 0, 20, 0},  // never above the first line
      {K::Up, 0, 0, 20, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FirstVisibleAfterKey(c.key, c.caret, c.first, c.visible), c.target)
        << static_cast<int>(c.key) << " caret " << c.caret << " first " << c.first;
  }
}

TEST(IlEditorPrinting, LineTextsAndPaging) {
  EXPECT_EQ(PrintLineText("0->  ", "LD\tM0"), "0->  \tLD\tM0");
  EXPECT_EQ(PrintLineText(" ", "\t// note"), " \t// note");
  EXPECT_EQ(PrintLineText("1->  ", "MOV\t\t\tK1\tD0"), "1->  \tMOV\t\tK1\tD0");
  EXPECT_TRUE(IsNumberedPrintLine("0->  "));
  EXPECT_FALSE(IsNumberedPrintLine(" "));

  EXPECT_EQ(SplitAtComment("0->  \tLD\tM0 // start").first, "0->  \tLD\tM0 ");
  EXPECT_EQ(SplitAtComment("0->  \tLD\tM0 // start").second, "// start");
  EXPECT_EQ(SplitAtComment("LD\tM0").second, "");

  EXPECT_EQ(PrintLineStep(100), 120);
  EXPECT_EQ(PrintLineStep(14), 17);  // 16.8 rounded
  const int page = 1000;
  EXPECT_EQ(NextPrintLine(200, 120, page).Top, 320);
  EXPECT_FALSE(NextPrintLine(680, 120, page).NewPage);  // 800 is still on the page
  const PrintPosition next = NextPrintLine(700, 120, page);
  EXPECT_TRUE(next.NewPage);
  EXPECT_EQ(next.Top, kPrintMargin);
}

TEST(IlEditorMenu, EnableRules) {
  struct Case {
    bool undo, selection, clipboard, readOnly;
    EditMenuState state;
  };
  const Case cases[] = {
      {false, false, false, false, {false, false, false, false, false, true}},
      {true, true, true, false, {true, true, true, true, true, true}},
      {true, false, true, false, {true, false, false, true, false, true}},
      {true, true, true, true, {false, false, true, false, false, true}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EditMenuFor(c.undo, c.selection, c.clipboard, c.readOnly), c.state);
  }
}

}  // namespace
}  // namespace quarn::program_model
