// The program's serial port against kiln-sim on a real pseudo-terminal.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "controller/qt_serial_device.h"
#include "fake_line.h"
#include "setup/setup_files.h"
#include "support/qt_rig.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

// The protocol, the serial window and the front panel over the program's own serial
// port, with kiln-sim on the other end of a pseudo-terminal.
class Kiln_Sim_On_A_Pty : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { Make_Application(); }
    void TearDown() override { Serial_.Form_Unload(); }

    void Start_Kiln_Sim(QStringList arguments) { Sim_.Start(Folder_, Paths_, arguments); }
    void Wire() {
        Waiter_.Reply_Buffer = &Protocol_.Reply_Buffer;
        Device_.Deliver_To(Serial_);
        Protocol_.Connect(Serial_);
        Panel_.Link = &Serial_;
        Serial_.Form_Load(1);
    }
    // Runs a command that must be answered, executed and intact.
    template <typename Command>
    void Good(const char* what, Command command) {
        command();
        EXPECT_FALSE(Protocol_.Comm_Error) << what << " reply: " << Protocol_.Reply_Buffer;
        EXPECT_TRUE(Panel_.Command_Executed) << what << " reply: " << Protocol_.Reply_Buffer;
    }

    Temp_Folder Folder_;
    Program_Paths Paths_{Folder_.Path()};
    Kiln_Sim_Process Sim_;
    Qt_Serial_Device Device_{Paths_};
    FrontPanel Panel_;
    Recorded_Messages Main_Window_;
    Patient_Waiter Waiter_;
    InOut_Functions Protocol_{Panel_, Waiter_};
    Serial_Port Serial_{Device_, Panel_, Main_Window_, Protocol_.Reply_Buffer};
};

// Each command's frame and decoding are pinned over the fake line; here the bytes cross a
// real pseudo-terminal, to two controllers, and the line faults arrive as kiln-sim sends them.
TEST_F(Kiln_Sim_On_A_Pty, CommandsAreAnsweredThenFaultsAreSeenAsCommErrors) {
    // Exchanges 1..4 are clean; each later one carries the fault named below.
    Start_Kiln_Sim({"--units=0,3", "--speed=60", "--start-temp=25", "--no-reply=at:5",
                    "--garbage=at:6", "--split-reply=at:7"});
    Wire();
    ASSERT_TRUE(Device_.Port_Open()) << (Main_Window_.Lines.empty() ? "" : Main_Window_.Lines[0]);
    std::uint8_t unit = 0, unit_3 = 3;
    std::int16_t set_value = 600;
    Good("MA01", [&] { Protocol_.Set_Write_Mode_RAM(unit); });  // 1
    Good("WS01", [&] { Protocol_.Write_SV(unit, set_value); });
    Good("RX01", [&] { Protocol_.Read_PV(unit); });
    EXPECT_GE(Protocol_.Last_PV, 25);
    EXPECT_LT(Protocol_.Last_PV, 100);
    EXPECT_TRUE(Panel_.RamWrite);
    Good("RX01 unit 3", [&] { Protocol_.Read_PV(unit_3); });  // 4: the second controller
    std::int16_t last_pv = Protocol_.Last_PV;

    Protocol_.Read_PV(unit);  // 5: no reply
    EXPECT_TRUE(Protocol_.Comm_Error);
    EXPECT_TRUE(Protocol_.Reply_Buffer.empty());
    EXPECT_EQ(Protocol_.Last_PV, last_pv);
    Protocol_.Read_Limits(unit);  // 6: stray characters in front
    EXPECT_TRUE(Protocol_.Comm_Error);
    EXPECT_NE(Protocol_.Reply_Buffer.front(), '@');
    Good("RX01 split", [&] { Protocol_.Read_PV(unit); });  // 7: in chunks, still good
    EXPECT_EQ(Protocol_.Read_SV(unit), 600);               // nothing was lost on the way
    EXPECT_FALSE(Protocol_.Comm_Error);
    EXPECT_TRUE(Main_Window_.Lines.empty());
}

TEST_F(Kiln_Sim_On_A_Pty, APortThatIsNotThereIsReportedAndSendingSaysSo) {
    const std::string device = Folder_.File("no-such-tty");
    Write_Whole_File(Paths_.Setup_File("CommPortMap.txt"), "1=" + device + "\r\n");
    Wire();
    EXPECT_EQ(Main_Window_.Lines,
              (std::vector<std::string>{"Comm port init error", "Invalid Port Number",
                                        "Serial device " + device + ": not found",
                                        "Check that the adapter is plugged in, or correct "
                                        "CommPortMap.txt"}));
    Main_Window_.Lines.clear();
    std::uint8_t unit = 0;
    Protocol_.Read_PV(unit);
    EXPECT_TRUE(Protocol_.Comm_Error);
    EXPECT_EQ(Main_Window_.Lines,
              (std::vector<std::string>{"Inter module message error", "Comm port not open"}));
}

TEST_F(Kiln_Sim_On_A_Pty, ADeviceTheUserMayNotOpenIsNamedWithTheFixUnlessTurnedOff) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root, which may open any device";
    const std::string device = Folder_.File("ttyUSB0");
    Write_Whole_File(device, "");
    ASSERT_EQ(::chmod(device.c_str(), 0), 0);
    Write_Whole_File(Paths_.Setup_File("CommPortMap.txt"), "1=" + device + "\r\n");
    Wire();
    ASSERT_EQ(Main_Window_.Lines.size(), 4u) << Main_Window_.Lines.front();
    EXPECT_EQ(Main_Window_.Lines[1], "Serial device " + device + ": permission denied");
    EXPECT_EQ(Main_Window_.Lines[2], "Add your user to the dialout group, then log in again");
    Write_Text_File(Paths_.Setup_File("SerialPortDetails.txt"), "unchecked");
    try {
        Serial_.Switch_Port(1);
        FAIL() << "the device may not be opened";
    } catch (const Port_Open_Error& error) {
        EXPECT_EQ(error.Number, Error_Number::Permission_Denied);
        EXPECT_TRUE(error.Advice.empty());  // turned off: only the messages it always gave
    }
}

}  // namespace
}  // namespace corvanel::testing
