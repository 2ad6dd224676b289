// Pictures loaded by file extension (bitmaps through QImage, JPEG through libjpeg),
// pixels in the Windows colour layout, and the surface flood fill.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// Windows colour layout: red in the lowest byte, then green, then blue.
using TColor = quint32;
inline TColor RGBToColor(int r, int g, int b) { return quint32(r & 255) | (quint32(g & 255) << 8) | (quint32(b & 255) << 16); }
inline QRgb ColorToQRgb(TColor c) { return qRgb(int(c & 255), int((c >> 8) & 255), int((c >> 16) & 255)); }
inline TColor QRgbToColor(QRgb c) { return RGBToColor(qRed(c), qGreen(c), qBlue(c)); }
inline QColor ColorToQColor(TColor c) { return QColor(ColorToQRgb(c)); }
inline TColor QColorToColor(const QColor& c) { return RGBToColor(c.red(), c.green(), c.blue()); }

namespace Pictures {

// Loads by extension: "jpg"/"jpeg" through libjpeg (a decoding error throws
// Exception("JPEG error #<n>")), everything else through QImage (failure throws Exception).
// The result is Format_RGB32.
QImage LoadFromFile(const QString& fileName);
// The picture as the bytes of a bitmap file.
QByteArray BitmapBytes(const QImage& image);
// Saves in the picture's own format (a bitmap) whatever the extension; throws on failure.
void SaveBitmap(const QImage& image, const QString& fileName);

// The pixel at (x, y) in the Windows layout; -1 (0xFFFFFFFF) outside the picture.
TColor PixelColor(const QImage& image, int x, int y);

// The surface fill: 4-connected, scanline, over every pixel of exactly `surface` colour
// connected to the seed. A no-op when the seed is outside, the seed pixel is not
// `surface`, or `fill` equals `surface`. The image must be Format_RGB32.
void FloodFillSurface(QImage& image, int x, int y, TColor surface, TColor fill);

}  // namespace Pictures
