// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/windows/address_code_image.h"

#include <QImage>
#include <qrencode.h>

#include <memory>

namespace corvanel {

QImage Address_Code_Image(const std::string& address, int module_pixels) {
    // Level M: a quarter of the squares may be smudged or glared and the phone still reads it.
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(address.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code) return {};
    const int margin = 4, side = (code->width + 2 * margin) * module_pixels;
    QImage image(side, side, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (!(code->data[y * code->width + x] & 1)) continue;  // bit 0: a dark square
            for (int dy = 0; dy < module_pixels; ++dy) {
                for (int dx = 0; dx < module_pixels; ++dx) {
                    image.setPixel((x + margin) * module_pixels + dx,
                                   (y + margin) * module_pixels + dy, 1);
                }
            }
        }
    }
    return image;
}

}  // namespace corvanel
