// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "profiles/printout.h"

class QPainter;
class QRect;
class QWidget;

namespace corvanel {

// Prints the chart (drawn as vectors when it is a chart view) at the top of the page and the
// printout's text below it, in 8-point bold, the titles underlined, nine equal left-aligned
// columns. On the default printer when there is one ("" comes back); otherwise into a PDF file at
// pdf_path, which comes back. Nothing is shown on failure; "" comes back then too.
std::string Print_Profile_Page(const Printout& printout, QWidget* chart,
                               const std::string& pdf_path, bool use_printer = true);

// A report page the same way: the chart painted across the top half of the first page,
// the lines below it in 8-point text, going on to further pages as needed.
std::string Print_Chart_Report(const std::function<void(QPainter&, const QRect&)>& paint_chart,
                               const std::vector<std::string>& lines, const std::string& pdf_path,
                               bool use_printer = true);

// The report's first page as a picture `width` pixels wide, for the documentation.
QImage Chart_Report_Image(const std::function<void(QPainter&, const QRect&)>& paint_chart,
                          const std::vector<std::string>& lines, int width = 794);

}  // namespace corvanel
