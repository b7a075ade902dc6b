// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/json_text.h"

#include <cmath>

#include "common/text.h"

namespace corvanel {

std::string Json_String(std::string_view text) {
    std::string json = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    json += Formatted("\\u%04x", static_cast<unsigned>(c));
                } else {
                    json += c;
                }
        }
    }
    return json + "\"";
}

std::string Json_Number(double value) {
    return std::isfinite(value) ? Format_Number(value) : "null";
}

}  // namespace corvanel
