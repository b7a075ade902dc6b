// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/traj_form_model.h"
#include "common/text.h"
#include "controller/controller_link.h"
#include "controller_model.h"
#include "fault_plan.h"
#include "profiles/profile_file.h"
#include "run/firing_record.h"
#include "run/firing_record_writer.h"
#include "run/safety_settings.h"
#include "setup/setup_files.h"
#include "support/fake_clock.h"
#include "support/fake_line.h"
#include "support/fake_platform.h"
#include "support/recording_mail.h"
#include "support/temp_folder.h"

namespace corvanel::testing {

struct Fake_Name_Dialog : Name_Dialog {  // cancelled
    int GetName() override { return 2; }
    std::string DeviceName() override { return ""; }
};

struct Recording_Windows : Window_Manager {
    bool Front_Panel_Shown = false, Ended = false;
    std::optional<std::string> Editor_Shown_With_Scale;
    void Show_Profile_Editor(const std::string& scale) override { Editor_Shown_With_Scale = scale; }
    void Show_Front_Panel(bool visible) override { Front_Panel_Shown = visible; }
    void Show_Main_Window(bool) override {}
    void Show_CommSetUp() override {}
    void Apply_Language() override {}
    void End_Program() override { Ended = true; }
};

// The fake line, with the controller optionally answering on one port number only.
struct Rig_Line : Fake_Line {
    int Only_Port = 0;
    sim::Kiln_Sim_Server* Controller = nullptr;
    void Set_Comm_Port(int port) override {
        Fake_Line::Set_Comm_Port(port);
        if (Only_Port) Server = port == Only_Port ? Controller : nullptr;
    }
};

// The events of a firing record, each with its detail after ": ", the ticks left out.
inline std::vector<std::string> Events_Of(const Firing_Record& record) {
    std::vector<std::string> events;
    for (const Firing_Record_Line& line : record.Lines)
        if (!line.Is_Tick())
            events.push_back(line.Event + (line.Detail.empty() ? "" : ": " + line.Detail));
    return events;
}

// The simulated kiln's settings; Fahrenheit, as the profiles written here are.
inline sim::Unit_Settings Kiln_Settings(int input_type = 2, bool fahrenheit = true) {
    sim::Unit_Settings settings;
    settings.Input_Type = input_type;
    settings.Fahrenheit = fahrenheit;
    return settings;
}

// The run window's model wired as the program wires it over `device`, with a fake clock
// and dialogs and the given mail, in the program folder `folder`. Form_Load is left to the
// test.
struct Run_Window_Rig {
    Run_Window_Rig(Serial_Device& device, Reply_Waiter& waiter, Mail_Sender& mail,
                   const std::filesystem::path& folder)
        : Paths(folder),
          Link(device, waiter, &Form),
          Form({Paths, Protocol, Panel, Clock, Profile_Dialog, Log_Dialog, Beeper, mail, Name,
                Windows, Settings}) {
        Form.Connect_Serial_Port(Serial);
    }
    ~Run_Window_Rig() { Form.Run().Firing().Detach(Writer); }  // it goes before the window model

    Program_Paths Paths;
    Controller_Link Link;
    FrontPanel& Panel = Link.Panel();
    InOut_Functions& Protocol = Link.Protocol();
    Serial_Port& Serial = Link.Serial();
    Fake_Clock Clock;
    Fake_File_Dialog Profile_Dialog, Log_Dialog;
    Counting_Beeper Beeper;
    Fake_Name_Dialog Name;
    Recording_Windows Windows;
    Settings_Store Settings{Paths};
    Traj_form Form;
    Firing_Record_Writer Writer{Paths, "Corvanel"};  // records only once Keep_Record is called

    void Choose_Log(const std::string& name) {
        Log_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/elsewhere/" + name));
        Form.mnuSpecifyLogFile_Click();
    }

    // A switch of the safety settings, saved as the dialog saves it: the run follows it.
    void Safety_Switch(const std::string& key, bool on) {
        for (const Setting* setting : Safety_Setting_List()) {
            if (setting->Key == key) {
                ASSERT_FALSE(Settings.Set_On(*setting, on)) << key;
            }
        }
    }

    void Setup_File(const std::string& name, const std::string& value) {
        Write_Text_File(Paths.Setup_File(name), value);
    }

    // The firing record is written from now on; Record reads back the one beside `log`.
    void Keep_Record() { Form.Run().Firing().Attach(Writer); }
    Firing_Record Record(const std::string& log) const {
        return Parse_Firing_Record(Read_Whole_File(Paths.Logfile(Firing_Record_Name(log))));
    }

    // `count` ticks of the run, `seconds` apart on the clock.
    void Control_Ticks(int count, int seconds = 60) {
        for (int i = 0; i < count; ++i) {
            Clock.Advance(seconds);
            Form.Control_Interval_Timer();
        }
    }

    // A profile typed as the editor saves it: rows of ten cells, then the settings.
    void Write_Profile(const std::string& name, std::vector<std::array<std::string, 10>> rows,
                       const std::string& sensor = "K    ", bool fahrenheit = true,
                       bool minutes = true) {
        Profile_Sheet sheet{};
        for (int row = 1; row <= 255; ++row) sheet[row][0] = std::to_string(row);
        for (std::size_t i = 0; i < rows.size(); ++i) sheet[i + 1] = rows[i];
        Write_Whole_File(Paths.Profile_File(name),
                         Build_Profile_Text(sheet, {sensor, fahrenheit, minutes}) + "\r\n");
    }

    // short.txt: 70 to 250 degrees in 2 minutes with an error limit of 50, a 1-minute
    // hold, the end; opened.
    void Open_Short_Profile() {
        Open_Profile("short.txt", {{"1", "0", "2", "r", "70", "250", "90.00", "50", "", ""},
                                   {"2", "2.00", "1", "h", "250", "250", "0", "", "", ""},
                                   {"3", "3.00", "", "e", "250", "", "", "", "", ""}});
    }

    // ramp.txt: 70 to 1500 degrees in an hour, an hour's hold, the end; opened.
    void Open_Long_Ramp() {
        Open_Profile("ramp.txt", {{"1", "0", "60", "r", "70", "1500", "23.83", "", "", ""},
                                  {"2", "60.00", "60", "h", "1500", "1500", "0", "", "", ""},
                                  {"3", "120.00", "", "e", "1500", "", "", "", "", ""}});
    }

    // Alarms and notices are mailed to the potter.
    void Notify_Potter() {
        Form.mnuEnableEmailNotification = true;
        Form.Email_Notification = "potter@studio.example";
    }

    void Open_Profile(const std::string& name) {
        Profile_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/anywhere/" + name));
        Form.mnuFileOpen_Click();
    }
    // Written as Write_Profile writes it, then opened.
    void Open_Profile(const std::string& name, std::vector<std::array<std::string, 10>> rows,
                      const std::string& sensor = "K    ", bool fahrenheit = true,
                      bool minutes = true) {
        Write_Profile(name, std::move(rows), sensor, fahrenheit, minutes);
        Open_Profile(name);
    }

    // The loaded profile as the run sees it, in one line (its tables have tests of their own).
    std::string Loaded() const {
        const Traj_form& f = Form;
        const Loaded_Profile& p = f.Run().Profile();
        auto number = [](double value) { return Format_Number(value); };
        return f.Profile_Name + " rows=" + std::to_string(p.Finished_Segment()) +
               " total=" + number(p.Total_Time()) + " " + p.Sensor_Type() + p.Temp_Scale() +
               f.Run().Engine().Time_Unit() +
               " tick=" + std::to_string(f.Run().Control_Interval().Interval) + " " +
               f.SetPointReadOut + " " + f.TimeReadOut +
               " chart=" + std::to_string(p.Chart_Points().size());
    }

    bool Said(const std::string& text) const {
        return Form.User_Message_Box.find(text) != std::string::npos;
    }
};

// What the main window's rig runs on: a fake line to the simulated controller, and mail
// that is only recorded.
struct Fake_Line_Parts {
    Temp_Folder Folder;
    sim::Controller_Model Model{{0}, Kiln_Settings()};
    sim::Kiln_Sim_Server Server{Model, sim::Fault_Options{}};
    Rig_Line Line;
    Recording_Mail Mail;
};

// The run window's model over the fake line to the simulated controller.
struct Main_Window_Rig : Fake_Line_Parts, Run_Window_Rig {
    Main_Window_Rig() : Run_Window_Rig(Line, Line, Mail, Folder.Path()) { Line.Server = &Server; }

    // One tick of whichever timer runs, `seconds` after the last; the kiln at its pace.
    void Tick(int seconds = 3) {
        Clock.Advance(seconds);
        Model.Advance(seconds);
        Form.Run().Control_Interval().Enabled ? Form.Control_Interval_Timer()
                                              : Form.Monitor_Interval_Timer();
    }

    // The set values written since the last call, in order.
    std::vector<int> Set_Values_Sent() {
        std::vector<int> values;
        for (; Frames_Seen_ < Line.Sent.size(); ++Frames_Seen_) {
            const std::string& frame = Line.Sent[Frames_Seen_];
            if (frame.compare(3, 4, "WS01") == 0) {
                values.push_back(sim::Value_Of_Field(frame.substr(7, 4)).value_or(-99999));
            }
        }
        return values;
    }

  private:
    std::size_t Frames_Seen_ = 0;
};

}  // namespace corvanel::testing
