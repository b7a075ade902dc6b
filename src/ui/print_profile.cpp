// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/print_profile.h"

#include <QFont>
#include <QGraphicsView>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <algorithm>
#include <filesystem>

namespace corvanel {

namespace {

// The default printer when there is one, otherwise a PDF file at pdf_path; true when the
// printer is the real one.
bool Aim_Printer(QPrinter& printer, const std::string& pdf_path, bool use_printer) {
    const bool to_printer = use_printer && !QPrinterInfo::defaultPrinter().isNull();
    if (!to_printer) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(pdf_path).parent_path(), ignored);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf_path));
    }
    return to_printer;
}

}  // namespace

std::string Print_Profile_Page(const Printout& printout, QWidget* chart,
                               const std::string& pdf_path, bool use_printer) {
    QPrinter printer(QPrinter::HighResolution);
    const bool to_printer = Aim_Printer(printer, pdf_path, use_printer);
    QPainter painter;
    if (!painter.begin(&printer)) return "";

    const QRect page = painter.viewport();
    int y = 0;
    if (auto* view = qobject_cast<QGraphicsView*>(chart); view && view->width() > 0) {
        // The chart as the operator sees it, traces included, across the page width at the
        // top, drawn as lines and text: a small, sharp page.
        const QRect source = view->viewport()->rect();
        const int height = page.width() * source.height() / std::max(1, source.width());
        view->render(&painter, QRectF(0, 0, page.width(), height), source);
        y = height;
    } else if (chart) {
        QPixmap picture = chart->grab();
        if (!picture.isNull()) {
            QPixmap scaled = picture.scaledToWidth(page.width(), Qt::SmoothTransformation);
            painter.drawPixmap(0, 0, scaled);
            y = scaled.height();
        }
    }
    QFont font = painter.font();
    font.setPointSize(8);
    font.setBold(true);
    painter.setFont(font);
    const int line = painter.fontMetrics().lineSpacing();
    const int zone = page.width() / 9;
    y += 2 * line;

    auto print_line = [&](const auto& values) {
        int x = 0;
        for (const std::string& value : values) {
            painter.drawText(QRect(x, y, zone, line), Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromStdString(value));
            x += zone;
        }
        y += line;
    };
    painter.drawText(QRect(0, y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(printout.Name_Line));
    y += 3 * line;
    font.setUnderline(true);
    painter.setFont(font);
    print_line(printout.Titles);
    font.setUnderline(false);
    painter.setFont(font);
    for (const auto& row : printout.Rows) {
        if (y + line > page.height()) {
            printer.newPage();
            y = 0;
        }
        print_line(row);
    }
    if (!painter.end()) return "";
    return to_printer ? "" : pdf_path;
}

namespace {

// The report laid out on pages of `page`'s size: the chart across the top half of the
// first, the lines below in 8-point text; `next_page` turns the page and says whether the
// lines go on.
void Paint_Chart_Report(QPainter& painter, const QRect& page,
                        const std::function<void(QPainter&, const QRect&)>& paint_chart,
                        const std::vector<std::string>& lines,
                        const std::function<bool()>& next_page) {
    QFont font = painter.font();
    font.setPointSize(8);
    painter.setFont(font);
    const int line = painter.fontMetrics().lineSpacing();
    const QRect chart_area(0, 0, page.width(), page.height() / 2);
    paint_chart(painter, chart_area);
    int y = chart_area.bottom() + 2 * line;
    for (const std::string& text : lines) {
        if (y + line > page.height()) {
            if (!next_page()) return;
            y = 0;
        }
        painter.drawText(QRect(0, y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(text));
        y += line;
    }
}

}  // namespace

std::string Print_Chart_Report(const std::function<void(QPainter&, const QRect&)>& paint_chart,
                               const std::vector<std::string>& lines, const std::string& pdf_path,
                               bool use_printer) {
    QPrinter printer(QPrinter::HighResolution);
    const bool to_printer = Aim_Printer(printer, pdf_path, use_printer);
    QPainter painter;
    if (!painter.begin(&printer)) return "";
    Paint_Chart_Report(painter, painter.viewport(), paint_chart, lines,
                       [&printer] { return printer.newPage(); });
    if (!painter.end()) return "";
    return to_printer ? "" : pdf_path;
}

QImage Chart_Report_Image(const std::function<void(QPainter&, const QRect&)>& paint_chart,
                          const std::vector<std::string>& lines, int width) {
    // A4's proportions at 96 dots per inch for a width of 794.
    QImage image(width, width * 297 / 210, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int margin = width / 20;
    painter.translate(margin, margin);
    Paint_Chart_Report(painter, image.rect().adjusted(0, 0, -2 * margin, -2 * margin), paint_chart,
                       lines, [] { return false; });
    return image;
}

}  // namespace corvanel
