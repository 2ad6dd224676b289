// The process's surroundings: the program directory, memory, and the private hand-off directory.
#include "Env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

TEST(Env, NamesDirectoriesAndMemory)
{
    EXPECT_FALSE(Env::UserName().isEmpty());
    EXPECT_FALSE(Env::ComputerName().isEmpty());
    const QString dir = Env::ProgramDir();
    EXPECT_TRUE(dir.endsWith(QLatin1Char('/')) && QFileInfo(dir).isDir()) << dir.toStdString();
    const quint64 total = Env::TotalMemory(), free = Env::FreeMemory();
    EXPECT_TRUE(total > (quint64(16) << 20) && free > 0 && free <= total) << total << " " << free;
}

TEST(Env, HandOffDirIsTempWhenSetElsePrivate)
{
    struct Restore {
        bool had = qEnvironmentVariableIsSet("TEMP");
        QByteArray old = qgetenv("TEMP");
        ~Restore() { had ? qputenv("TEMP", old) : qunsetenv("TEMP"); }
    } restore;
    qputenv("TEMP", "/some/where");
    EXPECT_EQ(Env::HandOffDir(), QStringLiteral("/some/where"));
    for (bool set : {false, true}) {
        set ? qputenv("TEMP", "") : qunsetenv("TEMP");  // set but empty counts as unset
        const QString dir = Env::HandOffDir();
        const QByteArray name = QFile::encodeName(dir);
        struct stat st {};
        ASSERT_EQ(lstat(name.constData(), &st), 0) << name.constData();
        EXPECT_EQ(st.st_mode & (S_IFMT | 0777), S_IFDIR | 0700u);  // a directory (no link) of the user's alone
        EXPECT_EQ(st.st_uid, getuid());
        // A loosened directory is tightened again.
        ASSERT_EQ(chmod(name.constData(), 0755), 0);
        EXPECT_EQ(Env::HandOffDir(), dir);
        ASSERT_EQ(lstat(name.constData(), &st), 0);
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
