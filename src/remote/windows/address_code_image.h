// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <string>

namespace corvanel {

// The page's address as a QR code a phone's camera reads: black squares of
// `module_pixels` on white, with the four-square white margin readers need. A null image
// when the text cannot be encoded (too long for a QR code).
QImage Address_Code_Image(const std::string& address, int module_pixels = 4);

}  // namespace corvanel
