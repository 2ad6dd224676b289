// A temporary program directory and database, the main window, and helpers that answer the
// record dialog while it is shown modally.
#pragma once

#include "AppConfig.h"
#include "Dialogs.h"
#include "EditRegion.h"
#include "MainForm.h"
#include "Regions.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class TablesFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        appDir_ = dir_.path() + QStringLiteral("/app/");
        db_ = dir_.path() + QStringLiteral("/db");
        QDir().mkpath(appDir_);
        QDir().mkpath(db_);
        dialogs_ = std::make_unique<Dialogs::ScriptedHandler>();
        TfrmMainForm::DocumentCreators().Regions = [](TfrmMainForm* owner) -> TDocumentWindow* {
            return frmTableForm = new TfrmTableForm(owner);
        };
    }
    void TearDown() override
    {
        main_.reset();
        TfrmMainForm::DocumentCreators() = TfrmMainForm::Creators();
        dialogs_.reset();
    }

    // tvk.ini with the database folder and the given extra lines (sections included).
    void WriteIni(const QStringList& extra = {})
    {
        QStringList lines{QStringLiteral("[server]"), QStringLiteral("adosource=") + db_,
                          QStringLiteral("[tables]"), QStringLiteral("wordwrap=0")};
        lines += extra;
        TestSupport::WriteAnsiLines(appDir_ + QStringLiteral("tvk.ini"), lines);
    }
    QString RegionsPath() const { return db_ + QStringLiteral("/ksRegions.txt"); }
    void WriteRegions(const QStringList& lines) { TestSupport::WriteAnsiLines(RegionsPath(), lines); }
    QStringList ReadRegions() const { return TestSupport::ReadAnsiLines(RegionsPath()); }

    // Starts the main window (which reads tvk.ini) and opens the regions window through its menu.
    TfrmTableForm* Open()
    {
        if (!QFile::exists(appDir_ + QStringLiteral("tvk.ini"))) WriteIni();
        main_ = std::make_unique<TfrmMainForm>(appDir_);
        main_->show();
        dialogs_->Messages.clear();
        main_->RegionsExecute();
        return frmTableForm;
    }

    // Runs act on the region dialog as soon as it is shown modally.
    static void WhenDialog(std::function<void(TfrmEditForm&)> act)
    {
        QTimer::singleShot(0, [act] {
            if (frmEditForm && frmEditForm->isVisible()) act(*frmEditForm);
            else WhenDialog(act);
        });
    }

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
    std::unique_ptr<Dialogs::ScriptedHandler> dialogs_;
    std::unique_ptr<TfrmMainForm> main_;
};
