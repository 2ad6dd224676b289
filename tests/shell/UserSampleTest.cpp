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

}  // namespace
