// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <vector>

#include "profiles/profile_sheet.h"

class QTableWidget;
class QTableWidgetItem;

namespace corvanel {

// A profile sheet as a grid shows it, for the run window and the editor alike: the sheet's
// row 0 as the column titles, its row r as the grid's row r - 1. A refresh writes only the
// rows that changed since the last, so a tick costs nothing while the sheet stands still.
class Sheet_Table {
  public:
    // Dresses a cell made for a column (alignment, background) before it is placed.
    using Cell_Dress = std::function<void(QTableWidgetItem& cell, int col)>;

    // Titles that changed are set, and the columns fitted to them from `design_widths`.
    // An empty cell gets no item until it has a text.
    void Show(QTableWidget& grid, const Profile_Sheet& sheet, const std::vector<int>& design_widths,
              const Cell_Dress& dress);

  private:
    Profile_Sheet Shown_{};
    bool Shown_Once_ = false;
};

}  // namespace corvanel
