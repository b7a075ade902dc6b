// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

#include "app/comm_setup_model.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace corvanel {

// The port set-up window: its widgets bound to the CommSetUp model. Showing it runs the
// model's opening (the ticks stop), closing it the model's close (one tick resumes).
class CommSetUp_Window : public QWidget {
    Q_OBJECT
  public:
    explicit CommSetUp_Window(CommSetUp& model, QWidget* parent = nullptr);

    // Shows the window to the operator, as "Comm Port Config" does.
    void Open();
    void Refresh();

    // Called after the model changed the main window's state (its timers).
    std::function<void()> Main_Window_Changed;

    QLineEdit* CommPortNumber;
    QLabel *CommDisplayLabel, *SerialPortPromptLabel;
    QLabel* Port_Device;  // the device the selected port stands for
    QPushButton *IncrPortNum, *DecrPortNumber, *SavePortSettings, *ScanPortNumber;
    QPlainTextEdit* SerialPortPrompt;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Handle(const std::function<void()>& handler);

    CommSetUp& Model_;
    std::string Shown_Prompt_;
};

}  // namespace corvanel
