// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "common/platform.h"

namespace corvanel {

// What a kiln run shows while it works, in the run's own terms: the messages, and the
// read-outs of where it is. The run window's presenter turns them into its controls; a
// run without a window shows nothing, or keeps what a test wants to read.
class Run_View : public Message_Area {
  public:
    // The elapsed time as the run counts it (the text as it is to be shown), and the
    // text shown now, which the log records (the operator may be typing one).
    virtual void Show_Elapsed(const std::string& text) = 0;
    virtual std::string Elapsed_Text() const = 0;
    // While the operator types an elapsed time the run leaves that box and the message
    // area alone, and does not start.
    virtual bool Editing_Elapsed() const { return false; }
    virtual void Show_Segment(int) {}
    virtual void Show_Set_Value(const std::string&) {}
    virtual void Show_Output(const std::string&) {}
    // The measured value as shown; `stale` when it is old or absent, `note` says why.
    virtual void Show_Measured(const std::string&, bool /*stale*/, const std::string& /*note*/) {}
    // A run going (the profile followed) or not (monitor mode, suspended, soft off).
    virtual void Show_Running(bool) {}
    // The caption of the time read-out: "Time(mins)" or "Time(hours)", translated.
    virtual void Show_Time_Caption(const std::string&) {}
    // The run window asks to focus the elapsed time box when a start waits for the entry.
    virtual void Focus_Elapsed_Time() {}
    // Where the e-mail alerts go and whether they are on: the operator's list and menu.
    virtual std::string Alert_Addresses() const { return ""; }
    virtual bool Alerts_On() const { return false; }
};

// A run shown nowhere: a tool's or a test's run that reads the run's status instead.
class Silent_Run_View : public Run_View {
  public:
    void Display(const std::string&) override {}
    void Clear() override {}
    void Show_Elapsed(const std::string& text) override { Elapsed_ = text; }
    std::string Elapsed_Text() const override { return Elapsed_; }

  private:
    std::string Elapsed_ = "0";
};

}  // namespace corvanel
