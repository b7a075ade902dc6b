// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "setup/setting.h"

// Settings of each type, for the setup tests: one-line files and the lines of Safe.txt
// and Energy.txt.
namespace corvanel::test_settings {

inline const Setting Warn{
    .File = "Warn.txt", .Type = Setting_Type::On_Off, .Default = "checked", .Label = "Warn"};
inline const Setting Enabled{.File = "Enabled.txt",
                             .Type = Setting_Type::On_Off,
                             .Default = "unchecked",
                             .Label = "Publish"};
inline const Setting Port{.File = "Port.txt",
                          .Type = Setting_Type::Whole,
                          .Default = "8080",
                          .Label = "Port",
                          .Low = 1,
                          .High = 65535};
inline const Setting Listen{.File = "Listen.txt",
                            .Type = Setting_Type::Choice,
                            .Default = "local",
                            .Label = "Listen on",
                            .Choices = {"local", "network"},
                            .Choice_Labels = {"this computer", "the network"}};
inline const Setting Token{
    .File = "Token.txt", .Type = Setting_Type::Secret, .Label = "Access token"};

inline const Setting Alarm{.File = "Safe.txt",
                           .Key = "Alarm",
                           .Type = Setting_Type::On_Off,
                           .Default = "1",
                           .Label = "Alarm",
                           .On_Word = "1",
                           .Off_Word = "0"};

// In the order of Setting's fields: file, key, type, default, label, unit, low, high, then
// rounding and whether an empty value is taken.
inline const Setting Ticks{"Safe.txt", "Ticks", Setting_Type::Whole, "5", "Failed ticks", "",
                           1,          1000};
inline const Setting Margin{"Safe.txt", "Margin", Setting_Type::Decimal, "50", "Margin", "",
                            1,          1000};
inline const Setting Power{
    "Energy.txt", "Power", Setting_Type::Decimal, "", "Kiln power", "kW", 0, 100, false, true};
inline const Setting Price{
    "Energy.txt", "Price", Setting_Type::Decimal, "", "Price per kWh", "", 0, 100, false, true};

}  // namespace corvanel::test_settings
