// SPDX-License-Identifier: GPL-3.0-or-later
// Firing records and plain logs as the history window and corvanel-log read them:
// whatever a power cut, an editor or a damaged disk left in the file, through the
// summary, the chart and the report.

#include "fuzz_input.h"
#include "history/firing_report.h"
#include "history/firing_summary.h"
#include "run/firing_chart.h"
#include "run/firing_record.h"

using namespace corvanel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fuzz_Input input(data, size);
    const bool plain_log = input.Byte() & 1;
    const std::string text = input.Rest();

    Firing_Record record =
        plain_log ? Parse_Plain_Log(text, Firing_Record_Header{}) : Parse_Firing_Record(text);
    Firing_Summary summary = Summarise(record, Energy_Settings{7.5, 0.3});
    Build_Firing_Chart({&record});
    Firing_Report_Lines(record, summary, Report_Style{});
    return 0;
}
