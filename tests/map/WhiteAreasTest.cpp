// The white areas by runs agree with the surface fill on every pixel of a scattered picture; the
// fill kept inside them reaches no pixel of another area, even through a gap painted in a border.
#include "Pictures.h"
#include "WhiteAreas.h"

#include <QSet>

#include <memory>

#include <gtest/gtest.h>

namespace {

TEST(WhiteAreas, EachAreaIsWhatTheFillFromAnyOfItsPixelsReachesAndItsEdgeTheNeighboursOutside)
{
    // Sparse black pixels and a few lines: many areas, corners that touch only diagonally.
    QImage picture(37, 23, QImage::Format_RGB32);
    picture.fill(Qt::white);
    quint32 state = 12345;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            if ((state >> 24) < 90) picture.setPixel(x, y, qRgb(0, 0, 0));
        }
    picture.setPixel(5, 5, qRgb(255, 255, 254));  // near white is not white
    const TWhiteAreas areas(picture);
    EXPECT_EQ(areas.AreaAt(5, 5), -1);
    EXPECT_EQ(areas.AreaAt(-1, 0), -1);
    EXPECT_EQ(areas.AreaAt(37, 0), -1);
    QSet<int> seen;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int area = areas.AreaAt(x, y);
            if (Pictures::PixelColor(picture, x, y) != 0xFFFFFF) {
                EXPECT_EQ(area, -1);
                continue;
            }
            ASSERT_GE(area, 0);
            if (seen.contains(area)) continue;
            seen.insert(area);
            QImage filled = picture;
            Pictures::FloodFillSurface(filled, x, y, 0xFFFFFF, 0x00FF00);
            QSet<QPoint> edge;
            for (int v = 0; v < picture.height(); ++v)
                for (int u = 0; u < picture.width(); ++u) {
                    const bool in = Pictures::PixelColor(filled, u, v) == 0x00FF00;
                    EXPECT_EQ(in, areas.AreaAt(u, v) == area) << u << ',' << v;
                    if (!in) continue;
                    for (const QPoint& n : {QPoint(u - 1, v), QPoint(u + 1, v), QPoint(u, v - 1), QPoint(u, v + 1)})
                        if (n.x() >= 0 && n.y() >= 0 && n.x() < picture.width() && n.y() < picture.height() &&
                            Pictures::PixelColor(filled, n.x(), n.y()) != 0x00FF00)
                            edge.insert(n);
                }
            const std::vector<QPoint> got = areas.Edge(area);
            EXPECT_EQ(QSet<QPoint>(got.begin(), got.end()), edge) << "area " << area;
            EXPECT_EQ(int(got.size()), int(edge.size()));
        }
    EXPECT_EQ(int(seen.size()), areas.AreaCount());
    EXPECT_GT(areas.AreaCount(), 5);
}

TEST(ConfinedFill, AFillReachesWhatTheSurfaceFillReachesInsideTheSeedsAreaOnly)
{
    constexpr TColor white = 0xFFFFFF, black = 0, red = 0x0000FF, green = 0x008000, blue = 0xFF0000;
    // Two areas, left and right of a black line at x = 10.
    QImage loaded(20, 10, QImage::Format_RGB32);
    loaded.fill(Qt::white);
    for (int y = 0; y < 10; ++y) loaded.setPixel(10, y, qRgb(0, 0, 0));
    auto count = [](const QImage& pic, int x0, int x1, TColor c) {
        int n = 0;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = x0; x < x1; ++x) n += Pictures::PixelColor(pic, x, y) == c;
        return n;
    };

    QImage pic = loaded;
    TConfinedFill fill(std::make_shared<const TWhiteAreas>(loaded));
    EXPECT_TRUE(fill.Usable(2, 2));
    EXPECT_FALSE(fill.Usable(10, 2));
    EXPECT_FALSE(fill.Usable(20, 2));
    fill.Fill(pic, 2, 2, red);
    EXPECT_EQ(count(pic, 0, 10, red), 100);
    EXPECT_EQ(count(pic, 11, 20, white), 90);

    // Seeds on the border or outside, and a picture of another size, change nothing.
    const QImage before = pic;
    fill.Fill(pic, 10, 2, green);
    fill.Fill(pic, -1, 2, green);
    EXPECT_EQ(pic, before);
    QImage other(5, 5, QImage::Format_RGB32);
    other.fill(Qt::white);
    fill.Fill(other, 2, 2, green);
    EXPECT_EQ(count(other, 0, 5, white), 25);

    // A legend whitens a border pixel and draws a blue ring inside the left area.
    pic.setPixel(10, 5, qRgb(255, 255, 255));
    for (int x = 3; x <= 7; ++x) {
        pic.setPixel(x, 3, qRgb(0, 0, 255));
        pic.setPixel(x, 7, qRgb(0, 0, 255));
    }
    for (int y = 3; y <= 7; ++y) {
        pic.setPixel(3, y, qRgb(0, 0, 255));
        pic.setPixel(7, y, qRgb(0, 0, 255));
    }
    fill.Painted(QRect(3, 3, 8, 5));
    // Clearing and painting the left area stop at the gap and at the ring.
    fill.Fill(pic, 1, 1, white);
    fill.Fill(pic, 1, 1, green);
    EXPECT_EQ(Pictures::PixelColor(pic, 10, 5), white);
    EXPECT_EQ(count(pic, 11, 20, white), 90);
    EXPECT_EQ(count(pic, 4, 7, red), 9);  // inside the ring, not reached
    EXPECT_EQ(count(pic, 0, 10, blue), 16);
    EXPECT_EQ(count(pic, 0, 10, green), 100 - 16 - 9);
    EXPECT_EQ(count(pic, 10, 11, black), 9);
}

}  // namespace
