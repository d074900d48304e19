// Every text the ladder editor shows to the user, exactly as shown.
#pragma once

#include <string_view>

namespace quarn::ladder::texts {

// Grid structure.
inline constexpr std::string_view kTooManyColumns = "Too many columns in the table.";
inline constexpr std::string_view kTooManyRows = "Too many rows in the table.";

// Placement and removal.
inline constexpr std::string_view kNoSpaceForInstruction =
    "Not enough space to add the Instruction";
inline constexpr std::string_view kNoSpaceForApplyInstruction =
    "Not enough space to add the instruction";
inline constexpr std::string_view kNoSpaceForElement = "Not enough space to add the element";
inline constexpr std::string_view kElementImpossibleHere =
    "It is impossible to place this element here";
inline constexpr std::string_view kInstructionNotPossibleHere =
    "This instruction is not possible here";

// Editing commands.
inline constexpr std::string_view kImpossibleToPlaceElement =
    "Impossible to place the element here";
inline constexpr std::string_view kInversionNotPossible =
    "Inverse logic instruction is not possible here";
inline constexpr std::string_view kWrongParameter = "Wrong parameter ";  // + 1..4
inline constexpr std::string_view kWrongParametersNumber = "Wrong parameters number";
inline constexpr std::string_view kWrongCommand = "Wrong command";

// Copy and paste of cell regions.
inline constexpr std::string_view kCannotCopyRegion = "Impossible to copy region";
inline constexpr std::string_view kCannotCopyLeftEdge =
    "Impossible to copy because of an instruction at left edge of the region";
inline constexpr std::string_view kCannotCopyRightEdge =
    "Impossible to copy because of an instruction at right edge of the region";
inline constexpr std::string_view kPasteTooManyColumns =
    "Impossible to insert cells - too many columns";
inline constexpr std::string_view kPasteOutputElsewhere =
    "Impossible to insert cells. Apply instruction can not be placed here.";
inline constexpr std::string_view kCellsNotEmpty = "Cells are not empty. Delete previous content?";

// LD files.
inline constexpr std::string_view kFileError = "File error: ";    // + file name
inline constexpr std::string_view kLineErrorStart = "Line ";      // + 0-based line index
inline constexpr std::string_view kLineErrorMiddle = " error: ";  // + the line
inline constexpr std::string_view kLineErrorEnd = "! Continue?";

// Register annotation of MOV / DMOV boxes.
inline constexpr std::string_view kSetPrefix = "Set ";
inline constexpr std::string_view kSetEquals = " = ";

}  // namespace quarn::ladder::texts
