#include "main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Recording_Observer : Firing_Observer {
    std::vector<std::string> Heard;  // "event state segment elapsed set measured [detail]"
    Firing_Status Last;
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override {
        if (event == Firing_Event::Monitor_Tick) return;
        Last = status;
        const char* state = status.State == Firing_State::Running     ? "run"
                            : status.State == Firing_State::Suspended ? "susp"
                                                                      : "mon";
        Heard.push_back(std::string(Firing_Event_Name(event)) + " " + state + " " +
                        std::to_string(status.Segment) + " " + Format_00(status.Elapsed) + " " +
                        Format_Number(status.Set_Value) + (detail.empty() ? "" : " " + detail));
    }
};

// The operator's firing of a 2-minute ramp, as the observers hear it: start, ticks,
// suspend, an edited time, resume, a pulled cable, soft off.
TEST(Firing_Status, ObserversHearEveryTickAndRunEventWithTheRunsValues) {
    Main_Window_Rig rig;
    Recording_Observer observer;
    rig.Form.Firing.Attach(observer);
    rig.Form.Form_Load();
    rig.Write_Short_Profile();
    rig.Open_Profile("short.txt");
    ASSERT_EQ(observer.Heard.back(), "profile loaded mon 1 0.00 0");
    EXPECT_EQ(observer.Last.Plan->size(), 4u);
    EXPECT_EQ(observer.Last.Total_Time, 3);

    auto tick = [&](int seconds) {
        rig.Clock.Advance(seconds);
        rig.Form.Control_Interval_Timer();
    };
    observer.Heard.clear();
    rig.Form.Start_Profile_Click();
    tick(60);
    EXPECT_EQ(observer.Last.Error_Limit, 50);
    EXPECT_EQ(observer.Last.Time_Left(), 2);
    rig.Form.Start_Profile_Click();  // suspend
    rig.Form.Elapsed_Time_GotFocus();
    for (char key : std::string("\b1.5\r")) rig.Form.Type_Elapsed_Key(key);
    rig.Form.Start_Profile_Click();  // resume at 1.5
    rig.Line.Server = nullptr;       // the cable is pulled
    tick(3);
    EXPECT_TRUE(observer.Last.Exchange_Failed);
    rig.Form.SoftOff_Click();
    rig.Form.SoftOff_Click();  // a second soft off is no run event
    EXPECT_EQ(observer.Heard,
              (std::vector<std::string>{
                  "start run 1 0.00 0", "tick run 1 0.00 70", "tick run 1 1.00 160",
                  "suspend susp 1 1.00 160", "elapsed edited susp 1 1.50 160 1.00 -> 1.50",
                  "resume run 1 1.50 160", "tick run 1 1.50 205",
                  "communication error run 1 1.50 205 Set Value Communications Error",
                  "communication error run 1 1.50 205 Read Value Communications Error",
                  "tick run 1 1.50 205", "soft off mon 1 1.50 70"}));
    rig.Form.Firing.Detach(observer);
}

}  // namespace
}  // namespace corvanel::testing
