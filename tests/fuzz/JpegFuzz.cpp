// JPEG through libjpeg.
#include "PicturesFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return Fuzz::LoadPicture(QStringLiteral("map.jpg"), data, size);
}
