// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/error_numbers.h"
#include "controller/controller_link.h"
#include "controller_model.h"
#include "fault_plan.h"
#include "support/fake_platform.h"

namespace corvanel::testing {

// A serial line with a fake clock: what the program writes goes to a simulated
// controller (or a scripted reply), and replies arrive when the pause reaches their time.
class Fake_Line : public Serial_Device, public Reply_Waiter {
  public:
    std::set<int> Existing_Ports{1};  // port numbers on this machine
    std::vector<std::string> Sent;
    std::string Settings;
    double Now = 0;
    static constexpr double Turnaround = 0.02;  // for a reply to come back
    bool Fail_On_Close = false;

    Serial_Port* Link = nullptr;
    sim::Kiln_Sim_Server* Server = nullptr;
    // Replies given to the next requests, in order, before the server is asked.
    std::deque<std::string> Scripted;
    std::function<void(const std::string&)> On_Send;  // sees each request as it goes out

    void Set_Comm_Port(int port) override { Port_ = port; }
    int Comm_Port() const override { return Port_; }
    void Set_Settings(const std::string& settings) override { Settings = settings; }
    void Set_Port_Open(bool open) override {
        if (open && !Existing_Ports.count(Port_)) throw Run_Time_Error(Error_Number::No_Such_Port);
        if (!open && Fail_On_Close) throw Run_Time_Error(Error_Number::Device_IO_Error);
        Open_ = open;
    }
    bool Port_Open() const override { return Open_; }
    void Output(const std::string& text) override {
        if (!Open_) throw Run_Time_Error(Error_Number::Port_Not_Open);
        Sent.push_back(text);
        if (On_Send) On_Send(text);
        if (!Scripted.empty()) {
            Schedule(Now + Turnaround, Scripted.front());
            Scripted.pop_front();
            return;
        }
        if (!Server) return;
        for (const std::string& frame : Reader_.Add(text)) {
            for (const sim::Timed_Chunk& chunk : Server->Serve(frame)) {
                Schedule(Now + Turnaround + chunk.Delay_Seconds, chunk.Bytes);
            }
        }
    }
    std::string Input() override { return std::exchange(Waiting_, {}); }

    void Listen(Serial_Port& serial, const std::string&) override { Link = &serial; }

    // The pause: every chunk due before its end arrives, each as its own receive event.
    void Wait(double seconds) override {
        double end = Now + seconds;
        while (!In_Flight_.empty() && In_Flight_.front().first <= end) {
            Now = std::max(Now, In_Flight_.front().first);
            Waiting_ += In_Flight_.front().second;
            In_Flight_.pop_front();
            if (Link) Link->MSComm1_OnComm(Serial_Port::Comm_Event_Receive);
        }
        Now = end;
    }

    // Characters arriving now, outside any pause.
    void Arrive(const std::string& chunk) {
        Waiting_ += chunk;
        if (Link) Link->MSComm1_OnComm(Serial_Port::Comm_Event_Receive);
    }

  private:
    // One line: a reply never overtakes the one before it.
    void Schedule(double time, const std::string& bytes) {
        if (!In_Flight_.empty()) time = std::max(time, In_Flight_.back().first);
        In_Flight_.push_back({time, bytes});
    }

    int Port_ = 1;
    bool Open_ = false;
    std::string Waiting_;
    std::deque<std::pair<double, std::string>> In_Flight_;
    sim::Frame_Reader Reader_;
};

inline std::string Reply_Of(const std::string& body) {
    return body + Compute_FCS(body) + "*\r";
}

// The protocol, the serial window and the front panel wired as the program wires them, the
// port open; controllers at the given addresses answer, else only replies given to Answer.
struct Controller_Rig {
    sim::Controller_Model Model;
    sim::Kiln_Sim_Server Server;
    Fake_Line Line;
    Recorded_Messages Main_Window;
    Controller_Link Link{Line, Line, &Main_Window};
    FrontPanel& Panel = Link.Panel();
    InOut_Functions& Protocol = Link.Protocol();
    Serial_Port& Serial = Link.Serial();
    std::uint8_t Unit = 0;

    explicit Controller_Rig(std::vector<int> addresses = {}, sim::Unit_Settings settings = {},
                            sim::Fault_Options faults = {})
        : Model(addresses, settings), Server(Model, faults) {
        if (!addresses.empty()) Line.Server = &Server;
        Serial.Form_Load(1);
        Panel.Form_Load();
    }
    void Answer(const std::string& body) { Line.Scripted.push_back(Reply_Of(body)); }
    std::string Last_Sent() const { return Line.Sent.empty() ? "" : Line.Sent.back(); }
};

}  // namespace corvanel::testing
