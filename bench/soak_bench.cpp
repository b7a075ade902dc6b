// SPDX-License-Identifier: GPL-3.0-or-later
// The soak: a 48-hour firing of ramps and long holds on the real program, then a day of
// watching the kiln after it, in well under an hour: the program's clocks sped up by
// libfaketime, kiln-sim at the same speed, the status page and MQTT on (a real mosquitto),
// the kiln guard on. Prints the program's memory along the way, the page's and the
// broker's answers and the heartbeat's age at hour 47, the ticks' lateness and the firing
// record read back whole. Ends with status 1 when something seen is wrong.
//
//   build/bench/soak_bench [--speed=100]     (about 45 minutes at 100 times)
// CORVANEL_SOAK_KEEP=1 keeps the program folder; CORVANEL_SOAK_WRAP="COMMAND ARGS" runs
// the program's side under another command. For heaptrack attach to the running side
// (heaptrack -p PID): its preload and libfaketime's crash when started together.

#include <QCoreApplication>
#include <iostream>
#include <string>

#include "soak_firing.h"

namespace {

// 48 hours: a candling hold, a long hold below red heat, the top and its soak, a slow
// cool with a hold on the way; it ends at 1250 F, so the watch after it has a hot kiln.
const corvanel::soak::Soak_Plan Forty_Eight_Hours{
    "soak_48h.txt",
    "end_temp,duration,ramp_rate,error_limit,command\n"
    "250,,60,,\n"
    "250,9,,,\n"
    "1000,,100,,\n"
    "1000,6,,,\n"
    "1850,,170,,\n"
    "1850,6,,,\n"
    "1450,,-100,,\n"
    "1450,5.5,,,\n"
    "1250,,-100,,\n",
    "to 250 F at 60 F/h, hold 9 h, to 1000 F at 100 F/h, hold 6 h, to 1850 F at 170 F/h, "
    "hold 6 h, down to 1450 F at 100 F/h, hold 5.5 h, down to 1250 F at 100 F/h (48 h)",
    48,
    24,
    100,
    {1, 12, 24, 47, 72},
    47};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--program") {
        return corvanel::soak::Soak_Program_From_Environment(CORVANEL_GUARD_PATH);
    }
    corvanel::soak::Soak_Plan plan = Forty_Eight_Hours;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--speed=", 0) == 0) {
            plan.Speed = std::stod(argument.substr(8));
        } else {
            std::cerr << "usage: soak_bench [--speed=N]\n";
            return 2;
        }
    }
    QCoreApplication application(argc, argv);
    corvanel::soak::Soak_Parts parts;
    parts.Self = QCoreApplication::applicationFilePath().toStdString();
    parts.Child_Arguments = {"--program"};
    parts.Kiln_Sim = KILN_SIM_PATH;
    parts.Program_Dir = CORVANEL_PROGRAM_DIR;
    std::cout << "Soak: 48-hour firing and 24-hour watch on the program, sped up\n";
    const corvanel::soak::Soak_Result result = corvanel::soak::Run_Soak(
        plan, parts, [](const std::string& figure) { std::cout << figure << std::endl; });
    if (!result.Failure.empty()) {
        std::cout << "the soak did not run: " << result.Failure << std::endl;
        return 2;
    }
    std::cout << (result.Faults.empty() ? "whole: no faults seen" : "FAULTS seen") << std::endl;
    return result.Faults.empty() ? 0 : 1;
}
