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
inline const Setting Ticks{.File = "Safe.txt",
                           .Key = "Ticks",
                           .Type = Setting_Type::Whole,
                           .Default = "5",
                           .Label = "Failed ticks",
                           .Low = 1,
                           .High = 1000};
inline const Setting Margin{.File = "Safe.txt",
                            .Key = "Margin",
                            .Type = Setting_Type::Decimal,
                            .Default = "50",
                            .Label = "Margin",
                            .Low = 1,
                            .High = 1000};

inline const Setting Power{.File = "Energy.txt",
                           .Key = "Power",
                           .Type = Setting_Type::Decimal,
                           .Label = "Kiln power",
                           .Unit = "kW",
                           .Low = 0,
                           .High = 100,
                           .Empty_Allowed = true};
inline const Setting Price{.File = "Energy.txt",
                           .Key = "Price",
                           .Type = Setting_Type::Decimal,
                           .Label = "Price per kWh",
                           .Low = 0,
                           .High = 100,
                           .Empty_Allowed = true};

}  // namespace corvanel::test_settings
