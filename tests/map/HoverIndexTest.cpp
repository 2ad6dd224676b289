// The hover index on its own: which region a probe fill from the mouse would find, and the names.
#include "DatabaseFixture.h"
#include "Exceptions.h"
#include "HoverIndex.h"

#include <QFile>
#include <QPainter>

namespace {

constexpr TColor Bgc4 = 12303359;

// A 300 x 200 map: cells A (0..99), B (101..199) and C (201..299) split by black lines at
// x = 100 and x = 200; a line at y = 100 splits A into A1 above and A2 below. One pixel of C
// is already the probe colour.
QImage Map()
{
    QImage map(300, 200, QImage::Format_RGB32);
    map.fill(Qt::white);
    QPainter p(&map);
    p.drawLine(100, 0, 100, 199);
    p.drawLine(200, 0, 200, 199);
    p.drawLine(0, 100, 99, 100);
    p.end();
    map.setPixel(250, 150, ColorToQRgb(Bgc4));
    return map;
}

class HoverIndexTest : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        sources = {DataPath(QStringLiteral("map.bmp")), DataPath(QStringLiteral("ksLinksToMap.txt")),
                   DataPath(QStringLiteral("ksRegions.txt")), Bgc4};
        Pictures::SaveBitmap(Map(), sources.MapFile);
        WriteData(QStringLiteral("ksRegions.txt"), {"1;Первый;a", "2;Второй;b", "1;Двойник;c", "x;Плохой;d", "3;Третий;e"});
    }
    int At(int x, int y) { return index.RegionAt(sources, x, y); }

    THoverIndex::Sources sources;
    THoverIndex index;
};

TEST_F(HoverIndexTest, TheFirstLevelZeroPointInTheProbedAreaInFileOrder)
{
    // Region 2 in A1 and B; region 1 also in B but after it; district 9 in A2; region 4 on a border.
    WriteData(QStringLiteral("ksLinksToMap.txt"), {"1;9;50;150", "0;2;50;50", "0;2;150;20", "0;1;150;80", "0;4;100;50"});
    const struct { int X, Y, Region; } cases[] = {
        {10, 10, 2},    // A1
        {190, 190, 2},  // B: two regions' seeds, the first in the file wins
        {10, 190, 0},   // A2 holds only a district
        {100, 60, 0},   // a border line: the probe fills nothing
        {230, 20, 0},   // C has no point
        {-1, 5, 0},     // outside the picture
        {300, 5, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(At(c.X, c.Y), c.Region) << c.X << ',' << c.Y;

    // A point on a pixel the file already has in the probe colour matches wherever the mouse is.
    WriteData(QStringLiteral("ksLinksToMap.txt"), {"0;2;50;50", "0;7;250;150", "0;3;230;20"});
    EXPECT_EQ(At(10, 10), 2);
    EXPECT_EQ(At(230, 20), 7);
    EXPECT_EQ(At(100, 60), 7);
}

TEST_F(HoverIndexTest, FileChangesAreSeenAtTheNextHover)
{
    WriteData(QStringLiteral("ksLinksToMap.txt"), {"0;1;50;50"});
    index.Prime(sources, Map(), TFileStamp::Of(sources.MapFile), nullptr);
    EXPECT_EQ(At(10, 10), 1);
    EXPECT_EQ(At(10, 190), 0);

    // The line between A1 and A2 taken out of the map: one area.
    QImage opened = Map();
    QPainter(&opened).fillRect(0, 100, 100, 1, Qt::white);
    Pictures::SaveBitmap(opened, sources.MapFile);
    EXPECT_EQ(At(10, 190), 1);

    WriteData(QStringLiteral("ksLinksToMap.txt"), {"0;3;150;50"});
    EXPECT_EQ(At(10, 10), 0);
    EXPECT_EQ(At(150, 150), 3);
}

TEST_F(HoverIndexTest, NamesTakeTheFirstLineOfAnIdAndFollowTheFile)
{
    EXPECT_EQ(index.RegionName(sources, 1), QStringLiteral("Первый"));
    EXPECT_EQ(index.RegionName(sources, 2), QStringLiteral("Второй"));
    // Reading on from the top meets the line whose ID is no number first.
    EXPECT_THROW(index.RegionName(sources, 3), EConvertError);
    EXPECT_THROW(index.RegionName(sources, 5), EConvertError);
    WriteData(QStringLiteral("ksRegions.txt"), {"5;Пятый;f"});
    EXPECT_EQ(index.RegionName(sources, 5), QStringLiteral("Пятый"));
    QFile::remove(sources.RegionsFile);
    EXPECT_EQ(index.RegionName(sources, 5), QString());
}

TEST_F(HoverIndexTest, ReadsBadLinesSilentlyAndFollowsADelimiterChange)
{
    // Files written with "|" while the settings still say ";": no point and no name is read,
    // and the bad lines show no box (the window reported them when it read the file).
    WriteData(QStringLiteral("ksLinksToMap.txt"), {"0|2|50|50", "0|x|150|50"});
    WriteData(QStringLiteral("ksRegions.txt"), {"2|Второй"});
    EXPECT_EQ(At(10, 10), 0);
    EXPECT_THROW(index.RegionName(sources, 2), EConvertError);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());

    // The settings changed, the files not: both are read again with the new delimiter.
    AppConfig->Delimiter = QStringLiteral("|");
    EXPECT_EQ(At(10, 10), 2);
    EXPECT_EQ(index.RegionName(sources, 2), QStringLiteral("Второй"));
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

}  // namespace
