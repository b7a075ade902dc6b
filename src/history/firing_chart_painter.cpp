// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_chart_painter.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <array>

#include "common/text.h"

namespace corvanel {

namespace {

const std::array<QColor, 5> Record_Colours = {QColor(31, 90, 180), QColor(200, 50, 40),
                                              QColor(40, 140, 60), QColor(220, 130, 20),
                                              QColor(120, 60, 160)};

QString Axis_Text(double value) {
    return QString::fromStdString(Format_Number(value));
}

}  // namespace

void Paint_Firing_Chart(QPainter& painter, const QRectF& area, const Firing_Chart& chart) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    const QFontMetricsF metrics(painter.font());
    const double line = metrics.height();
    const double legend_height =
        line * static_cast<double>((chart.Series.size() + 2) / 3) + 1.5 * line;
    const QRectF plot =
        area.adjusted(metrics.horizontalAdvance("00000") + line, legend_height, -line, -2.5 * line);
    auto x_of = [&](double x) {
        return plot.left() + (x - chart.X_Min) / (chart.X_Max - chart.X_Min) * plot.width();
    };
    auto y_of = [&](double y) {
        return plot.bottom() - (y - chart.Y_Min) / (chart.Y_Max - chart.Y_Min) * plot.height();
    };

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
                     Qt::AlignCenter,
                     chart.Time_Unit == "H" ? "elapsed (hours)" : "elapsed (minutes)");
    painter.drawText(QRectF(area.left(), area.top() + legend_height - line, plot.left(), line),
                     Qt::AlignLeft, QString::fromStdString("deg " + chart.Temp_Scale));

    const double legend_width = (area.width() - 2 * line) / 3;
    for (std::size_t i = 0; i < chart.Series.size(); ++i) {
        const Chart_Series& series = chart.Series[i];
        QPen pen(Record_Colours[series.Record % Record_Colours.size()]);
        pen.setCosmetic(true);
        if (series.What == Chart_Series::Kind::Plan) {
            pen.setStyle(Qt::DashLine);
            pen.setWidthF(1.5);
        } else {
            pen.setWidthF(series.What == Chart_Series::Kind::Measured ? 2 : 1);
            if (series.What == Chart_Series::Kind::Set_Value)
                pen.setColor(pen.color().lighter(140));
        }
        painter.setPen(pen);
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
        const QPointF at(area.left() + line + static_cast<double>(i % 3) * legend_width,
                         area.top() + line * (0.9 + static_cast<double>(i / 3)));
        painter.drawLine(at, at + QPointF(2 * line, 0));
        painter.setPen(QPen(Qt::black, 0));
        painter.drawText(
            QRectF(at.x() + 2.5 * line, at.y() - line / 2, legend_width - 3 * line, line),
            Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(series.Name));
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
