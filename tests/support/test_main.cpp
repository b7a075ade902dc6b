// SPDX-License-Identifier: GPL-3.0-or-later
// Every test program takes the desktop's locale from its environment, as the program does
// at its start (Qt sets the C library's locale from LANG and LC_*): the suite run under
// LC_ALL=de_DE.UTF-8 is the suite on a German desktop.

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
