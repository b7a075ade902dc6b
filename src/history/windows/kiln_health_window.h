// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <memory>

#include "history/kiln_health_model.h"
#include "setup/settings_form.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace corvanel {

class Settings_Dialog;

// One measure of the kiln's firings over the dates: a point a firing, the baseline's
// firings filled, the baseline as a line and the marked events as upright lines.
class Health_Trend_Widget : public QWidget {
  public:
    Health_Trend_Widget(const Kiln_Health_Model& model, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const Kiln_Health_Model& Model_;
};

// File -> "Kiln Health": the readings, a measure's trend, the events the operator marks.
class Kiln_Health_Window : public QWidget {
  public:
    Kiln_Health_Window(Program_Paths paths, Settings_Store& settings, QWidget* parent = nullptr);
    ~Kiln_Health_Window() override;

    void Open();
    void Refresh();
    // A language chosen while the window is open: its texts and readings in it.
    void Apply_Language();
    Kiln_Health_Model& Model() { return *Model_; }

    QPlainTextEdit *Health_Readings, *Health_Messages;
    QComboBox *Health_Measure_Choice, *Event_Kind;
    Health_Trend_Widget* Health_Trend;
    QLineEdit *Event_Day, *Event_Note;
    QPushButton *MarkEvent, *HealthSettings;

  private:
    void Set_Captions();
    void Show_Model();

    std::unique_ptr<Kiln_Health_Model> Model_;
    Settings_Form Settings_Form_;
    Settings_Dialog* Settings_Window_;
    std::string Shown_Readings_, Shown_Messages_;
};

}  // namespace corvanel
