#include "language/translate.h"

namespace corvanel {

// Until phrase databases are wired in, every text is shown in English.
std::string TranslateText(const std::string& text) { return text; }

}  // namespace corvanel
