// The shared database fixture plus the main window, the research register opened through its
// menu, and helpers that answer the research dialog while it is shown modally.
#pragma once

#include "DatabaseFixture.h"
#include "EditResearch.h"
#include "MainForm.h"
#include "ResRegister.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

class RegisterFixture : public DatabaseFixture {
public:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        TfrmMainForm::DocumentCreators().Researches = [](TfrmMainForm* o) { return frmTableForm2 = new TfrmTableForm2(o); };
    }
    void TearDown() override
    {
        main_.reset();
        TfrmMainForm::DocumentCreators() = TfrmMainForm::Creators();
        qunsetenv("KESTROVA_PDF");
        DatabaseFixture::TearDown();
    }

    void WriteRegister(const QStringList& lines) { WriteData(u"ksResearchRegister.txt"_s, lines); }
    QStringList ReadRegister() const { return ReadData(u"ksResearchRegister.txt"_s); }
    QByteArray RegisterBytes() const { return TestSupport::ReadBytes(DataPath(u"ksResearchRegister.txt"_s)); }
    void WriteMeasurements(const QStringList& lines) { WriteData(u"ksMesurements.txt"_s, lines); }

    // Starts the main window (tvk.ini without word wrap plus extra, unless a test wrote its own)
    // and opens the register through its menu.
    TfrmTableForm2* Open(const QStringList& extra = {})
    {
        if (!QFile::exists(appDir_ + u"tvk.ini"_s)) WriteIni(QStringList{u"[tables]"_s, u"wordwrap=0"_s} + extra);
        main_ = std::make_unique<TfrmMainForm>(appDir_);
        main_->show();
        dialogs_->Messages.clear();
        main_->AnalisisExecute();
        return frmTableForm2;
    }

    // Runs act on the research dialog as soon as it is shown modally.
    static void WhenDialog(std::function<void(TfrmEditForm2&)> act)
    {
        QTimer::singleShot(0, [act] {
            if (frmEditForm2 && frmEditForm2->isVisible()) act(*frmEditForm2);
            else WhenDialog(act);
        });
    }
    static void Ok(TfrmEditForm2& d) { d.Button1->click(); }
    static void Cancel(TfrmEditForm2& d) { d.Button2->click(); }
    static void Add(TfrmTableForm2* w, std::function<void(TfrmEditForm2&)> act) { WhenDialog(act); w->Button1Click(); }
    static void Change(TfrmTableForm2* w, std::function<void(TfrmEditForm2&)> act) { WhenDialog(act); w->Button2Click(); }

    static void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &press);
    }

    std::unique_ptr<TfrmMainForm> main_;
};
