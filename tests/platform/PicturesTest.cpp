// Pictures: JPEG through libjpeg and its error numbers, bitmaps saved as bitmaps, the Windows
// colour layout, and the surface flood fill.
#include "Faults.h"
#include "Pictures.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

using namespace Pictures;

namespace {

constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0x000000;
constexpr TColor Red = 0x0000FF;  // red in the lowest byte

QImage Blank(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(ColorToQRgb(White));
    return image;
}

int CountColor(const QImage& image, TColor c)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += PixelColor(image, x, y) == c;
    return n;
}

}  // namespace

TEST(Pictures, PixelColorUsesTheWindowsLayout)
{
    QImage image = Blank(2, 1);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    EXPECT_EQ(PixelColor(image, 0, 0), Red);
    EXPECT_EQ(PixelColor(image, 1, 0), White);
    EXPECT_EQ(PixelColor(image, 2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(PixelColor(image, -1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(RGBToColor(166, 202, 240), 15780518u);
}

TEST(Pictures, FillIsFourConnectedStopsAtBordersAndLeavesTheOutsideAlone)
{
    QImage image = Blank(20, 20);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.drawRect(5, 5, 9, 9);  // border on 5..14
    p.end();
    FloodFillSurface(image, 8, 8, White, Red);
    EXPECT_EQ(CountColor(image, Red), 8 * 8);
    EXPECT_EQ(PixelColor(image, 5, 5), Black);
    EXPECT_EQ(PixelColor(image, 0, 0), White);
    // A diagonal line holds: the fill does not slip between its corners.
    QImage diagonal = Blank(50, 50);
    for (int i = 0; i < 50; ++i) diagonal.setPixel(i, i, qRgb(0, 0, 0));
    FloodFillSurface(diagonal, 40, 2, White, Red);
    EXPECT_EQ(CountColor(diagonal, Red), 50 * 49 / 2);
}

TEST(Pictures, FillIsANoOpForOutsideSeedsWrongSurfaceOrSameColour)
{
    const QImage original = Blank(10, 10);
    QImage image = original;
    for (const QPoint seed : {QPoint(-1, 3), QPoint(10, 3), QPoint(3, 10)}) FloodFillSurface(image, seed.x(), seed.y(), White, Red);
    FloodFillSurface(image, 3, 3, Black, Red);   // the seed is white, not black
    FloodFillSurface(image, 3, 3, White, White);
    EXPECT_EQ(image, original);
    // Clearing fills the connected pixels of the seed's own colour.
    for (int x : {0, 1}) image.setPixel(x, 0, qRgb(0, 0, 0));
    FloodFillSurface(image, 1, 0, Black, White);
    EXPECT_EQ(image, original);
}

// Walls with alternating gaps make the fill snake through the whole picture.
TEST(Pictures, LargeSerpentineFillIsFast)
{
    const int n = 4096;
    QImage image = Blank(n, n);
    int walls = 0;
    for (int x = 2; x < n; x += 4) {
        const int gap = (walls++ % 2) ? 0 : n - 1;
        for (int y = 0; y < n; ++y)
            if (y != gap) image.setPixel(x, y, qRgb(0, 0, 0));
    }
    const int white = n * n - walls * (n - 1);
    QElapsedTimer timer;
    timer.start();
    FloodFillSurface(image, 0, 0, White, Red);
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(CountColor(image, Red), white);
}

TEST(Pictures, JpegLoadsThroughTheLibraryAndFailsWithItsErrorNumber)
{
    QTemporaryDir dir;
    QImage source = Blank(64, 32);
    QPainter p(&source);
    p.fillRect(0, 0, 32, 32, QColor(200, 30, 30));
    p.end();
    const QString path = dir.path() + QStringLiteral("/map.JPG");
    ASSERT_TRUE(source.save(path, "JPEG", 95));
    const QImage image = LoadFromFile(path);
    ASSERT_EQ(image.size(), source.size());
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    const QRgb left = image.pixel(10, 10), right = image.pixel(50, 10);
    EXPECT_TRUE(qAbs(qRed(left) - 200) <= 6 && qAbs(qGreen(left) - 30) <= 6 && qAbs(qBlue(left) - 30) <= 6) << std::hex << left;
    EXPECT_GE(qRed(right), 249);
    // A greyscale JPEG is widened to colour.
    const QString grey = dir.path() + QStringLiteral("/grey.jpeg");
    ASSERT_TRUE(source.convertToFormat(QImage::Format_Grayscale8).save(grey, "JPEG"));
    EXPECT_EQ(LoadFromFile(grey).format(), QImage::Format_RGB32);

    const QByteArray bytes = TestSupport::ReadBytes(path);
    const QString broken = dir.path() + QStringLiteral("/broken.jpg");
    for (const QByteArray& content : {bytes.left(bytes.size() / 2), QByteArray("BM this is no jpeg"), QByteArray()}) {
        TestSupport::WriteBytes(broken, content);
        const QString message = MessageOf([&] { LoadFromFile(broken); });
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^JPEG error #\\d+$")).match(message).hasMatch()) << message.toStdString();
    }
}

TEST(Pictures, BitmapsLoadAndSaveAsBitmapsWhateverTheName)
{
    QTemporaryDir dir;
    QImage source = Blank(7, 5);
    source.setPixel(3, 2, qRgb(255, 0, 0));
    const QString path = dir.path() + QStringLiteral("/map.jpg");  // the name does not change the format
    SaveBitmap(source, path);
    EXPECT_TRUE(TestSupport::ReadBytes(path).startsWith("BM"));
    const QString bmp = dir.path() + QStringLiteral("/map.bmp");
    SaveBitmap(source, bmp);
    const QImage back = LoadFromFile(bmp);
    EXPECT_EQ(back.format(), QImage::Format_RGB32);
    EXPECT_EQ(PixelColor(back, 3, 2), Red);
    EXPECT_EQ(PixelColor(back, 0, 0), White);

    const QString broken = dir.path() + QStringLiteral("/broken.bmp");
    TestSupport::WriteBytes(broken, "BM\x10\0\0\0garbage");
    EXPECT_EQ(MessageOf([&] { LoadFromFile(broken); }), QStringLiteral("Bitmap image is not valid"));
    EXPECT_THROW(LoadFromFile(dir.path() + QStringLiteral("/missing.bmp")), Exception);
    EXPECT_THROW(SaveBitmap(source, dir.path() + QStringLiteral("/no/dir.bmp")), Exception);
    // A save cut short (the file-size limit reached) keeps the picture that was there.
    const QByteArray before = TestSupport::ReadBytes(bmp);
    EXPECT_EQ(MessageUnderFileSizeLimit(4096, [&] { SaveBitmap(Blank(200, 200), bmp); }),
              QStringLiteral("Cannot create file \"%1\"").arg(bmp));
    EXPECT_EQ(TestSupport::ReadBytes(bmp), before);
}

// A bitmap whose pixel data are cut short is refused as a bad bitmap, whatever its depth or
// compression; no unwritten pixel reaches the picture.
TEST(Pictures, BitmapsCutShortAreRefused)
{
    QTemporaryDir dir;
    const QString corpus = QStringLiteral(KESTROVA_SOURCE_DIR "/tests/fuzz/corpus/");
    QImage map = Blank(64, 48);
    QPainter(&map).fillRect(10, 10, 20, 20, Qt::red);
    const QString saved = dir.filePath(QStringLiteral("saved.bmp"));
    SaveBitmap(map, saved);
    const QStringList sources{saved, corpus + QStringLiteral("bmp1.bmp"), corpus + QStringLiteral("bmp8.bmp"),
                              corpus + QStringLiteral("bmp32.bmp"), corpus + QStringLiteral("bmp-rle.bmp"),
                              corpus + QStringLiteral("bmp-topdown.bmp")};
    for (const QString& source : sources) {
        SCOPED_TRACE(source.toStdString());
        const QByteArray whole = TestSupport::ReadBytes(source);
        ASSERT_FALSE(whole.isEmpty());
        const QString path = dir.filePath(QStringLiteral("map.bmp"));
        TestSupport::WriteBytes(path, whole);
        EXPECT_NO_THROW(LoadFromFile(path));
        for (const qsizetype cut : {whole.size() / 2, whole.size() - 4}) {
            TestSupport::WriteBytes(path, whole.left(cut));
            EXPECT_EQ(MessageOf([&] { LoadFromFile(path); }), QStringLiteral("Bitmap image is not valid")) << cut;
        }
    }
}

// Pixels a run-length bitmap skips (a delta, an early end) take colour 0 of its palette, never
// what the memory held.
TEST(Pictures, PixelsARunLengthBitmapSkipsTakeColourZero)
{
    QTemporaryDir dir;
    QByteArray palette;
    for (int i = 0; i < 256; ++i) palette += QByteArray(1, char(i == 0 ? 30 : i)) + char(i == 0 ? 20 : 255 - i) + char(i == 0 ? 10 : i) + '\0';
    // A run of four of colour 5, end of line, a delta of (3, 2), a run of two of colour 7, the end.
    const QByteArray runs("\x04\x05\x00\x00\x00\x02\x03\x02\x02\x07\x00\x01", 12);
    auto le = [](quint32 v, int n) {
        QByteArray b;
        for (int i = 0; i < n; ++i) b += char(v >> (8 * i));
        return b;
    };
    const quint32 offset = 14 + 40 + 1024;
    const QByteArray file = "BM" + le(offset + 12, 4) + le(0, 4) + le(offset, 4) + le(40, 4) + le(64, 4) + le(64, 4) + le(1, 2) +
                            le(8, 2) + le(1, 4) + le(12, 4) + le(2835, 4) + le(2835, 4) + le(256, 4) + le(0, 4) + palette + runs;
    const QString path = dir.filePath(QStringLiteral("rle.bmp"));
    TestSupport::WriteBytes(path, file);
    for (int round = 0; round < 3; ++round) {
        // Memory full of other values first, which an unwritten pixel would show.
        for (int j = 0; j < 20; ++j) QImage(64, 64, QImage::Format_Indexed8).fill(200 + j);
        const QImage map = LoadFromFile(path);
        ASSERT_EQ(map.size(), QSize(64, 64));
        int fives = 0, sevens = 0, zeros = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const TColor c = PixelColor(map, x, y);
                fives += c == RGBToColor(5, 250, 5);
                sevens += c == RGBToColor(7, 248, 7);
                zeros += c == RGBToColor(10, 20, 30);
            }
        EXPECT_EQ(fives, 4);
        EXPECT_EQ(sevens, 2);
        EXPECT_EQ(zeros, 64 * 64 - 6);
    }
}

TEST(Pictures, PlainBitmapsOfEveryRowOrderAndDepthReadAsTheGeneralReaderReadsThem)
{
    QTemporaryDir dir;
    QImage picture(13, 7, QImage::Format_RGB32);  // an odd width: rows padded to four bytes
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 19, y * 31, (x * y) % 256));
    // Windows bitmap headers written by hand: 24 and 32 bits, bottom-up and top-down.
    for (int bits : {24, 32})
        for (bool topDown : {false, true}) {
            const int stride = ((picture.width() * bits / 8) + 3) & ~3;
            QByteArray bytes(54 + stride * picture.height(), '\0');
            auto put32 = [&](int at, qint32 v) { for (int i = 0; i < 4; ++i) bytes[at + i] = char((quint32(v) >> (8 * i)) & 255); };
            bytes[0] = 'B';
            bytes[1] = 'M';
            put32(2, bytes.size());
            put32(10, 54);
            put32(14, 40);
            put32(18, picture.width());
            put32(22, topDown ? -picture.height() : picture.height());
            bytes[26] = 1;
            bytes[28] = char(bits);
            for (int y = 0; y < picture.height(); ++y) {
                char* row = bytes.data() + 54 + stride * (topDown ? y : picture.height() - 1 - y);
                for (int x = 0; x < picture.width(); ++x) {
                    const QRgb p = picture.pixel(x, y);
                    char* px = row + x * bits / 8;
                    px[0] = char(qBlue(p));
                    px[1] = char(qGreen(p));
                    px[2] = char(qRed(p));
                }
            }
            const QString file = dir.filePath(QStringLiteral("p%1%2.bmp").arg(bits).arg(topDown));
            TestSupport::WriteBytes(file, bytes);
            EXPECT_EQ(LoadFromFile(file), picture) << bits << ' ' << topDown;
            // Marked as run-length encoded, which a picture of this depth cannot be: the
            // general reader has it and refuses it.
            bytes[30] = 1;
            TestSupport::WriteBytes(file, bytes);
            EXPECT_THROW(LoadFromFile(file), Exception) << bits << ' ' << topDown;
        }
}

namespace {

// A small real picture whose header claims width x height.
QByteArray JpegClaiming(quint16 width, quint16 height)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Blank(16, 16).save(&buffer, "JPEG");
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    const char size[4] = {char(height >> 8), char(height & 0xFF), char(width >> 8), char(width & 0xFF)};
    bytes.replace(sof + 5, 4, size, 4);
    return bytes;
}

QByteArray BitmapClaiming(qint32 width, qint32 height)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Blank(4, 4).save(&buffer, "BMP");
    std::memcpy(bytes.data() + 18, &width, 4);
    std::memcpy(bytes.data() + 22, &height, 4);
    return bytes;
}

}  // namespace

// A header claiming more pixels than Qt's allocation limit is refused before the pixels are
// allocated: under a tight address-space limit the error is still the size refusal.
TEST(Pictures, PicturesClaimingMorePixelsThanTheLimitAreRefusedFirst)
{
    QTemporaryDir dir;
    const QString jpeg = dir.path() + QStringLiteral("/map.jpg"), bmp = dir.path() + QStringLiteral("/map.bmp");
    const QString tooBig = QStringLiteral("JPEG error #%1").arg(JERR_IMAGE_TOO_BIG);
    for (const quint16 side : {20000, 60000}) {
        TestSupport::WriteBytes(jpeg, JpegClaiming(side, side));
        EXPECT_EQ(MessageUnderAddressSpaceLimit(256u << 20, [&] { LoadFromFile(jpeg); }), tooBig) << side;
        TestSupport::WriteBytes(bmp, BitmapClaiming(side, side));
        EXPECT_EQ(MessageUnderAddressSpaceLimit(256u << 20, [&] { LoadFromFile(bmp); }), QStringLiteral("Bitmap image is not valid"))
            << side;
    }
    // The limit is Qt's own, whatever it is set to.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);  // 1 MB: 512 x 512 RGB32 fits, 513 x 512 does not
    TestSupport::WriteBytes(bmp, BitmapClaiming(513, 512));
    const QString bitmapMessage = MessageOf([&] { LoadFromFile(bmp); });
    TestSupport::WriteBytes(jpeg, JpegClaiming(513, 512));
    const QString jpegMessage = MessageOf([&] { LoadFromFile(jpeg); });
    SaveBitmap(Blank(512, 512), bmp);
    const QSize fits = LoadFromFile(bmp).size();
    QImageReader::setAllocationLimit(limit);
    EXPECT_EQ(bitmapMessage, QStringLiteral("Bitmap image is not valid"));
    EXPECT_EQ(jpegMessage, tooBig);
    EXPECT_EQ(fits, QSize(512, 512));
}
