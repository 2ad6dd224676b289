// Bitmaps through Qt's reader.
#include "PicturesFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Fuzz::LoadPicture(QStringLiteral("map.bmp"), data, size);
}
