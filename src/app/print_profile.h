#pragma once

#include <string>

#include "profiles/printout.h"

class QWidget;

namespace corvanel {

// Prints the chart (drawn as vectors when it is a chart view) at the top of the page and the
// printout's text below it, in 8-point bold, the titles underlined, nine equal left-aligned
// columns. On the default printer when there is one ("" comes back); otherwise into a PDF file at
// pdf_path, which comes back. Nothing is shown on failure; "" comes back then too.
std::string Print_Profile_Page(const Printout& printout, QWidget* chart,
                               const std::string& pdf_path, bool use_printer = true);

}  // namespace corvanel
