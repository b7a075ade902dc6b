// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvanel {

inline constexpr std::string_view CRLF = "\r\n";

// printf's formatting into a string as long as it needs.
std::string Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Message lines joined with CR LF, no line end after the last one.
std::string Join_Lines(std::initializer_list<std::string_view> lines);
std::string Join_Lines(const std::vector<std::string>& lines);

// Appends the text and CR LF at the end of a message box. A box with a limit never
// holds more: when the new text would make it longer, the whole box is emptied instead.
void Append_Message(std::string& box, std::string_view text, std::size_t limit = std::string::npos);

// Sets the whole text of a message box under the same limit.
void Set_Message_Text(std::string& box, std::string text, std::size_t limit);

// The "#0.00" format: at least one digit before the point, exactly two after,
// halves rounded away from zero on the value as written with 15 significant digits
// (so 1.005 gives "1.01", as a person reading the number expects). A value that
// rounds to zero is written "0.00", never "-0.00".
std::string Format_00(double value);

// A number as plain decimal text, as short as it can be written exactly enough:
// 160, 123.4, 45.7, -0.5. Used for read-outs of values in tenths.
std::string Format_Number(double value);

// A whole number as plain decimal digits, with a minus sign when negative.
std::string Format_Whole(long long value);
// A temperature rounded to the degree, with its scale ("F" or "C"), in English: "1,832 °F".
std::string Temperature_Text(double degrees, const std::string& scale);
// A length of time in the operator's units: "45 s", "2 min 5 s", "3 h 20 min", "2 h 05 min".
std::string Duration_Text(long long seconds);

// The text right-aligned in a field of `width` characters: padded with spaces on the
// left, or cut to its first `width` characters when longer.
std::string Right_Align(std::string_view text, std::size_t width);

// The "key=value" lines of a small file, in order, each split at its first "=". With
// `last`, reading stops after the line that is `last` (its line end may be missing), and a
// text without it is no whole file; without, every line needs its line end. Nothing when
// a line has no "=" or the text is not whole (written half).
using Key_Value_Line = std::pair<std::string_view, std::string_view>;
std::optional<std::vector<Key_Value_Line>> Key_Value_Lines(std::string_view text,
                                                           std::string_view last = {});

}  // namespace corvanel
