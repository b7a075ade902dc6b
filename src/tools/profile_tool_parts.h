// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"
#include "profiles/detached_editor.h"
#include "profiles/editor_typing.h"
#include "profiles/profile_editor_model.h"

namespace corvanel {

// The editor as the profile tool drives it: no windows, no beeps, no settings files.
using Tool_Editor = Detached_Editor;

// A command line or an input the tool cannot take is thrown as a Problem_Error, said by
// Report_Tool_Problem under this name, and the tool ends with status 2.
inline constexpr std::string_view Profile_Tool_Name = "corvanel-profile";

// The value after the option args[i]; i moves on to it.
std::string Option_Value(const std::vector<std::string>& args, std::size_t& i);

// --sensor CODE and --scale F|C, as make and cone take them: false when args[i] is
// neither, else the option's value taken (i moved past it).
bool Take_Sensor_Or_Scale(const std::vector<std::string>& args, std::size_t& i, int& sensor,
                          bool& fahrenheit);

// Message box text (CR LF line ends) as console lines.
std::string Console_Text(const std::string& message_box_text);

// Puts a checked profile text into the editor as Open does; returns the messages that
// matter on a console ("Profile is valid", and the sensor default when the file's own
// code is not a known sensor).
std::string Load_Into_Editor(Profile_Editor& editor, const std::string& text,
                             const std::string& file_name);

// Types the profile into a detached editor and writes it to path through the editor's
// Save As, printing the messages of the typing (each under its segment's label) and of
// the save. Returns 0 when the profile passed the check and was saved, 1 otherwise.
int Save_Typed_Profile(const Typed_Profile& profile, const std::vector<std::string>& labels,
                       const std::string& path, std::ostream& out);

int Make_Profile(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);
int Make_Cone_Profile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace corvanel
