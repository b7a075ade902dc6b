// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sheet_table.h"

#include <QTableWidget>

#include "ui/widgets.h"

namespace corvanel {

void Sheet_Table::Show(QTableWidget& grid, const Profile_Sheet& sheet,
                       const std::vector<int>& design_widths, const Cell_Dress& dress) {
    if (!Shown_Once_ || sheet[0] != Shown_[0]) {
        QStringList titles;
        for (const std::string& title : sheet[0]) titles << Q(title);
        grid.setHorizontalHeaderLabels(titles);
        Fit_Columns_To_Titles(grid, design_widths);
    }
    for (int row = 1; row < Sheet_Rows; ++row) {
        const auto r = static_cast<std::size_t>(row);
        if (Shown_Once_ && sheet[r] == Shown_[r]) continue;
        for (int col = 0; col < Sheet_Columns; ++col) {
            const auto c = static_cast<std::size_t>(col);
            QTableWidgetItem* cell = grid.item(row - 1, col);
            if (!cell) {
                if (sheet[r][c].empty()) continue;
                cell = new QTableWidgetItem;
                dress(*cell, col);
                grid.setItem(row - 1, col, cell);
            }
            cell->setText(Q(sheet[r][c]));
        }
    }
    Shown_ = sheet;
    Shown_Once_ = true;
}

}  // namespace corvanel
