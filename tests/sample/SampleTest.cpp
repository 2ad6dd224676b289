// The bundled sample database and map: read cleanly by the program's own readers, a map whose
// link points fall in separate closed areas, and a generator that reproduces every byte.
#include "DataFiles.h"
#include "DatabaseFixture.h"
#include "Pictures.h"

#include <QProcess>
#include <QSet>

namespace {

const QString SampleDir = QStringLiteral(KESTROVA_SOURCE_DIR "/sample");
constexpr TColor White = 0xFFFFFF;

QSet<int> OneTo(int n)
{
    QSet<int> ids;
    for (int i = 1; i <= n; ++i) ids.insert(i);
    return ids;
}

class SampleTest : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        AppConfig->DBPath = SampleDir;
        Regional::Set(Regional::Russian());
    }
    void TearDown() override
    {
        EXPECT_EQ(dialogs_->Texts(), QStringList());
        EXPECT_EQ(LogLines(), QStringList());  // every error path writes the log
        DatabaseFixture::TearDown();
    }
    static QString Path(const QString& name) { return DataFiles::PathOf(name); }
};

TEST_F(SampleTest, TheReadersLoadEveryRecord)
{
    TORegions regions, districts;
    TOResearches register_;
    regions.Add();
    districts.Add();
    register_.Add();
    const struct {
        DataFiles::LoadResult Result;
        int Records;
    } loads[] = {{DataFiles::LoadRegions(Path(DataFiles::RegionsFile), regions), 85},
                 {DataFiles::LoadFederalParts(Path(DataFiles::FederalPartsFile), districts), 8},
                 {DataFiles::LoadResearches(Path(DataFiles::ResearchRegisterFile), register_), 3}};
    for (const auto& load : loads) {
        EXPECT_TRUE(load.Result.Complete) << load.Result.Error.toStdString();
        EXPECT_EQ(load.Result.Records, load.Records);
    }
    EXPECT_EQ(regions.MaxID, 85);
    EXPECT_EQ(districts.MaxID, 8);

    // Numeric regional, logical regional, numeric federal: one value for every place.
    const int level[] = {0, 0, 1}, kind[] = {1, 0, 1}, places[] = {85, 85, 8};
    ASSERT_EQ(register_.Count(), 4);
    for (int i = 1; i <= 3; ++i) {
        const OResearches::TUnits& research = register_.Items(i);
        EXPECT_EQ(research.Ref1, level[i - 1]);
        EXPECT_EQ(research.Ref2, kind[i - 1]);
        TOResearches values;
        values.Add();
        const DataFiles::LoadResult m = DataFiles::LoadMeasurements(Path(DataFiles::MeasurementsFile), research.ID, values);
        EXPECT_TRUE(m.Complete) << m.Error.toStdString();
        QSet<int> measured;
        for (int k = 1; k < values.Count(); ++k) measured.insert(values.Items(k).Ref2);
        EXPECT_EQ(m.Records, places[i - 1]);
        EXPECT_EQ(measured, OneTo(places[i - 1])) << i;
    }
}

TEST_F(SampleTest, EveryPlaceIsLinkedOnWhiteAndNoTwoRegionsShareATile)
{
    const QImage map = Pictures::LoadFromFile(SampleDir + QStringLiteral("/map.bmp"));
    ASSERT_FALSE(map.isNull());
    TOCoordinates links;
    EXPECT_TRUE(DataFiles::LoadLinks(Path(DataFiles::LinksToMapFile), links).Complete);
    EXPECT_EQ(links.Count(), 85 + 85);
    QSet<int> regions, districts;
    QList<QPoint> seeds;
    for (int i = 0; i < links.Count(); ++i) {
        const OCoordinates::TUnits& p = links.Items(i);
        EXPECT_EQ(Pictures::PixelColor(map, p.X, p.Y), White) << p.Level << ' ' << p.PlaceID;
        (p.Level == 0 ? regions : districts).insert(p.PlaceID);
        if (p.Level == 0) seeds.append(QPoint(p.X, p.Y));
    }
    EXPECT_EQ(regions, OneTo(85));
    EXPECT_EQ(districts, OneTo(8));

    // The sea, filled from a corner, reaches no tile; a region's fill reaches no other region.
    const TColor mark = RGBToColor(255, 0, 255);
    ASSERT_EQ(Pictures::PixelColor(map, 0, 0), White);
    seeds.prepend(QPoint(0, 0));
    for (int i = 0; i < seeds.size(); ++i) {
        QImage filled = map;
        Pictures::FloodFillSurface(filled, seeds[i].x(), seeds[i].y(), White, mark);
        for (int j = 1; j < seeds.size(); ++j)
            EXPECT_TRUE(j == i || Pictures::PixelColor(filled, seeds[j].x(), seeds[j].y()) != mark) << i << " reaches " << j;
    }
}

TEST_F(SampleTest, LabelsStandOnPlatesThatNoRegionFillReaches)
{
    const QImage map = Pictures::LoadFromFile(SampleDir + QStringLiteral("/map.bmp"));
    TOCoordinates links;
    DataFiles::LoadLinks(Path(DataFiles::LinksToMapFile), links);
    const TColor mark = RGBToColor(255, 0, 255);
    const TColor label = RGBToColor(30, 60, 120);
    int regions = 0;
    for (int i = 0; i < links.Count(); ++i) {
        const OCoordinates::TUnits& p = links.Items(i);
        if (p.Level != 0) continue;
        ++regions;
        QImage filled = map;
        Pictures::FloodFillSurface(filled, p.X, p.Y, White, mark);
        // Beside every filled pixel: no letter, and the tile keeps no white speck either.
        int touching = 0, specks = 0;
        const QRect tile = QRect(p.X - 23, p.Y - 37, 46, 46).adjusted(1, 1, -1, -1);
        for (int y = tile.top(); y <= tile.bottom(); ++y)
            for (int x = tile.left(); x <= tile.right(); ++x) {
                const TColor c = Pictures::PixelColor(filled, x, y);
                if (c == White) ++specks;
                if (c != mark) continue;
                for (const QPoint& n : {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)})
                    if (Pictures::PixelColor(filled, n.x(), n.y()) == label) ++touching;
            }
        EXPECT_EQ(touching, 0) << p.PlaceID;
        EXPECT_EQ(specks, 0) << p.PlaceID;
    }
    EXPECT_EQ(regions, 85);
}

TEST(SampleGenerator, ReproducesTheCommittedFiles)
{
    QTemporaryDir out;
    QProcess generator;
    generator.start(QStringLiteral(KESTROVA_BINARY_DIR "/mksample"), {out.path()});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    const QStringList names = {DataFiles::RegionsFile,        DataFiles::FederalPartsFile, DataFiles::ResearchRegisterFile,
                               DataFiles::MeasurementsFile,   DataFiles::LinksToMapFile,   QStringLiteral("map.bmp")};
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), names.size());
    for (const QString& name : names) {
        const QByteArray made = TestSupport::ReadBytes(out.path() + QLatin1Char('/') + name);
        EXPECT_FALSE(made.isEmpty()) << name.toStdString();
        EXPECT_TRUE(made == TestSupport::ReadBytes(SampleDir + QLatin1Char('/') + name)) << name.toStdString();
    }
}

}  // namespace
