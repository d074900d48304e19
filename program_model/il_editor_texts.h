// Texts of the IL editor page shown to the user, kept in one place so tests can name them.
#pragma once

#include <string_view>

namespace quarn::program_model::il_texts {

// Number column: an instruction's number is followed by this; a line that is no instruction
// shows a single blank.
inline constexpr std::string_view kNumberSuffix = "->  ";
inline constexpr std::string_view kNoNumber = " ";

// Renumbering limit box.
inline constexpr std::string_view kDefaultLimitText = "500";
inline constexpr std::string_view kLimitHint =
    "How many command lines of the program is alowed to renumber  automatically ";
inline constexpr std::string_view kEnumerate = "Enumerate";
inline constexpr std::string_view kEnumerateHint =
    "Recount the command lines and renumber the list";

// Buttons.
inline constexpr std::string_view kOpen = "Open";
inline constexpr std::string_view kSave = "Save";
inline constexpr std::string_view kClear = "Clear";
inline constexpr std::string_view kCleanUp = "Clean up";
inline constexpr std::string_view kPrint = "Print";
inline constexpr std::string_view kWrongLines = "Wrong lines:";
inline constexpr std::string_view kWrongLinesClear = "Clear";
inline constexpr std::string_view kWrongLinesComment = "Comment";

// Loading.
inline constexpr std::string_view kClearQuestion = "The program list is not empty. Clear the list?";
inline constexpr std::string_view kClearQuestionTitle = "Clear program?";
inline constexpr std::string_view kFileFilterPrograms = "IL programs (*.txt *.il)";
inline constexpr std::string_view kFileFilterAll = "All files (*)";
inline constexpr std::string_view kDefaultSuffix = "txt";
inline constexpr std::string_view kFileFilterPdf = "PDF files (*.pdf)";
inline constexpr std::string_view kPdfSuffix = "pdf";

// File failures. Reading refuses what cannot be a program text rather than filling the list with
// it; saving goes through a temporary file so a failed save leaves the old file as it was.
inline constexpr std::string_view kFileNotFound = "File not found: ";
inline constexpr std::string_view kFileNotAFile = "Not a regular file: ";
inline constexpr std::string_view kFileTooLarge = "The file is too large for a program: ";
inline constexpr std::string_view kFileUnreadable = "Can not read file ";
inline constexpr std::string_view kFileNotSaved = "Can not save the program to file ";
inline constexpr std::string_view kFileErrorTitle = "Program file";
inline constexpr std::string_view kPrintFailed = "Can not print to file ";

// Program transfer controls of the page.
inline constexpr std::string_view kMainProgram = "Main program";
inline constexpr std::string_view kServiceProgram = "Service program";
inline constexpr std::string_view kReadProtection = "Read protection";
inline constexpr std::string_view kUpload = "Upload";
inline constexpr std::string_view kRead = "Read";
inline constexpr std::string_view kProgramReading = "Program is reading, wait...";
inline constexpr std::string_view kCommandsCount = "Commands: ";
inline constexpr std::string_view kCommandsTransferred = "Commands transferred: ";

// Edit context menu.
inline constexpr std::string_view kUndo = "Undo";
inline constexpr std::string_view kCut = "Cut";
inline constexpr std::string_view kCopy = "Copy";
inline constexpr std::string_view kPaste = "Paste";
inline constexpr std::string_view kDelete = "Delete";
inline constexpr std::string_view kSelectAll = "Select All";

}  // namespace quarn::program_model::il_texts
