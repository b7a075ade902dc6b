// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_health.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "history/kiln_health_model.h"
#include "history/kiln_health_reading.h"
#include "history/kiln_pace_check.h"
#include "support/temp_folder.h"
#include "support/worked_example.h"
#include "synthetic_firing.h"

namespace corvanel {
namespace {

double Rate(const Firing_Health& health, std::size_t band) {
    return health.Full_Power_Rate[band].Value.value_or(-1);
}

TEST(Kiln_Health, RatesAtFullOutputAreReadInEachBandTheFiringCrossed) {
    const Firing_Health glaze = Synthetic_Firing{}.Health();
    for (auto [band, rate] : {std::pair{0, 600.0}, {1, 480.0}, {2, 300.0}})
        EXPECT_NEAR(Rate(glaze, band), rate, rate / 100) << band;
    // The last 200 F climbed at 300 F/h: 40 minutes.
    EXPECT_NEAR(glaze.Last_200_Minutes.Value.value_or(0), 40, 1);
    // Half the ticks-worth of the hold at half output: the share is the climb's ticks.
    EXPECT_GT(glaze.Full_Output_Share.Value.value_or(0), 0.8);
    EXPECT_LT(glaze.Full_Output_Share.Value.value_or(1), 1);
    // The set value runs up to 40 F ahead in the ramp.
    EXPECT_NEAR(glaze.Ramp_Lag.Value.value_or(0), 40, 1);
    EXPECT_EQ(glaze.Outcome, Firing_Outcome::Finished);

    // A bisque to 1,200 F: the top band is not reached; the middle one is read from what
    // it climbed of it.
    Synthetic_Firing bisque;
    bisque.Peak = 1200;
    const Firing_Health low = bisque.Health();
    EXPECT_NEAR(Rate(low, 1), 480, 5);
    EXPECT_FALSE(low.Full_Power_Rate[2].Value);
    EXPECT_EQ(low.Full_Power_Rate[2].Omitted, "the firing did not reach this band");

    // A kiln held back by its controller has no rate at full output to give.
    Synthetic_Firing slow;
    slow.Output = 60;
    const Firing_Health held = slow.Health();
    for (const Health_Figure& rate : held.Full_Power_Rate) {
        EXPECT_EQ(rate.Omitted, "the kiln did not heat through this band at full power");
    }
    EXPECT_EQ(held.Full_Output_Share.Value, 0);

    // A Celsius firing on the same kiln gives the same figures, kept in Fahrenheit.
    const Firing_Health c = Synthetic_Firing{}.Celsius().Health();
    EXPECT_EQ(c.Temp_Scale, "C");
    EXPECT_NEAR(Rate(c, 0), 600, 6);
    EXPECT_NEAR(Rate(c, 2), 300, 3);

    // A gap is not climbed through, and a cut-off last climb is not timed.
    Synthetic_Firing cut;
    cut.Gap_At = 1950, cut.Gap_Minutes = 45;
    const Firing_Health health = cut.Health();
    EXPECT_NEAR(Rate(health, 2), 300, 3);
    EXPECT_FALSE(health.Last_200_Minutes.Value);
    EXPECT_EQ(health.Last_200_Minutes.Omitted, "the firing was cut off during its last climb");
}

TEST(Kiln_Health, HostileRecordsGiveReasonsNeverACrash) {
    EXPECT_EQ(Work_Out_Health(Parse_Firing_Record("")).Ramp_Lag.Omitted,
              "the record holds no readings of a run");
    std::mt19937 random(7);
    const std::string good = Synthetic_Firing{}.Text();
    for (int round = 0; round < 200; ++round) {
        std::string text = good.substr(0, random() % good.size());
        if (text.empty()) continue;
        for (int k = 0; k < 20; ++k) text[random() % text.size()] = static_cast<char>(random());
        const Firing_Health health = Work_Out_Health(Parse_Firing_Record(text));
        for (const Health_Figure& figure : health.Full_Power_Rate) {
            EXPECT_NE(figure.Value.has_value(), !figure.Omitted.empty());
        }
    }
}

TEST(Kiln_Health, FiguresAreKeptBesideTheRecordAndWorkedOutAgainWhenItChanges) {
    Temp_Folder folder;
    const std::string record = folder.File("glaze.firing.csv");
    Write_Whole_File(record, Synthetic_Firing{}.Text());
    const std::string kept = folder.File("glaze.health");
    ASSERT_TRUE(Kept_Health(record));
    ASSERT_TRUE(std::filesystem::exists(kept));

    // The kept figures stand for the record: a changed number there is what is read.
    std::string text = Read_Whole_File(kept);
    const std::size_t at = text.find("rate_1=");
    text.replace(at, text.find('\n', at) - at, "rate_1=123");
    Write_Whole_File(kept, text);
    EXPECT_EQ(Rate(*Kept_Health(record), 0), 123);

    // A record that grew, or a torn kept file, is worked out again.
    Write_Whole_File(record, Synthetic_Firing{}.Text() + "\r\n");
    EXPECT_NEAR(Rate(*Kept_Health(record), 0), 600, 6);
    Write_Whole_File(kept, Read_Whole_File(kept).substr(0, 40));
    EXPECT_NEAR(Rate(*Kept_Health(record), 0), 600, 6);
    // An older method's figures are not taken.
    text = Read_Whole_File(kept);
    text.replace(0, text.find('\n'), "method=0");
    text.replace(text.find("rate_1="), 10, "rate_1=123");
    Write_Whole_File(kept, text);
    EXPECT_NEAR(Rate(*Kept_Health(record), 0), 600, 6);
}

// Firings of a kiln whose top band slows by `loss` each firing from `from` on.
std::vector<Firing_Health> Wearing_Kiln(int count, double loss, int from = 0) {
    std::vector<Firing_Health> firings;
    double top = 300;
    for (int i = 0; i < count; ++i) {
        Firing_Health firing;
        firing.Has_Start = true;
        firing.Start = Date_Time_Of_Seconds(Seconds_Of({2027, 1, 4, 8, 0, 0}) + i * 7 * 86400LL);
        if (i >= from) top *= 1 - loss;
        firing.Full_Power_Rate[1].Value = 480;
        firing.Full_Power_Rate[2].Value = top;
        firing.Last_200_Minutes.Value = 200 / top * 60;
        firings.push_back(firing);
    }
    return firings;
}

TEST(Kiln_Health, TheReadingComparesTheLatestFiringsWithTheBaseline) {
    const Kiln_Health_Settings settings;
    std::vector<Health_Reading> readings =
        Read_Kiln_Health(Wearing_Kiln(3, 0.05), {}, settings, "F");
    EXPECT_EQ(readings.front().Says, Health_Reading::Level::Too_Few);

    readings = Read_Kiln_Health(Wearing_Kiln(12, 0.02, 3), {}, settings, "F");
    // Baseline 300, 300, 300; the last three 300 * 0.98^7..9: about 15.5% slower.
    EXPECT_EQ(readings.front().Says, Health_Reading::Level::Watch);
    EXPECT_EQ(readings.front().Text.English(),
              "At full power the kiln now heats 15% slower between 1,500 °F and 2,000 °F than in "
              "its first firings from 4 January 2027: the elements are wearing; watch the next "
              "firings.");
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(readings[1].Text.English(),
              "The last climb to the peak now takes 18% longer than in its first firings from "
              "4 January 2027.");

    readings = Read_Kiln_Health(Wearing_Kiln(12, 0.04, 3), {}, settings, "C");
    EXPECT_EQ(readings.front().Says, Health_Reading::Level::Replace);
    EXPECT_NE(readings.front().Text.English().find("between 815 °C and 1,095 °C"),
              std::string::npos);
}

TEST(Kiln_Health, BeforeAFiringTheSegmentsTheKilnCannotFollowAreSaid) {
    std::vector<Firing_Health> firings = Wearing_Kiln(4, 0);
    for (Firing_Health& firing : firings) firing.Full_Power_Rate[2].Value = 210;
    const Date_Time now = Date_Time_Of_Seconds(Seconds_Of(firings.back().Start) + 86400);
    // Four segments; the fourth asks 300 F/h from 1,800 to 2,100 F (an hour), where the
    // kiln managed 210: 300/210 h, about 26 minutes behind. The others it can follow.
    const Plan_Points plan = {{0, 0}, {0, 70}, {120, 1000}, {360, 1800}, {420, 1800}, {480, 2100}};
    std::vector<Operator_Text> said =
        Check_Profile_Pace(plan, "F", "M", firings, {}, Kiln_Health_Settings{}, now);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].English(),
              "Segment 4 asks 300 °F/h above 1,800 °F; your kiln managed 210 °F/h there last "
              "month: expect about 26 min behind the plan.");
    Plan_Points in_hours = plan;
    for (auto& point : in_hours) point.first /= 60;
    const auto hours = Check_Profile_Pace(in_hours, "F", "H", firings, {}, {}, now);
    ASSERT_EQ(hours.size(), 1u);
    EXPECT_EQ(hours[0].English(), said[0].English()) << "the same plan in hours";
    // A kiln with no firing through the band, or only before new elements, says nothing.
    EXPECT_TRUE(Check_Profile_Pace(plan, "F", "M", {}, {}, Kiln_Health_Settings{}, now).empty());
    const Kiln_Event fitted{
        {now.Year, now.Month, now.Day, 0, 0, 0}, Kiln_Event_Kind::Elements_Replaced, ""};
    EXPECT_TRUE(
        Check_Profile_Pace(plan, "F", "M", firings, {fitted}, Kiln_Health_Settings{}, now).empty());
}

struct Said_Lines : Message_Area {
    std::vector<std::string> Lines;
    void Display(const std::string& text) override { Lines.push_back(text); }
    void Clear() override { Lines.clear(); }
};

// The potter's kiln managed 500 F/h up to 1,000 F in its last firings; the worked example
// asks 930 F/h from 70 to 1,000 F. RUN PROFILE says so (the firing starts all the same),
// and so does the editor's check of the profile file, until the setting turns it off.
TEST(Kiln_Health, RunProfileAndTheEditorSayWhatTheKilnCannotFollow) {
    Temp_Folder folder;
    Program_Paths paths{folder.Path()};
    Settings_Store settings(paths);
    for (int day : {4, 11, 18}) {
        Synthetic_Firing firing;
        firing.Start.Day = day;
        firing.Rates.front().second = 500;
        Write_Whole_File(paths.Logfile("glaze_" + std::to_string(day) + ".firing.csv"),
                         firing.Text());
    }
    const std::string profile = paths.Profile_File("example.txt");
    Write_Whole_File(profile, Worked_Example_Text());
    Said_Lines said;
    Kiln_Pace_Check check(paths, settings, said, said);
    Firing_Status status;
    Firing_Record_Header header;
    ASSERT_TRUE(Header_Of_Profile_File(profile, header));
    status.Plan = std::make_shared<const Plan_Points>(header.Plan);
    status.Clock = {2027, 2, 1, 9, 0, 0};
    check.Firing_Changed(status, Firing_Event::Tick, "");
    EXPECT_TRUE(said.Lines.empty());
    check.Firing_Changed(status, Firing_Event::Start, "");
    const std::vector<std::string> expected = {
        "Segment 1 asks 930 °F/h above 600 °F; your kiln managed 500 °F/h there last month: "
        "expect about 22 min behind the plan."};
    EXPECT_EQ(said.Lines, expected);
    said.Clear();
    check.Check_Profile_File(profile, status.Clock);
    EXPECT_EQ(said.Lines, expected);

    said.Clear();
    check.Check_Profile_File(paths.Logfile("glaze_4.firing.csv"), status.Clock);
    ASSERT_EQ(said.Lines.size(), 1u);
    EXPECT_EQ(said.Lines[0].substr(0, 50), "glaze_4.firing.csv is not a profile that can be ch");

    Write_Whole_File(folder.File("Setup/KilnHealth.txt"), "Check_At_Start=0\r\n");
    said.Clear();
    check.Firing_Changed(status, Firing_Event::Start, "");
    EXPECT_TRUE(said.Lines.empty());
}

// The Kiln Health window's model: the trend of a measure with its baseline, and an event
// marked on a day starts a new baseline; a day that is not one is refused in words.
TEST(Kiln_Health, TheWindowShowsTheTrendAndMarksEventsThatStartANewBaseline) {
    Temp_Folder folder;
    Program_Paths paths{folder.Path()};
    Settings_Store settings(paths);
    for (int week = 0; week < 8; ++week) {
        Synthetic_Firing firing;
        firing.Start = Date_Time_Of_Seconds(Seconds_Of(firing.Start) + week * 7 * 86400LL);
        firing.Rates.back().second = week < 3 ? 300 : 240;
        Write_Whole_File(paths.Logfile("g" + std::to_string(week) + ".firing.csv"), firing.Text());
    }
    Kiln_Health_Model model(paths, settings);
    model.Form_Load();
    EXPECT_EQ(model.Firings, 8u);
    ASSERT_EQ(model.Trend.size(), 8u);
    EXPECT_TRUE(model.Trend[2].In_Baseline);
    EXPECT_FALSE(model.Trend[3].In_Baseline);
    EXPECT_NEAR(model.Baseline.value_or(0), 300, 3);
    EXPECT_EQ(model.Readings.substr(0, 48), "At full power the kiln now heats 20% slower betw");

    model.Mark_Event_Click(Kiln_Event_Kind::Elements_Replaced, "2027-02-30", "");
    EXPECT_EQ(model.Messages,
              "2027-02-30 is not a day the kiln's event can be marked on\r\n"
              "Type the day as year-month-day, for example 2027-03-12\r\n");
    model.Clear();
    model.Mark_Event_Click(Kiln_Event_Kind::Elements_Replaced, "2027-01-25",
                           "new set, \"Kanthal\"");
    ASSERT_EQ(model.Events.size(), 1u);
    EXPECT_EQ(model.Events[0].Text, "elements replaced");
    EXPECT_EQ(Read_Kiln_Events(paths.Logfiles_Folder())[0].Note, "new set, \"Kanthal\"");
    EXPECT_NEAR(model.Baseline.value_or(0), 240, 3);
    EXPECT_EQ(model.Readings,
              "At full power the kiln heats about as fast as with the elements "
              "fitted on 25 January 2027.");
}

}  // namespace
}  // namespace corvanel
