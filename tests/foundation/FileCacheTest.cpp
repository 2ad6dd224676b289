// The measurements index as the map reads it, and the cache that keeps it while the file stands.
#include "DatabaseFixture.h"
#include "FileCache.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class FileCacheTest : public DatabaseFixture {
protected:
    QString Path() const { return DataPath(QStringLiteral("ksMesurements.txt")); }
    // Sets the file's modification time to the second and nanosecond given.
    void SetModified(const QString& path, long sec, long nsec)
    {
        const QByteArray local = QFile::encodeName(path);
        const timespec times[2] = {{0, UTIME_OMIT}, {sec, nsec}};
        ASSERT_EQ(utimensat(AT_FDCWD, local.constData(), times, 0), 0);
    }
    // Rewrites the file's bytes in place, keeping its inode.
    void Overwrite(const QByteArray& bytes)
    {
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    double Value(int research, int place)
    {
        EXPECT_TRUE(cache.Refresh(Path()));
        const DataFiles::MeasurementIndex::Research* r = cache.Index().Find(research);
        if (!r) return -1;
        for (const auto& l : r->Lines)
            if (l.Place == place) return l.Value;
        return -1;
    }
    TMeasurementCache cache;
};

TEST_F(FileCacheTest, IndexKeepsTheFileOrderAndEachFailureWhereThePassesMeetIt)
{
    WriteData(QStringLiteral("ksMesurements.txt"),
              {"1;1;1;01.02.2005;10:00:00;10", "# a comment", "2;2;1;01.02.2005;10:00:00;3", "3;1;x;01.02.2005;10:00:00;7.9",
               ";skipped", "4;y;1;01.02.2005;10:00:00;1", "5;1;4;01.02.2005;10:00:00;bad", "6;1;5;01.02.2005;10:00:00;-2",
               "7;z;1;01.02.2005;10:00:00;1"});
    ASSERT_TRUE(cache.Refresh(Path()));
    DataFiles::MeasurementIndex& index = cache.Index();
    EXPECT_EQ(index.BadOrdinal, 3);  // the fourth record line; comments and skipped lines do not count
    EXPECT_EQ(index.BadMessage, QStringLiteral("'y' is not a valid integer value"));
    const DataFiles::MeasurementIndex::Research* r = index.Find(1);
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->Lines.size(), 4u);
    struct Expected { int Ordinal, Place; double Value; bool Bad3, Bad6; };
    const Expected expected[] = {{0, 1, 10, false, false}, {2, 0, 7.9, true, false}, {4, 4, 0, false, true}, {5, 5, -2, false, false}};
    for (size_t i = 0; i < 4; ++i) {
        const auto& l = r->Lines[i];
        EXPECT_EQ(l.Ordinal, expected[i].Ordinal) << i;
        EXPECT_EQ(l.Place, expected[i].Place) << i;
        EXPECT_DOUBLE_EQ(l.Value, expected[i].Value) << i;
        EXPECT_EQ(l.Error3 >= 0, expected[i].Bad3) << i;
        EXPECT_EQ(l.Error6 >= 0, expected[i].Bad6) << i;
    }
    EXPECT_EQ(r->PassError, 2);
    EXPECT_EQ(r->PassMessage, QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(r->MaxError, 4);
    EXPECT_EQ(r->MaxMessage, QStringLiteral("'bad' is not a valid floating point value"));
    EXPECT_EQ(r->Max, 10);
    EXPECT_EQ(index.Find(2)->Max, 3);
    EXPECT_EQ(index.Find(9), nullptr);
}

TEST_F(FileCacheTest, AnyChangeOfTheFileIsSeenWithoutReadingItAndNoChangeKeepsTheIndex)
{
    WriteData(QStringLiteral("ksMesurements.txt"), {"1;1;1;01.02.2005;10:00:00;10"});
    SetModified(Path(), 1700000000, 100);
    EXPECT_EQ(Value(1, 1), 10);
    const auto* kept = cache.Index().Find(1);
    EXPECT_EQ(Value(1, 1), 10);
    EXPECT_EQ(cache.Index().Find(1), kept);  // not read again

    // In place, the same size, within the same second.
    Overwrite("1;1;1;01.02.2005;10:00:00;20\r\n");
    SetModified(Path(), 1700000000, 200);
    EXPECT_EQ(Value(1, 1), 20);

    // Renamed over it with the same size and the very same times: a new inode.
    TestSupport::WriteAnsiLines(DataPath(QStringLiteral("new.txt")), {"1;1;1;01.02.2005;10:00:00;30"});
    SetModified(DataPath(QStringLiteral("new.txt")), 1700000000, 200);
    ASSERT_TRUE(QFile::remove(Path()));
    ASSERT_TRUE(QFile::rename(DataPath(QStringLiteral("new.txt")), Path()));
    EXPECT_EQ(Value(1, 1), 30);

    // The settings the reading depends on.
    WriteData(QStringLiteral("ksMesurements.txt"), {"1|1|1|01.02.2005|10:00:00|40"});
    AppConfig->Delimiter = QStringLiteral("|");
    EXPECT_EQ(Value(1, 1), 40);
    AppConfig->Delimiter = QStringLiteral(";;");
    EXPECT_FALSE(cache.Refresh(Path()));
    AppConfig->Delimiter = QStringLiteral("|");
    ASSERT_TRUE(QFile::remove(Path()));
    EXPECT_FALSE(cache.Refresh(Path()));
}

}  // namespace
