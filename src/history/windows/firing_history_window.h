// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QWidget>
#include <memory>

#include "history/energy_settings.h"
#include "history/firing_history.h"
#include "setup/settings_form.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace corvanel {

class Settings_Dialog;

// The chart of one or more firings, painted as the report and corvanel-log paint it.
class Firing_Chart_Widget : public QWidget {
  public:
    Firing_Chart_Widget(const char* name, QWidget* parent);
    void Show_Chart(const Firing_Chart& chart);
    const Firing_Chart& Chart() const { return Chart_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Firing_Chart Chart_;
};

// File -> "Firing History": the table of past firings, the chart of the chosen ones and
// their summary, over the Firing_History model.
class Firing_History_Window : public QWidget {
  public:
    Firing_History_Window(Program_Paths paths, File_Dialog& export_dialog, Settings_Store& settings,
                          QWidget* parent = nullptr);
    ~Firing_History_Window() override;

    // Reads Logfiles/ again and shows the window.
    void Open();
    void Refresh();
    // A language chosen while the window is open: its texts, rows and chart in it.
    void Apply_Language();
    Firing_History& Model() { return *Model_; }

    QTableWidget* Firings;
    Firing_Chart_Widget* FiringChart;
    QPlainTextEdit *Firing_Summary, *History_Messages, *Firing_Notes;
    QLineEdit *Firing_Search, *Witness_Cones;
    QLabel* Cone_Offset_Proposal;
    QPushButton *ExportCSV, *PrintReport, *EnergySettings, *SaveNotes, *SaveCones, *TakeConeOffset;

  private:
    void Set_Captions();
    void Show_Table();

    std::unique_ptr<Firing_History> Model_;
    Settings_Form Energy_Form_;
    Settings_Dialog* Energy_Window_;
    std::string Shown_Summary_, Shown_Messages_, Shown_Notes_, Shown_Witness_;
};

}  // namespace corvanel
