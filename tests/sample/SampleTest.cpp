// The bundled sample database and map: read cleanly by the program's own readers, a map whose
// link points fall in separate closed areas, and a generator that reproduces every byte.
#include "AnsiCodec.h"
#include "AppConfig.h"
#include "DataFiles.h"
#include "Dialogs.h"
#include "Pictures.h"
#include "Regional.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const QString SampleDir = QStringLiteral(KESTROVA_SOURCE_DIR "/sample");
const QStringList DataFileNames = {DataFiles::RegionsFile, DataFiles::FederalPartsFile,
                                   DataFiles::ResearchRegisterFile, DataFiles::MeasurementsFile,
                                   DataFiles::LinksToMapFile};
constexpr TColor White = 0xFFFFFF;

class SampleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(appDir.isValid());
        TAppConfig& c = EnsureAppConfig();
        c.Delimiter = QStringLiteral(";");
        c.CommentChar = QStringLiteral("#");
        c.AppDir = appDir.path() + QLatin1Char('/');
        c.DBPath = SampleDir;
        Regional::Set(Regional::Russian());
    }
    void TearDown() override
    {
        Regional::Set(Regional::Neutral());
        EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Texts().join(QStringLiteral(" | ")).toStdString();
        // Every error path writes the log; a clean read leaves none.
        EXPECT_FALSE(QFile::exists(appDir.path() + QStringLiteral("/tvk.log")));
    }

    static QString Path(const QString& name) { return DataFiles::PathOf(name); }

    QTemporaryDir appDir;
    Dialogs::ScriptedHandler dialogs;
};

TEST_F(SampleTest, FilesAreWindows1251WithCrLf)
{
    for (const QString& name : DataFileNames) {
        const QByteArray bytes = TestSupport::ReadBytes(SampleDir + QLatin1Char('/') + name);
        ASSERT_FALSE(bytes.isEmpty()) << name.toStdString();
        EXPECT_TRUE(bytes.endsWith("\r\n")) << name.toStdString();
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << name.toStdString();
        // Not UTF-8: the Cyrillic text is single-byte and round-trips through the code page.
        EXPECT_EQ(AnsiCodec::Encode(AnsiCodec::Decode(bytes)), bytes);
    }
    EXPECT_TRUE(AnsiCodec::Decode(TestSupport::ReadBytes(Path(DataFiles::RegionsFile)))
                    .contains(QStringLiteral(";г. Москва;Москва;77;;;RU-MOW;\r\n")));
}

TEST_F(SampleTest, ReferenceTablesLoadWhole)
{
    TORegions regions;
    regions.Add();
    const DataFiles::LoadResult r = DataFiles::LoadRegions(Path(DataFiles::RegionsFile), regions);
    EXPECT_TRUE(r.Complete);
    EXPECT_EQ(r.Records, 85);
    EXPECT_EQ(regions.MaxID, 85);

    QSet<int> ids;
    QSet<QString> mvd, iso;
    const QRegularExpression isoCode(QStringLiteral("^RU-[A-Z]{2,3}$"));
    const QRegularExpression mvdCode(QStringLiteral("^[0-9]{2}$"));
    for (int i = 1; i < regions.Count(); ++i) {
        const ORegions::TUnits& u = regions.Items(i);
        ids.insert(u.ID);
        EXPECT_FALSE(u.Name.IsEmpty());
        EXPECT_FALSE(u.Capital.IsEmpty()) << u.Name.Str().toStdString();
        EXPECT_TRUE(mvdCode.match(u.CodeMVD).hasMatch()) << u.Name.Str().toStdString();
        mvd.insert(u.CodeMVD);
        // Codes left empty rather than guessed; those given are unique and well formed.
        if (!u.CodeLatin.IsEmpty()) {
            EXPECT_TRUE(isoCode.match(u.CodeLatin).hasMatch()) << u.CodeLatin.Str().toStdString();
            iso.insert(u.CodeLatin);
        }
        EXPECT_TRUE(u.CodeMSH.IsEmpty() && u.CodeAlpha.IsEmpty() && u.CodeAlphaNum.IsEmpty());
    }
    EXPECT_EQ(ids.size(), 85);
    EXPECT_EQ(mvd.size(), 85);
    EXPECT_EQ(iso.size(), 83);

    TORegions districts;
    districts.Add();
    const DataFiles::LoadResult d = DataFiles::LoadFederalParts(Path(DataFiles::FederalPartsFile), districts);
    EXPECT_TRUE(d.Complete);
    EXPECT_EQ(d.Records, 8);
    EXPECT_EQ(districts.MaxID, 8);
    for (int i = 1; i < districts.Count(); ++i) EXPECT_FALSE(districts.Items(i).Capital.IsEmpty());
}

// The lower bounds of the map window's automatic intervals, so a value can be placed in one.
int IntervalOf(double value, int max, int count)
{
    const long double step = static_cast<long double>(max) / count;
    const double v = std::floor(value);
    for (int b = 0; b < count; ++b) {
        const double low = double(step * b);
        const double high = double(step * b + step);
        if (low <= v && v <= high) return b;
    }
    return -1;
}

TEST_F(SampleTest, ResearchesAndMeasurementsLoadWhole)
{
    TOResearches register_;
    register_.Add();
    const DataFiles::LoadResult r = DataFiles::LoadResearches(Path(DataFiles::ResearchRegisterFile), register_);
    ASSERT_TRUE(r.Complete);
    ASSERT_EQ(r.Records, 3);
    // Numeric regional, logical regional, numeric federal.
    const int expectedLevel[] = {0, 0, 1}, expectedKind[] = {1, 0, 1}, expectedPlaces[] = {85, 85, 8};
    const TDateTime date = Regional::StrToDate(u"01.01.2025");
    const TDateTime time = Regional::StrToTime(u"12:00:00");

    for (int i = 1; i <= 3; ++i) {
        const OResearches::TUnits& research = register_.Items(i);
        EXPECT_TRUE(research.Name.Str().startsWith(QStringLiteral("Пример: ")));
        EXPECT_EQ(research.Ref1, expectedLevel[i - 1]);
        EXPECT_EQ(research.Ref2, expectedKind[i - 1]);

        TOResearches values;
        values.Add();
        const DataFiles::LoadResult m = DataFiles::LoadMeasurements(Path(DataFiles::MeasurementsFile), research.ID, values);
        ASSERT_TRUE(m.Complete) << m.Error.toStdString();
        ASSERT_EQ(m.Records, expectedPlaces[i - 1]);

        QSet<int> places;
        QSet<int> intervals;
        int max = 0;
        for (int k = 1; k < values.Count(); ++k) max = qMax(max, int(std::floor(values.Items(k).Value)));
        for (int k = 1; k < values.Count(); ++k) {
            const OResearches::TUnits& v = values.Items(k);
            places.insert(v.Ref2);
            EXPECT_EQ(v.Date, date);
            EXPECT_EQ(v.Time, time);
            if (research.Ref2 == 0) {
                EXPECT_TRUE(v.Value == 0 || v.Value == 1);
                intervals.insert(int(v.Value));
            } else {
                EXPECT_GE(v.Value, 0);
                intervals.insert(IntervalOf(v.Value, max, 4));
            }
        }
        EXPECT_EQ(places.size(), expectedPlaces[i - 1]);
        EXPECT_EQ(*std::min_element(places.begin(), places.end()), 1);
        EXPECT_EQ(*std::max_element(places.begin(), places.end()), expectedPlaces[i - 1]);
        // Logical: both answers occur. Numeric: every interval of the default legend is used.
        EXPECT_EQ(intervals, research.Ref2 == 0 ? QSet<int>({0, 1}) : QSet<int>({0, 1, 2, 3}));
    }
}

class SampleMapTest : public SampleTest {
protected:
    void SetUp() override
    {
        SampleTest::SetUp();
        map = Pictures::LoadFromFile(SampleDir + QStringLiteral("/map.bmp"));
        TOCoordinates points;
        const DataFiles::LoadResult r = DataFiles::LoadLinks(Path(DataFiles::LinksToMapFile), points);
        ASSERT_TRUE(r.Complete);
        for (int i = 0; i < points.Count(); ++i) links.append(points.Items(i));
    }
    QList<QPoint> Seeds(int level) const
    {
        QList<QPoint> seeds;
        for (const OCoordinates::TUnits& p : links)
            if (p.Level == level) seeds.append(QPoint(p.X, p.Y));
        return seeds;
    }

    QImage map;
    QList<OCoordinates::TUnits> links;
};

TEST_F(SampleMapTest, MapIsA24BitBitmap)
{
    const QByteArray bytes = TestSupport::ReadBytes(SampleDir + QStringLiteral("/map.bmp"));
    ASSERT_GT(bytes.size(), 54);
    EXPECT_TRUE(bytes.startsWith("BM"));
    EXPECT_EQ(quint8(bytes[28]) | (quint8(bytes[29]) << 8), 24);
    EXPECT_FALSE(map.isNull());
}

TEST_F(SampleMapTest, EveryPlaceIsLinkedOnWhite)
{
    ASSERT_EQ(links.size(), 85 + 85);
    QSet<int> regions, districts;
    for (const OCoordinates::TUnits& p : links) {
        EXPECT_EQ(Pictures::PixelColor(map, p.X, p.Y), White) << p.Level << ' ' << p.PlaceID;
        (p.Level == 0 ? regions : districts).insert(p.PlaceID);
    }
    EXPECT_EQ(regions.size(), 85);
    EXPECT_EQ(districts.size(), 8);
    EXPECT_TRUE(regions.contains(1) && regions.contains(85));
    EXPECT_TRUE(districts.contains(1) && districts.contains(8));
    // A district is linked through its subjects' tiles: each of its points is a region's seed.
    const QList<QPoint> regionSeeds = Seeds(0);
    const QList<QPoint> districtSeeds = Seeds(1);
    for (const QPoint& seed : districtSeeds) EXPECT_TRUE(regionSeeds.contains(seed));
    EXPECT_EQ(QSet<QPoint>(districtSeeds.begin(), districtSeeds.end()).size(), 85);
}

TEST_F(SampleMapTest, TilesAreClosedAndSeparate)
{
    const QList<QPoint> seeds = Seeds(0);
    const TColor mark = RGBToColor(255, 0, 255);

    // The sea, filled from a corner, reaches no tile.
    QImage sea = map;
    ASSERT_EQ(Pictures::PixelColor(sea, 0, 0), White);
    Pictures::FloodFillSurface(sea, 0, 0, White, mark);
    for (const QPoint& s : seeds) EXPECT_EQ(Pictures::PixelColor(sea, s.x(), s.y()), White) << s.x() << ',' << s.y();

    // No two regions share an area, and each area is a good part of a tile, not a sliver.
    for (int i = 0; i < seeds.size(); ++i) {
        QImage copy = map;
        Pictures::FloodFillSurface(copy, seeds[i].x(), seeds[i].y(), White, mark);
        for (int j = 0; j < seeds.size(); ++j) {
            if (j != i) {
                EXPECT_NE(Pictures::PixelColor(copy, seeds[j].x(), seeds[j].y()), mark) << i << " reaches " << j;
            }
        }
        int filled = 0;
        const uchar* bits = copy.constBits();
        for (qsizetype k = 0; k < copy.sizeInBytes() / 4; ++k)
            if (QRgbToColor(reinterpret_cast<const QRgb*>(bits)[k]) == mark) ++filled;
        EXPECT_GT(filled, 1000) << i;
    }
}

TEST(SampleGenerator, ReproducesTheCommittedFiles)
{
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QProcess generator;
    generator.start(QStringLiteral(KESTROVA_BINARY_DIR "/mksample"), {out.path()});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

    QStringList names = DataFileNames;
    names.append(QStringLiteral("map.bmp"));
    for (const QString& name : names) {
        const QByteArray made = TestSupport::ReadBytes(out.path() + QLatin1Char('/') + name);
        ASSERT_FALSE(made.isEmpty()) << name.toStdString();
        EXPECT_TRUE(made == TestSupport::ReadBytes(SampleDir + QLatin1Char('/') + name)) << name.toStdString();
    }
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), names.size());
}

}  // namespace
