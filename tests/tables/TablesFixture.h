// The shared database fixture plus the main window, the regions and federal districts windows
// opened through their menus, and helpers that answer their dialogs while shown modally.
#pragma once

#include "ConnParams.h"
#include "DatabaseFixture.h"
#include "EditFP.h"
#include "EditRegion.h"
#include "FederalParts.h"
#include "MainForm.h"
#include "Regions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

class TablesFixture : public DatabaseFixture {
public:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        TfrmMainForm::DocumentCreators().Regions = [](TfrmMainForm* o) { return frmTableForm = new TfrmTableForm(o); };
        TfrmMainForm::DocumentCreators().FederalParts = [](TfrmMainForm* o) { return frmTableForm1 = new TfrmTableForm1(o); };
    }
    void TearDown() override
    {
        main_.reset();
        TfrmMainForm::DocumentCreators() = TfrmMainForm::Creators();
        qunsetenv("KESTROVA_PDF");
        DatabaseFixture::TearDown();
    }

    void WriteRegions(const QStringList& lines) { WriteData(u"ksRegions.txt"_s, lines); }
    QStringList ReadRegions() const { return ReadData(u"ksRegions.txt"_s); }
    QByteArray RegionBytes() const { return TestSupport::ReadBytes(DataPath(u"ksRegions.txt"_s)); }

    // Starts the main window (tvk.ini without word wrap plus extra, unless a test wrote its own)
    // and opens the regions window through its menu.
    TfrmTableForm* Open(const QStringList& extra = {})
    {
        if (!QFile::exists(appDir_ + u"tvk.ini"_s)) WriteIni(QStringList{u"[tables]"_s, u"wordwrap=0"_s} + extra);
        main_ = std::make_unique<TfrmMainForm>(appDir_);
        main_->show();
        dialogs_->Messages.clear();
        main_->RegionsExecute();
        return frmTableForm;
    }
    // One region ("Алтай") and the window opened on it.
    TfrmTableForm* OpenOne(const QStringList& extra = {}) { WriteRegions({u"1;Алтай;;;;;;"_s}); return Open(extra); }
    // count regions "Регион А", "Регион Б", ... with the IDs idStep, 2 * idStep, ... and the window opened on them.
    TfrmTableForm* OpenRows(int count, int idStep = 1, const QStringList& extra = {})
    {
        QStringList lines;
        for (int i = 1; i <= count; ++i) lines << u"%1;Регион %2;Город;;;;;"_s.arg(i * idStep).arg(QChar(0x0410 + i % 32));
        WriteRegions(lines);
        return Open(extra);
    }

    // Starts the main window as Open does and opens the federal districts window through its menu.
    TfrmTableForm1* OpenDistricts(const QStringList& extra = {})
    {
        Open(extra);
        dialogs_->Messages.clear();
        main_->N11Click();
        return frmTableForm1;
    }

    // Runs act on the dialog held in global (frmEditForm, frmEditForm1) as soon as it is shown modally.
    template <class Dialog>
    static void WhenShown(Dialog*& global, std::function<void(Dialog&)> act)
    {
        QTimer::singleShot(0, [&global, act] {
            if (global && global->isVisible()) act(*global);
            else WhenShown(global, act);
        });
    }
    static void WhenDialog(std::function<void(TfrmEditForm&)> act) { WhenShown(frmEditForm, act); }
    static void Ok(TRecordDialog& d) { d.Button1->click(); }
    static void Cancel(TRecordDialog& d) { d.Button2->click(); }
    // The add and change commands of the regions window, with act answering their dialog.
    static void Add(TfrmTableForm* w, std::function<void(TfrmEditForm&)> act) { WhenDialog(act); w->Button1Click(); }
    static void Change(TfrmTableForm* w, std::function<void(TfrmEditForm&)> act) { WhenDialog(act); w->Button2Click(); }

    // Runs a command that must open no record dialog, with OK given to one should it open: a
    // fault then shows in the file rather than as a hang. The answer is spent before it returns.
    template <class Dialog>
    static void OkIfOpened(Dialog*& global, const std::function<void()>& command)
    {
        QTimer::singleShot(0, [&global] { if (global && global->isVisible()) global->Button1->click(); });
        command();
        QApplication::processEvents();
    }

    // The settings dialog's OK with folder as "Расположение БД" (Cancel when OK leaves it open);
    // true when the folder took effect.
    bool SwitchDatabase(const QString& folder)
    {
        QTimer::singleShot(0, [folder] {
            frmConnect->Edit1->setText(folder);
            frmConnect->Button1->click();
            if (frmConnect && frmConnect->isVisible()) frmConnect->Button2->click();
        });
        main_->N26Click();
        return AppConfig->DBPath == folder;
    }
    // The database folder replaced by a plain file, so that no write can succeed, even as root.
    // The folder's new name; empty when it could not be moved.
    QString BlockDatabase()
    {
        const QString moved = db_ + u"_moved"_s;
        if (!QDir().rename(db_, moved)) return {};
        TestSupport::WriteBytes(db_, "x");
        return moved;
    }
    // The blocked folder back in its place.
    bool UnblockDatabase(const QString& moved) { return QFile::remove(db_) && QDir().rename(moved, db_); }
    // A second database folder holding the files given as name, lines.
    QString OtherDatabase(const QList<QPair<QString, QStringList>>& files)
    {
        const QString other = dir_.path() + u"/other"_s;
        QDir().mkpath(other);
        for (const auto& [name, lines] : files) TestSupport::WriteAnsiLines(other + u'/' + name, lines);
        return other;
    }

    static void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &press);
    }

    std::unique_ptr<TfrmMainForm> main_;
};
