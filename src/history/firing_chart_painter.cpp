// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_chart_painter.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <array>
#include <cmath>

#include "common/text.h"

namespace corvanel {

namespace {

// Colours that stay apart for colour-blind eyes (Okabe and Ito), and a line style for
// each kind of trace, so the traces stay apart in black-and-white print too.
const std::array<QColor, 5> Record_Colours = {QColor(0, 114, 178), QColor(213, 94, 0),
                                              QColor(0, 158, 115), QColor(204, 121, 167),
                                              QColor(230, 159, 0)};
const QColor Plan_Colour(0, 0, 0), Set_Value_Colour(230, 159, 0), Measured_Colour(0, 114, 178);

QString Axis_Text(double value) {
    return QString::fromStdString(Format_Number(value));
}

// The pen of a trace: its kind gives the style and width; one firing's traces each have
// a colour of their own, overlaid firings one colour a firing. Widths follow the area, so
// a page printed at a printer's resolution gets lines as readable as a screen's.
QPen Trace_Pen(Chart_Series::Kind kind, std::size_t record, bool overlaid, double width) {
    QColor colour = kind == Chart_Series::Kind::Plan        ? Plan_Colour
                    : kind == Chart_Series::Kind::Set_Value ? Set_Value_Colour
                                                            : Measured_Colour;
    if (overlaid) colour = Record_Colours[record % Record_Colours.size()];
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    switch (kind) {
        case Chart_Series::Kind::Plan:
            pen.setStyle(Qt::DashLine);
            pen.setWidthF(1.4 * width);
            break;
        case Chart_Series::Kind::Set_Value:
            pen.setStyle(Qt::DashDotLine);
            pen.setWidthF(1.4 * width);
            break;
        case Chart_Series::Kind::Measured:
            pen.setWidthF(2.4 * width);
            break;
    }
    return pen;
}

double Chart_Title_Height(const Firing_Chart& chart, double line) {
    return chart.Title.empty() ? 0.5 * line : 1.6 * line;
}

}  // namespace

std::vector<Legend_Place> Lay_Out_Legend(const QFontMetricsF& metrics, const QRectF& area,
                                         const Firing_Chart& chart) {
    std::vector<std::string> texts(chart.Kind_Names.begin(), chart.Kind_Names.end());
    if (chart.Record_Labels.size() > 1) {
        texts.insert(texts.end(), chart.Record_Labels.begin(), chart.Record_Labels.end());
    }
    // As many columns (up to three) as the widest entry lets the row hold, so no name is
    // cut; only a name wider than the whole row is shortened.
    const double line = metrics.height();
    const double sample = 3 * line, gap = 1.5 * line;
    const double row = std::max(1.0, area.width() - 2 * line);
    double widest = 0;
    for (const std::string& text : texts) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(text)));
    }
    const auto columns = static_cast<std::size_t>(
        std::clamp(std::floor((row + gap) / (sample + widest + gap)), 1.0, 3.0));
    const double column_width = row / static_cast<double>(columns);
    const double top = area.top() + Chart_Title_Height(chart, line) + 0.4 * line;
    std::vector<Legend_Place> places;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const double left =
            area.left() + line + static_cast<double>(i % columns) * column_width + sample;
        const QRectF text_area(left, top + static_cast<double>(i / columns) * line,
                               column_width - sample - (columns > 1 ? gap : 0), line);
        places.push_back({text_area, metrics.elidedText(QString::fromStdString(texts[i]),
                                                        Qt::ElideRight, text_area.width())});
    }
    return places;
}

void Paint_Firing_Chart(QPainter& painter, const QRectF& area, const Firing_Chart& chart) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const QFontMetricsF metrics(painter.font());
    const double line = metrics.height();
    const double width = std::max(1.0, line / 12);
    painter.setPen(QPen(Qt::black, 0));
    if (chart.Series.empty()) {
        painter.drawText(area.adjusted(2 * line, 2 * line, -2 * line, -2 * line),
                         Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromStdString(chart.Empty_Hint));
        painter.restore();
        return;
    }
    const bool overlaid = chart.Record_Labels.size() > 1;
    const std::vector<Legend_Place> legend = Lay_Out_Legend(metrics, area, chart);
    const double title_height = Chart_Title_Height(chart, line);
    const double legend_height =
        (legend.empty() ? 0.0 : legend.back().Text_Area.bottom() - area.top() - title_height) +
        1.1 * line;
    const QRectF plot = area.adjusted(metrics.horizontalAdvance("00000") + line,
                                      title_height + legend_height, -line, -2.5 * line);
    auto x_of = [&](double x) {
        return plot.left() + (x - chart.X_Min) / (chart.X_Max - chart.X_Min) * plot.width();
    };
    auto y_of = [&](double y) {
        return plot.bottom() - (y - chart.Y_Min) / (chart.Y_Max - chart.Y_Min) * plot.height();
    };
    if (!chart.Title.empty()) {
        QFont bold = painter.font();
        bold.setBold(true);
        painter.save();
        painter.setFont(bold);
        painter.drawText(QRectF(area.left(), area.top() + 0.2 * line, area.width(), line * 1.2),
                         Qt::AlignCenter, QString::fromStdString(chart.Title));
        painter.restore();
    }

    painter.setPen(QPen(QColor(225, 225, 225), 0));
    for (double x : chart.X_Ticks)
        painter.drawLine(QPointF(x_of(x), plot.top()), QPointF(x_of(x), plot.bottom()));
    for (double y : chart.Y_Ticks)
        painter.drawLine(QPointF(plot.left(), y_of(y)), QPointF(plot.right(), y_of(y)));
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(plot);
    for (double x : chart.X_Ticks) {
        painter.drawText(QRectF(x_of(x) - 3 * line, plot.bottom(), 6 * line, line), Qt::AlignCenter,
                         Axis_Text(x));
    }
    for (double y : chart.Y_Ticks) {
        painter.drawText(
            QRectF(area.left(), y_of(y) - line / 2, plot.left() - area.left() - line / 3, line),
            Qt::AlignRight | Qt::AlignVCenter, Axis_Text(y));
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + line, plot.width(), line * 1.5),
                     Qt::AlignCenter, QString::fromStdString(chart.X_Title));
    painter.drawText(QRectF(area.left() + line / 3, plot.top() - 1.2 * line, plot.width(), line),
                     Qt::AlignLeft, QString::fromStdString(chart.Y_Title));

    for (const Chart_Series& series : chart.Series) {
        painter.setPen(Trace_Pen(series.What, series.Record, overlaid, width));
        QPainterPath path;
        for (std::size_t p = 0; p < series.Points.size(); ++p) {
            QPointF point(x_of(series.Points[p].first), y_of(series.Points[p].second));
            if (p == 0) {
                path.moveTo(point);
            } else {
                path.lineTo(point);
            }
        }
        painter.save();
        painter.setClipRect(plot);
        painter.drawPath(path);
        painter.restore();
    }

    // The operator's changes: a small diamond on the set value, named above it.
    painter.setPen(QPen(Qt::black, 0));
    for (const Chart_Mark& mark : chart.Marks) {
        const QPointF at(x_of(mark.X), y_of(mark.Y));
        const double r = line / 4;
        painter.setBrush(QColor(204, 121, 167));
        painter.drawPolygon(QPolygonF({at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r),
                                       at + QPointF(-r, 0)}));
        painter.setBrush(Qt::NoBrush);
        painter.drawText(QRectF(at.x() - 4 * line, at.y() - 1.4 * line, 8 * line, line),
                         Qt::AlignCenter, QString::fromStdString(mark.Label));
    }

    const Chart_Series::Kind kinds[] = {Chart_Series::Kind::Plan, Chart_Series::Kind::Set_Value,
                                        Chart_Series::Kind::Measured};
    for (std::size_t i = 0; i < legend.size(); ++i) {
        QPen pen = i < 3 ? Trace_Pen(kinds[i], 0, false, width)
                         : Trace_Pen(Chart_Series::Kind::Measured, i - 3, true, width);
        if (i < 3 && overlaid) pen.setColor(Qt::darkGray);
        const QPointF at(legend[i].Text_Area.left() - 3 * line, legend[i].Text_Area.center().y());
        painter.setPen(pen);
        painter.drawLine(at, at + QPointF(2.5 * line, 0));
        painter.setPen(QPen(Qt::black, 0));
        painter.drawText(legend[i].Text_Area, Qt::AlignLeft | Qt::AlignVCenter, legend[i].Text);
    }
    painter.restore();
}

std::string Write_Chart_File(const Firing_Chart& chart, const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (path.ends_with(".png")) {
        QImage image(1600, 900, QImage::Format_RGB32);
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPixelSize(18);
        painter.setFont(font);
        Paint_Firing_Chart(painter, QRectF(0, 0, 1600, 900), chart);
        painter.end();
        return image.save(file, "PNG") ? "" : "cannot be written";
    }
    if (path.ends_with(".svg")) {
        QFile probe(file);  // the generator says nothing when it cannot write
        if (!probe.open(QIODevice::WriteOnly)) return "cannot be written";
        probe.close();
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(QSize(1200, 675));
        svg.setViewBox(QRect(0, 0, 1200, 675));
        svg.setTitle("Firing chart");
        QPainter painter;
        if (!painter.begin(&svg)) return "cannot be written";
        Paint_Firing_Chart(painter, QRectF(0, 0, 1200, 675), chart);
        return painter.end() ? "" : "cannot be written";
    }
    if (path.ends_with(".pdf")) {
        QPdfWriter pdf(file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle("Firing chart");
        QPainter painter;
        if (!painter.begin(&pdf)) return "cannot be written";
        Paint_Firing_Chart(painter, QRectF(painter.viewport()), chart);
        return painter.end() ? "" : "cannot be written";
    }
    return "not a .png, .svg or .pdf file";
}

}  // namespace corvanel
