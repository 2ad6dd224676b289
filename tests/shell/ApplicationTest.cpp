// The program as started: its title, Qt's texts in Russian, and the report library found only
// beside the program.
#include "Application.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString Program = QStringLiteral(KESTROVA_BINARY_DIR "/Kestrova");

TEST(ApplicationTest, TitleAddsNothingToCaptionsAndQtSpeaksRussian)
{
    const QString name = QCoreApplication::applicationName();
    std::unique_ptr<QTranslator> translator(SetUpApplication());
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Кестрова"));
    // No display name of its own: it follows the application name, and no window caption gets a suffix.
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    QCoreApplication::setApplicationName(name);
    QWidget w;
    w.setWindowTitle(QStringLiteral("Регионы"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Регионы"));

    ASSERT_NE(translator, nullptr);
    const std::pair<const char*, const char*> texts[] = {
        {"&Yes", "&Да"}, {"&No", "&Нет"}, {"Cancel", "Отмена"}, {"OK", "OK"}};
    for (const auto& [english, russian] : texts)
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", english), QString::fromUtf8(russian)) << english;
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Перейти к:"));
}

TEST(ApplicationTest, ReportLibraryIsLookedForBesideTheProgramOnly)
{
    ASSERT_TRUE(QFile::exists(Program));
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), Program});
    ASSERT_TRUE(readelf.waitForFinished(30000));
    const QString dynamic = QString::fromUtf8(readelf.readAllStandardOutput());
    QStringList paths;
    for (const QString& line : dynamic.split(QLatin1Char('\n')))
        if (line.contains(QStringLiteral("RPATH")) || line.contains(QStringLiteral("RUNPATH")))
            paths << line.section(QLatin1Char('['), 1).section(QLatin1Char(']'), 0, 0);
    EXPECT_EQ(paths, QStringList{QStringLiteral("$ORIGIN")});
    EXPECT_TRUE(dynamic.contains(QStringLiteral("[libRalvik.so]")));

    // A copy elsewhere without the library does not start.
    QTemporaryDir dir;
    const QString copy = dir.path() + QStringLiteral("/Kestrova");
    ASSERT_TRUE(QFile::copy(Program, copy));
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_LIBRARY_PATH"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    run.setProcessEnvironment(env);
    run.setWorkingDirectory(dir.path());
    run.start(copy, {});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_NE(run.exitCode(), 0);
    EXPECT_TRUE(run.readAllStandardError().contains("libRalvik.so")) ;
}

}  // namespace
