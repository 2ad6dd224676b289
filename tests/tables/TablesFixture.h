// The shared database fixture plus the main window, the regions window opened through its menu,
// and helpers that answer the region dialog while it is shown modally.
#pragma once

#include "DatabaseFixture.h"
#include "EditRegion.h"
#include "MainForm.h"
#include "Regions.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <functional>

class TablesFixture : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        TfrmMainForm::DocumentCreators().Regions = [](TfrmMainForm* owner) -> TDocumentWindow* {
            return frmTableForm = new TfrmTableForm(owner);
        };
    }
    void TearDown() override
    {
        main_.reset();
        TfrmMainForm::DocumentCreators() = TfrmMainForm::Creators();
        DatabaseFixture::TearDown();
    }

    void WriteRegions(const QStringList& lines) { WriteData(QStringLiteral("ksRegions.txt"), lines); }
    QStringList ReadRegions() const { return ReadData(QStringLiteral("ksRegions.txt")); }
    QByteArray RegionBytes() const { return TestSupport::ReadBytes(DataPath(QStringLiteral("ksRegions.txt"))); }

    // Starts the main window (tvk.ini without word wrap plus extra, unless a test wrote its own)
    // and opens the regions window through its menu.
    TfrmTableForm* Open(const QStringList& extra = {})
    {
        if (!QFile::exists(appDir_ + QStringLiteral("tvk.ini")))
            WriteIni(QStringList{QStringLiteral("[tables]"), QStringLiteral("wordwrap=0")} + extra);
        main_ = std::make_unique<TfrmMainForm>(appDir_);
        main_->show();
        dialogs_->Messages.clear();
        main_->RegionsExecute();
        return frmTableForm;
    }

    // One region ("Алтай") and the window opened on it.
    TfrmTableForm* OpenOne(const QStringList& extra = {})
    {
        WriteRegions({QStringLiteral("1;Алтай;;;;;;")});
        return Open(extra);
    }

    // Runs act on the region dialog as soon as it is shown modally.
    static void WhenDialog(std::function<void(TfrmEditForm&)> act)
    {
        QTimer::singleShot(0, [act] {
            if (frmEditForm && frmEditForm->isVisible()) act(*frmEditForm);
            else WhenDialog(act);
        });
    }
    static void Ok(TfrmEditForm& d) { d.Button1->click(); }

    static void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &press);
    }

    std::unique_ptr<TfrmMainForm> main_;
};
