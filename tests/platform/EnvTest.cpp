// The process's surroundings: the program directory, memory, and the private hand-off directory.
#include "Env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sets or clears TEMP for one test.
class TempVariable {
public:
    explicit TempVariable(const QByteArray* value) : old_(qgetenv("TEMP")), had_(qEnvironmentVariableIsSet("TEMP"))
    {
        if (value) qputenv("TEMP", *value);
        else qunsetenv("TEMP");
    }
    ~TempVariable()
    {
        if (had_) qputenv("TEMP", old_);
        else qunsetenv("TEMP");
    }

private:
    QByteArray old_;
    bool had_;
};

}  // namespace

TEST(Env, NamesAndDirectories)
{
    EXPECT_FALSE(Env::UserName().isEmpty());
    EXPECT_FALSE(Env::ComputerName().isEmpty());
    const QString dir = Env::ProgramDir();
    EXPECT_TRUE(dir.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(dir).isDir());
}

TEST(Env, MemoryFromProcMeminfo)
{
    const quint64 total = Env::TotalMemory();
    const quint64 free = Env::FreeMemory();
    EXPECT_GT(total, quint64(16) << 20);
    EXPECT_GT(free, 0u);
    EXPECT_LE(free, total);
}

TEST(Env, HandOffDirIsTempWhenSet)
{
    const QByteArray value("/some/where");
    TempVariable temp(&value);
    EXPECT_EQ(Env::HandOffDir(), QStringLiteral("/some/where"));
}

TEST(Env, HandOffDirWithoutTempIsPrivate)
{
    for (const QByteArray& empty : {QByteArray(), QByteArray("")}) {
        TempVariable temp(empty.isNull() ? nullptr : &empty);
        const QString dir = Env::HandOffDir();
        ASSERT_FALSE(dir.isEmpty());
        struct stat st {};
        ASSERT_EQ(lstat(QFile::encodeName(dir).constData(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, getuid());
        // A loosened directory is tightened again.
        ASSERT_EQ(chmod(QFile::encodeName(dir).constData(), 0755), 0);
        EXPECT_EQ(Env::HandOffDir(), dir);
        ASSERT_EQ(lstat(QFile::encodeName(dir).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
}

TEST(Env, OpeningAMissingFileFails)
{
    QTemporaryDir dir;
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_FALSE(Env::OpenWithDesktop(QStringLiteral("Kestrova.chm")));
    QDir::setCurrent(old);
}
