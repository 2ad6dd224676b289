// The shared database fixture plus the main window, the regions window opened through its menu,
// and helpers that answer the region dialog while it is shown modally.
#pragma once

#include "DatabaseFixture.h"
#include "EditRegion.h"
#include "MainForm.h"
#include "Regions.h"

#include <QApplication>
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

    // Runs act on the region dialog as soon as it is shown modally.
    static void WhenDialog(std::function<void(TfrmEditForm&)> act)
    {
        QTimer::singleShot(0, [act] {
            if (frmEditForm && frmEditForm->isVisible()) act(*frmEditForm);
            else WhenDialog(act);
        });
    }
    static void Ok(TfrmEditForm& d) { d.Button1->click(); }
    static void Cancel(TfrmEditForm& d) { d.Button2->click(); }
    // The add and change commands of the regions window, with act answering their dialog.
    static void Add(TfrmTableForm* w, std::function<void(TfrmEditForm&)> act) { WhenDialog(act); w->Button1Click(); }
    static void Change(TfrmTableForm* w, std::function<void(TfrmEditForm&)> act) { WhenDialog(act); w->Button2Click(); }

    static void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &press);
    }

    std::unique_ptr<TfrmMainForm> main_;
};
