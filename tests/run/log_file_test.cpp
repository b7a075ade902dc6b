// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/log_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace corvanel {
namespace {

TEST(Log_File, RecordsAreTwentyOneBytesOfLeftAlignedFields) {
    EXPECT_EQ(Log_Record("125.00", 1000, 998), "125.00   1000 998  \r\n");
    EXPECT_EQ(Log_Record("123456.789", -12345, 0), "123456.78-12340    \r\n");
    EXPECT_EQ(Log_Record("", 0, 0).size(), 21u);
}

// Each append adds one record and never rewrites the earlier ones; a record torn by a
// power cut is overwritten at the record boundary; a missing log reads as time zero and is
// created empty, as does one that holds no readable time.
TEST(Log_File, AppendsWholeRecordsAndReadsBackTheLastElapsedTime) {
    Temp_Folder folder;
    std::string log = folder.File("run.txt");
    ASSERT_TRUE(Append_Log_Record(log, Log_Record("0.00", 70, 68)));
    ASSERT_TRUE(Append_Log_Record(log, Log_Record("0.05", 72, 69)));
    EXPECT_EQ(Read_Whole_File(log), "0.00     70   68   \r\n0.05     72   69   \r\n");
    EXPECT_DOUBLE_EQ(Last_Logged_Elapsed_Time(log), 0.05);

    Write_Whole_File(log, "125.00   1000 998  \r\n126.0");  // power cut mid-record
    EXPECT_DOUBLE_EQ(Last_Logged_Elapsed_Time(log), 125.0);
    ASSERT_TRUE(Append_Log_Record(log, Log_Record("126.00", 1005, 1001)));
    EXPECT_EQ(Read_Whole_File(log), "125.00   1000 998  \r\n126.00   1005 1001 \r\n");

    std::string missing = folder.File("new.txt");
    EXPECT_EQ(Last_Logged_Elapsed_Time(missing), 0);
    EXPECT_EQ(Read_Whole_File(missing), "");
    Write_Whole_File(log, "garbage!!garbage!!ab\r\n");
    EXPECT_EQ(Last_Logged_Elapsed_Time(log), 0);
    EXPECT_FALSE(Append_Log_Record(folder.File("no/such/folder/x.txt"), Log_Record("1", 1, 1)));
}

// A reset names the new log after the profile (dots and all) and the minute.
TEST(Log_File, AResetNamesTheLogAfterTheProfileAndTheMinute) {
    Date_Time april{2011, 4, 3, 14, 5, 59};
    EXPECT_EQ(Reset_Log_Name("cone.6.txt", april), "cone.6_04_03_2011_14_05.txt");
    EXPECT_EQ(Reset_Log_Name("bisque", april), "bisque_04_03_2011_14_05.txt");
}

}  // namespace
}  // namespace corvanel
