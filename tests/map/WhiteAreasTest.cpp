// The white areas by runs agree with the surface fill on every pixel of a scattered picture.
#include "Pictures.h"
#include "WhiteAreas.h"

#include <QSet>

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

}  // namespace
