// A temporary program directory and database with AppConfig pointed at them, and the scripted
// dialogs; shared by every test folder above the platform layer.
#pragma once

#include "AppConfig.h"
#include "Dialogs.h"
#include "Regional.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class DatabaseFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        appDir_ = dir_.path() + QStringLiteral("/app/");
        db_ = dir_.path() + QStringLiteral("/db");
        QDir().mkpath(appDir_);
        QDir().mkpath(db_);
        saved_ = EnsureAppConfig();
        *AppConfig = TAppConfig();
        AppConfig->AppDir = appDir_;
        AppConfig->DBPath = db_;
        AppConfig->Delimiter = QStringLiteral(";");
        AppConfig->CommentChar = QStringLiteral("#");
        Regional::Set(Regional::Neutral());
        dialogs_ = std::make_unique<Dialogs::ScriptedHandler>();
    }
    void TearDown() override
    {
        dialogs_.reset();
        *AppConfig = saved_;
        Regional::Set(Regional::Neutral());
    }

    // tvk.ini in the program directory: [server] adosource at the database, then extra lines.
    void WriteIni(const QStringList& extra = {})
    {
        QStringList lines{QStringLiteral("[server]"), QStringLiteral("adosource=") + db_};
        lines += extra;
        TestSupport::WriteAnsiLines(appDir_ + QStringLiteral("tvk.ini"), lines);
    }
    QString DataPath(const QString& name) const { return db_ + QLatin1Char('/') + name; }
    void WriteData(const QString& name, const QStringList& lines) { TestSupport::WriteAnsiLines(DataPath(name), lines); }
    QStringList ReadData(const QString& name) const { return TestSupport::ReadAnsiLines(DataPath(name)); }

    QStringList LogLines() const { return TestSupport::ReadAnsiLines(appDir_ + QStringLiteral("tvk.log")); }
    int CountLog(const QString& text) const
    {
        int n = 0;
        for (const QString& line : LogLines())
            if (line.contains(text)) ++n;
        return n;
    }

    QTemporaryDir dir_;
    QString appDir_;
    QString db_;
    TAppConfig saved_;
    std::unique_ptr<Dialogs::ScriptedHandler> dialogs_;
};
