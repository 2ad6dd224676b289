// The start script's copy of the sample database: made once per user, in the user's data folder,
// and never written over, so the tracked sample stays as committed.
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString Script = QStringLiteral(KESTROVA_SOURCE_DIR "/scripts/user-sample.sh");
const QString Sample = QStringLiteral(KESTROVA_SOURCE_DIR "/sample");

// Runs the script with HOME and XDG_DATA_HOME as given (empty: unset); returns the folder it printed.
QString RunScript(const QString& home, const QString& dataHome)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    if (dataHome.isEmpty()) env.remove(QStringLiteral("XDG_DATA_HOME"));
    else env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("bash"), {Script});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QStringLiteral("<failed> ") + p.readAllStandardError();
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

TEST(UserSampleTest, CopiedOnceIntoTheUsersDataFolderAndNeverOverwritten)
{
    QTemporaryDir home;
    const QString data = home.path() + QStringLiteral("/data");
    const struct { QString dataHome, expected; } cases[] = {
        {data, data + QStringLiteral("/Kestrova/sample")},
        {QString(), home.path() + QStringLiteral("/.local/share/Kestrova/sample")},
        {QStringLiteral("relative/dir"), home.path() + QStringLiteral("/.local/share/Kestrova/sample")},
    };
    for (const auto& c : cases) {
        const QString dir = RunScript(home.path(), c.dataHome);
        ASSERT_EQ(dir, c.expected) << c.dataHome.toStdString();
        const QStringList names = QDir(Sample).entryList(QDir::Files);
        ASSERT_EQ(QDir(dir).entryList(QDir::Files), names);
        for (const QString& name : names)
            EXPECT_EQ(TestSupport::ReadBytes(dir + QLatin1Char('/') + name),
                      TestSupport::ReadBytes(Sample + QLatin1Char('/') + name)) << name.toStdString();
        // No half-made copies are left beside it.
        EXPECT_EQ(QDir(dir + QStringLiteral("/..")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{QStringLiteral("sample")});
    }

    // The user's edits survive the next run; the tracked sample is untouched.
    const QString regions = data + QStringLiteral("/Kestrova/sample/ksRegions.txt");
    const QByteArray tracked = TestSupport::ReadBytes(Sample + QStringLiteral("/ksRegions.txt"));
    TestSupport::WriteBytes(regions, "1;Мой регион;;;;;;\r\n");
    QFile::remove(data + QStringLiteral("/Kestrova/sample/map.bmp"));
    EXPECT_EQ(RunScript(home.path(), data), data + QStringLiteral("/Kestrova/sample"));
    EXPECT_EQ(TestSupport::ReadBytes(regions), QByteArray("1;Мой регион;;;;;;\r\n"));
    EXPECT_FALSE(QFile::exists(data + QStringLiteral("/Kestrova/sample/map.bmp")));
    EXPECT_EQ(TestSupport::ReadBytes(Sample + QStringLiteral("/ksRegions.txt")), tracked);
}


// The start script's tvk.ini: made pointing at the user's copy, pointed there from the tracked
// sample, and given column widths for the three table grids and the measurements grid where it
// has none; every other line kept.
TEST(UserSampleTest, TheStartIniPointsAtTheUsersCopyAndGetsWidthsForEveryGrid)
{
    QTemporaryDir dir;
    const QString ini = dir.path() + QStringLiteral("/tvk.ini");
    const QString copy = dir.path() + QStringLiteral("/копия");
    const auto run = [&] {
        QProcess p;
        p.start(QStringLiteral("bash"), {QStringLiteral(KESTROVA_SOURCE_DIR "/scripts/user-ini.sh"), ini, copy});
        return p.waitForFinished(30000) && p.exitCode() == 0;
    };
    const QStringList widths{QStringLiteral("[sg1]"), QStringLiteral("cw0=30"), QStringLiteral("cw1=250"),
                             QStringLiteral("cw2=150"), QStringLiteral("cw3=70"), QStringLiteral("cw4=70"),
                             QStringLiteral("cw5=70"), QStringLiteral("cw6=80"), QStringLiteral("cw7=110"),
                             QStringLiteral("[sg2]"), QStringLiteral("cw0=30"), QStringLiteral("cw1=250"),
                             QStringLiteral("cw2=150"), QStringLiteral("cw3=80"),
                             QStringLiteral("[sg3]"), QStringLiteral("cw0=30"), QStringLiteral("cw1=350"),
                             QStringLiteral("cw2=120"), QStringLiteral("cw3=100"),
                             QStringLiteral("[sg4]"), QStringLiteral("cw0=30"), QStringLiteral("cw1=280"),
                             QStringLiteral("cw2=80"), QStringLiteral("cw3=70"), QStringLiteral("cw4=90")};
    ASSERT_TRUE(run());
    const QStringList fresh = QStringList{QStringLiteral("[server]"), QStringLiteral("adosource=") + copy,
                                          QStringLiteral("mapfile=") + copy + QStringLiteral("/map.bmp")} + widths;
    EXPECT_EQ(TestSupport::ReadAnsiLines(ini), fresh);
    const QByteArray bytes = TestSupport::ReadBytes(ini);
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    // A second run changes nothing.
    ASSERT_TRUE(run());
    EXPECT_EQ(TestSupport::ReadBytes(ini), bytes);

    // An older file: the tracked sample gives way to the copy, the regions grid keeps its widths,
    // the other grids get them after the last line, which had no line end.
    TestSupport::WriteBytes(ini, QByteArray("; mine\r\n[server]\r\nadosource=" KESTROVA_SOURCE_DIR "/sample\r\n"
                                            "[SG1]\r\ncw0=5"));
    ASSERT_TRUE(run());
    EXPECT_EQ(TestSupport::ReadAnsiLines(ini),
              (QStringList{QStringLiteral("; mine"), QStringLiteral("[server]"), QStringLiteral("adosource=") + copy,
                           QStringLiteral("[SG1]"), QStringLiteral("cw0=5")} + widths.mid(9)));
}

}  // namespace
