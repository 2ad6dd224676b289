// How the data-file readers take a file's bytes: in blocks, whatever the lines' lengths, and
// without a crash when another program cuts the file short while it is read.
#include "DataFiles.h"
#include "DatabaseFixture.h"

#include <QByteArray>
#include <QFile>

#include <cstdio>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace DataFiles;
using namespace Qt::StringLiterals;

namespace {

class FileBytesTest : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        Regional::Set(Regional::Russian());
    }
    // Measurement lines of research 1 (odd k) and 2 (even k), k from 1 to count, in the
    // forms the writer gives.
    static std::string Measurements(int count)
    {
        std::string text;
        text.reserve(size_t(count) * 42);
        char line[96];
        for (int k = 1; k <= count; ++k) {
            std::snprintf(line, sizeof line, "%d;%d;%d;%02d.%02d.%04d;%02d:%02d:%02d;%d,%d\r\n", k, 1 + k % 2, 1 + k % 85,
                          1 + k % 28, 1 + k % 12, 1990 + k % 30, k % 24, k % 60, k / 7 % 60, k % 100000, 1 + k % 9);
            text += line;
        }
        return text;
    }
    void Put(const std::string& bytes)
    {
        TestSupport::WriteBytes(DataPath(MeasurementsFile), QByteArray(bytes.data(), qsizetype(bytes.size())));
    }
};

TEST_F(FileBytesTest, LinesAcrossBlocksAndLongerThanABlock)
{
    // A comment line longer than any block, then enough lines to fill many blocks, the last
    // without its line end.
    std::string text = "#" + std::string(3 << 20, 'x') + "\r\n";
    text += Measurements(200000);
    text += "200001;2;5;01.02.2003;04:05:06;7,5";
    Put(text);
    TOResearches list;
    list.Add();
    const LoadResult r = LoadAllMeasurements(DataPath(MeasurementsFile), list);
    EXPECT_TRUE(r.Complete) << r.Error.toStdString();
    ASSERT_EQ(list.Count(), 200002);
    EXPECT_EQ(list.MaxID, 200001);
    EXPECT_EQ(list.Items(200001).Value, 7.5);
    EXPECT_EQ(list.Items(123457).Ref2, 1 + 123457 % 85);

    // The save keeps every other research's line byte for byte, the long comment included.
    TOResearches one;
    one.Add();
    ASSERT_TRUE(LoadMeasurements(DataPath(MeasurementsFile), 1, one).Complete);
    EXPECT_EQ(one.Count(), 100001);
    SaveMeasurements(DataPath(MeasurementsFile), 1, one);
    const QByteArray saved = TestSupport::ReadBytes(DataPath(MeasurementsFile));
    EXPECT_EQ(saved.size(), qsizetype(text.size()) + 2);
    EXPECT_TRUE(saved.startsWith(QByteArray(text.data(), (3 << 20) + 3)));
    EXPECT_TRUE(HasMeasurements(DataPath(MeasurementsFile), 2));
    EXPECT_FALSE(HasMeasurements(DataPath(MeasurementsFile), 3));
}

// A child loads and saves a large measurements file while this process cuts it shorter again and
// again, mid-line; reading what was there, the child finishes normally.
TEST_F(FileBytesTest, AFileCutShortWhileReadIsReadAsWhatWasThere)
{
    const std::string text = Measurements(2000000);  // about 80 MB
    ASSERT_GT(text.size(), size_t(75) << 20);
    Put(text);
    const QByteArray path = QFile::encodeName(DataPath(MeasurementsFile));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 0;
        try {
            for (int i = 0; i < 4; ++i) {
                TOResearches all;
                all.Add();
                LoadAllMeasurements(DataPath(MeasurementsFile), all);
                TOResearches one;
                one.Add();
                LoadMeasurements(DataPath(MeasurementsFile), 1, one);
                SaveMeasurements(DataPath(MeasurementsFile), 1, one);
            }
        } catch (...) {
            status = 3;
        }
        _exit(status);
    }
    int status = 0;
    int cuts = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        usleep(20000);
        struct stat st {};
        // Whichever file the path names now, cut to four fifths, inside a line.
        if (::stat(path.constData(), &st) == 0 && st.st_size > 64 && ::truncate(path.constData(), st.st_size * 4 / 5 + 7) == 0)
            ++cuts;
    }
    EXPECT_GT(cuts, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
