// Printed listing of the IL program: each line with its instruction number, long lines wrapped
// to the page width.
#pragma once

#include <string>
#include <vector>

class QFont;
class QPrinter;

namespace quarn::ui {

// Prints on any QPrinter (a real printer, or a PDF file). numbers holds the numbers column; a
// program line without a numbers line prints without a number. Answers the number of pages
// printed, 0 when nothing was printed (an empty program, or a printer that would not start).
int PrintIlListing(QPrinter& printer, const std::vector<std::string>& numbers,
                   const std::vector<std::string>& program, const QFont& font);

}  // namespace quarn::ui
