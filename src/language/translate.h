#pragma once

#include <string>

namespace corvanel {

// The translation of an English text into the current interface language.
std::string TranslateText(const std::string& text);

}  // namespace corvanel
