// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QString>
#include <string>
#include <vector>

#include "run/firing_chart.h"

class QFontMetricsF;
class QPainter;

namespace corvanel {

// Draws the chart into the area: axes with their marks, each record's plan (dashed),
// set value (thin) and measured temperature (thick) in the record's colour, and a legend.
void Paint_Firing_Chart(QPainter& painter, const QRectF& area, const Firing_Chart& chart);

// Where a legend entry's name goes (its sample line runs to the left of it) and the name as
// drawn. The kinds of trace come first, then (overlaid) one entry a firing.
struct Legend_Place {
    QRectF Text_Area;
    QString Text;
};
std::vector<Legend_Place> Lay_Out_Legend(const QFontMetricsF& metrics, const QRectF& area,
                                         const Firing_Chart& chart);

// The chart as a file, the kind named by the extension: .png (1600 x 900 pixels), .svg or
// .pdf (an A4 page across). "" when written, otherwise what went wrong. Needs a
// QGuiApplication.
std::string Write_Chart_File(const Firing_Chart& chart, const std::string& path);

}  // namespace corvanel
