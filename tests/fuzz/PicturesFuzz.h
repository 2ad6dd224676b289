// The picture harnesses: any bytes under a file name of the kind load as a whole RGB32 picture
// within the allocation limit, or fail with an error; a loaded picture saves as a bitmap that
// loads back pixel for pixel.
#pragma once

#include "Exceptions.h"
#include "FuzzSupport.h"
#include "Pictures.h"

#include <QImageReader>

namespace Fuzz {

inline int LoadPicture(const QString& name, const uint8_t* data, size_t size)
{
    // Bounded memory: 64 MB of pixels at most.
    QImageReader::setAllocationLimit(64);
    const QString path = Put(name, data, size);
    QImage image;
    try {
        image = Pictures::LoadFromFile(path);
    } catch (const Exception& e) {
        FUZZ_CHECK(!e.Message.isEmpty());
        return 0;
    }
    FUZZ_CHECK(!image.isNull() && image.format() == QImage::Format_RGB32);
    FUZZ_CHECK(quint64(image.width()) * quint64(image.height()) * 4 <= 64ull << 20);
    const QString copy = Dir() + QStringLiteral("/copy.bmp");
    Pictures::SaveBitmap(image, copy);
    const QImage back = Pictures::LoadFromFile(copy);
    FUZZ_CHECK(back.size() == image.size());
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(back.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) FUZZ_CHECK(((a[x] ^ b[x]) & 0xFFFFFFu) == 0);
    }
    return 0;
}

}  // namespace Fuzz
