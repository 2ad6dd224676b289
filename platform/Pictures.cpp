// Picture loading by extension, bitmap saving, pixels in the Windows layout and the surface flood fill.
#include "Pictures.h"

#include "Exceptions.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace Pictures {

namespace {

// libjpeg reports errors through error_exit, which must not return: it jumps back to the
// decoder, which cleans up and only then throws.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int code;
};

extern "C" void JpegErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = err->pub.msg_code;
    std::longjmp(err->jump, 1);
}

// A warning means corrupt or missing data (a truncated file, for one): the picture is not whole.
extern "C" void JpegEmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0) JpegErrorExit(cinfo);
}

extern "C" void JpegOutputMessage(j_common_ptr) {}

// True when a picture of that size, as the RGB32 image it becomes, stays within Qt's image
// allocation limit; a header may claim any size, and the pixels would be allocated first.
bool WithinAllocationLimit(quint64 width, quint64 height)
{
    const quint64 limitMb = quint64(std::max(QImageReader::allocationLimit(), 0));
    return limitMb == 0 || width * height * 4 <= limitMb * 1024 * 1024;
}

// Adobe's CMYK JPEGs store the inks inverted.
void CmykRowToRgb32(const JSAMPLE* in, QRgb* out, int width)
{
    for (int x = 0; x < width; ++x, in += 4) {
        const int k = in[3];
        out[x] = qRgb(in[0] * k / 255, in[1] * k / 255, in[2] * k / 255);
    }
}

// Only plain data lives in this frame, so the jump back skips no destructor. Returns 0 on
// success, else the library's message number.
int DecodeJpeg(const QByteArray& bytes, QImage* image)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JpegErrorExit;
    err.pub.emit_message = JpegEmitMessage;
    err.pub.output_message = JpegOutputMessage;
    err.code = 0;
    JSAMPLE* volatile cmykRow = nullptr;  // read after the jump back
    if (setjmp(err.jump)) {
        std::free(cmykRow);
        jpeg_destroy_decompress(&cinfo);
        return err.code ? err.code : -1;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (!WithinAllocationLimit(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return JERR_IMAGE_TOO_BIG;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const J_COLOR_SPACE rgb32 = JCS_EXT_BGRA;  // the fourth byte set to 0xFF, as RGB32 wants
#else
    const J_COLOR_SPACE rgb32 = JCS_EXT_ARGB;
#endif
    cinfo.out_color_space = cmyk ? JCS_CMYK : rgb32;
    jpeg_start_decompress(&cinfo);
    *image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
    if (image->isNull()) {
        jpeg_destroy_decompress(&cinfo);
        return JERR_OUT_OF_MEMORY;
    }
    if (cmyk) cmykRow = static_cast<JSAMPLE*>(std::malloc(size_t(cinfo.output_width) * 4));
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        JSAMPROW row = cmyk ? cmykRow : reinterpret_cast<JSAMPROW>(image->scanLine(y));
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (cmyk) CmykRowToRgb32(cmykRow, reinterpret_cast<QRgb*>(image->scanLine(y)), int(cinfo.output_width));
    }
    jpeg_finish_decompress(&cinfo);
    std::free(cmykRow);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

QImage LoadJpeg(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) throw Exception(QStringLiteral("Cannot open file \"%1\"").arg(fileName));
    const QByteArray bytes = file.readAll();
    QImage image;
    if (const int code = DecodeJpeg(bytes, &image)) throw Exception(QStringLiteral("JPEG error #%1").arg(code));
    return image;
}

}  // namespace

namespace {

quint32 Le32(const uchar* p) { return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24; }
quint16 Le16(const uchar* p) { return quint16(p[0] | p[1] << 8); }

// The plain bitmap a map usually is (24 or 32 bits a pixel, uncompressed), read straight into
// the picture a block of rows at a time. False, with the file untouched, for any other kind:
// the general reader takes those.
bool LoadPlainBitmap(const QString& fileName, QImage& image)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    uchar header[54];
    if (file.read(reinterpret_cast<char*>(header), 54) != 54 || header[0] != 'B' || header[1] != 'M') return false;
    const quint32 offset = Le32(header + 10), infoSize = Le32(header + 14);
    const qint32 width = qint32(Le32(header + 18)), rawHeight = qint32(Le32(header + 22));
    const int bits = Le16(header + 28);
    if (infoSize < 40 || Le16(header + 26) != 1 || Le32(header + 30) != 0 || (bits != 24 && bits != 32)) return false;
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || width > 65535) return false;
    const bool topDown = rawHeight < 0;
    const qint64 height = topDown ? -qint64(rawHeight) : rawHeight;
    if (height > 65535) return false;
    // What the general reader would refuse for its size, it refuses with its own message.
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limit > 0 && qint64(width) * height * 4 > limit) return false;
    const qint64 stride = ((qint64(width) * bits / 8) + 3) & ~qint64(3);
    if (qint64(offset) + stride * height > file.size() || !file.seek(offset)) return false;
    QImage out(int(width), int(height), QImage::Format_RGB32);
    if (out.isNull()) return false;
    const int bytesPerPixel = bits / 8;
    const int block = int(std::max<qint64>(1, (4 << 20) / stride));
    std::vector<uchar> buffer(size_t(stride) * size_t(block));
    for (qint64 row = 0; row < height;) {
        const int n = int(std::min<qint64>(block, height - row));
        if (file.read(reinterpret_cast<char*>(buffer.data()), stride * n) != stride * n) return false;
        for (int i = 0; i < n; ++i, ++row) {
            const uchar* in = buffer.data() + size_t(stride) * size_t(i);
            QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(int(topDown ? row : height - 1 - row)));
            for (int x = 0; x < width; ++x, in += bytesPerPixel) line[x] = 0xFF000000u | quint32(in[2]) << 16 | quint32(in[1]) << 8 | in[0];
        }
    }
    image = std::move(out);
    return true;
}

// False when a bitmap's pixel data end before its header says they do: the general reader would
// leave the missing rows unwritten. Uncompressed rows must all be there; a run-length stream
// must reach its end marker or its last row. Other files, and what the header alone refuses,
// are the general reader's to judge. runLength tells a run-length bitmap.
bool BitmapDataWhole(const QByteArray& bytes, bool& runLength)
{
    runLength = false;
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 size = bytes.size();
    if (size < 26 || b[0] != 'B' || b[1] != 'M') return true;
    const qint64 offset = Le32(b + 10);
    const quint32 infoSize = Le32(b + 14);
    qint64 width = 0, height = 0;
    int bits = 0;
    quint32 compression = 0;
    if (infoSize == 12) {
        width = Le16(b + 18);
        height = Le16(b + 20);
        bits = Le16(b + 24);
    } else {
        if (size < 34) return false;
        width = qint32(Le32(b + 18));
        height = qint32(Le32(b + 22));
        bits = Le16(b + 28);
        compression = Le32(b + 30);
    }
    if (width <= 0 || height == 0) return true;
    height = std::abs(height);
    if (compression == 0 || compression == 3 || compression == 6) {
        const qint64 stride = (width * bits + 31) / 32 * 4;
        return offset + stride * height <= size;
    }
    if (compression != 1 && compression != 2) return true;
    runLength = true;
    const bool rle4 = compression == 2;
    qint64 pos = offset, row = 0;
    while (row < height) {
        if (pos + 2 > size) return false;
        const uchar count = b[pos], code = b[pos + 1];
        pos += 2;
        if (count != 0) continue;  // a run of one value
        if (code == 0) {
            ++row;
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (pos + 2 > size) return false;
            row += b[pos + 1];
            pos += 2;
        } else {
            const qint64 n = rle4 ? (code + 1) / 2 : code;  // literal pixels, padded to a word
            pos += n + (n & 1);
            if (pos > size) return false;
        }
    }
    return true;
}

}  // namespace

QImage LoadFromFile(const QString& fileName)
{
    const QFileInfo info(fileName);
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return LoadJpeg(fileName);

    if (!info.exists()) throw Exception(QStringLiteral("Cannot open file \"%1\"").arg(fileName));
    QImage plain;
    if (LoadPlainBitmap(fileName, plain)) return plain;
    bool runLength = false;
    {
        QFile file(fileName);
        if (file.open(QIODevice::ReadOnly) && !BitmapDataWhole(file.readAll(), runLength))
            throw Exception(QStringLiteral("Bitmap image is not valid"));
    }
    QImageReader reader(fileName);
    const QSize claimed = reader.size();
    const bool fits = !claimed.isValid() || WithinAllocationLimit(quint64(claimed.width()), quint64(claimed.height()));
    QImage image;
    if (fits && runLength && claimed.isValid()) {
        // Runs may skip pixels (a delta, an early end), which the reader leaves unwritten: it
        // decodes into this picture of colour 0 instead, or the bitmap is refused.
        image = QImage(claimed, QImage::Format_Indexed8);
        image.fill(0);
        const uchar* zeroed = image.constBits();
        if (!reader.read(&image) || image.constBits() != zeroed) image = QImage();
    } else if (fits) {
        image = reader.read();
    }
    if (image.isNull()) {
        if (suffix == QLatin1String("bmp")) throw Exception(QStringLiteral("Bitmap image is not valid"));
        throw Exception(QStringLiteral("Cannot load picture \"%1\": %2")
                            .arg(fileName, fits ? reader.errorString() : QStringLiteral("the picture is too large")));
    }
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

QByteArray BitmapBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "BMP")) return QByteArray();
    return bytes;
}

void SaveBitmap(const QImage& image, const QString& fileName)
{
    const QByteArray bytes = BitmapBytes(image);
    const bool encoded = !bytes.isEmpty();
    // Unbuffered, so that a short write shows in write()'s count (a buffered QSaveFile would
    // commit the cut file).
    QSaveFile file(fileName);
    if (!encoded || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() ||
        !file.commit())
        throw Exception(QStringLiteral("Cannot create file \"%1\"").arg(fileName));
}

TColor PixelColor(const QImage& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return 0xFFFFFFFFu;
    return QRgbToColor(image.pixel(x, y));
}

void FloodFillSurface(QImage& image, int x, int y, TColor surface, TColor fill)
{
    const int w = image.width();
    const int h = image.height();
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    if ((surface & 0xFFFFFF) == (fill & 0xFFFFFF)) return;
    const QImage::Format f = image.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(QImage::Format_RGB32);

    // Pixels compare on their colour alone; the fill is opaque. One detach, then plain pointers.
    const QRgb target = ColorToQRgb(surface) & 0xFFFFFFu;
    const QRgb paint = ColorToQRgb(fill) | 0xFF000000u;
    QRgb* const bits = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    const auto isSurface = [target](QRgb pixel) { return (pixel & 0xFFFFFFu) == target; };
    QRgb* line = bits + qsizetype(y) * stride;
    if (!isSurface(line[x])) return;

    // A span asks for row y to be scanned under l..r, a run just painted whole on row y - dy.
    // Every run found is painted and scanned on the next row; only the parts of it that reach
    // past l..r are scanned back on row y - dy, the rest of that row being painted already.
    struct Span {
        int y, l, r, dy;
    };
    std::vector<Span> spans;
    int left = x, right = x;
    while (left > 0 && isSurface(line[left - 1])) --left;
    while (right + 1 < w && isSurface(line[right + 1])) ++right;
    std::fill(line + left, line + right + 1, paint);
    spans.push_back({y + 1, left, right, 1});
    spans.push_back({y - 1, left, right, -1});
    while (!spans.empty()) {
        const Span s = spans.back();
        spans.pop_back();
        if (s.y < 0 || s.y >= h) continue;
        QRgb* row = bits + qsizetype(s.y) * stride;
        for (int i = s.l; i <= s.r; ++i) {
            if (!isSurface(row[i])) continue;
            int a = i;
            if (i == s.l)  // only the first run can reach further left
                while (a > 0 && isSurface(row[a - 1])) --a;
            int b = i;
            while (b + 1 < w && isSurface(row[b + 1])) ++b;
            std::fill(row + a, row + b + 1, paint);
            spans.push_back({s.y + s.dy, a, b, s.dy});
            if (a < s.l - 1) spans.push_back({s.y - s.dy, a, s.l - 2, -s.dy});
            if (b > s.r + 1) spans.push_back({s.y - s.dy, s.r + 2, b, -s.dy});
            i = b + 1;  // b + 1 is no surface
        }
    }
}

}  // namespace Pictures
