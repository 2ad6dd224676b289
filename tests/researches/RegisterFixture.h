// The tables fixture (database, main window, keys) with the research register opened through
// its menu, and helpers that answer the research dialog while it is shown modally.
#pragma once

#include "../tables/TablesFixture.h"

#include "EditResearch.h"
#include "ResRegister.h"

#include <QComboBox>

class RegisterFixture : public TablesFixture {
public:
    void SetUp() override
    {
        TablesFixture::SetUp();
        TfrmMainForm::DocumentCreators().Researches = [](TfrmMainForm* o) { return frmTableForm2 = new TfrmTableForm2(o); };
    }

    void WriteRegister(const QStringList& lines) { WriteData(u"ksResearchRegister.txt"_s, lines); }
    QStringList ReadRegister() const { return ReadData(u"ksResearchRegister.txt"_s); }
    QByteArray RegisterBytes() const { return TestSupport::ReadBytes(DataPath(u"ksResearchRegister.txt"_s)); }
    void WriteMeasurements(const QStringList& lines) { WriteData(u"ksMesurements.txt"_s, lines); }

    // Starts the main window (tvk.ini without word wrap plus extra) and opens the register.
    TfrmTableForm2* OpenRegister(const QStringList& extra = {})
    {
        WriteIni(QStringList{u"[tables]"_s, u"wordwrap=0"_s} + extra);
        main_ = std::make_unique<TfrmMainForm>(appDir_);
        main_->show();
        dialogs_->Messages.clear();
        main_->AnalisisExecute();
        return frmTableForm2;
    }

    // Runs act on the research dialog as soon as it is shown modally.
    static void WhenResearchDialog(std::function<void(TfrmEditForm2&)> act)
    {
        QTimer::singleShot(0, [act] {
            if (frmEditForm2 && frmEditForm2->isVisible()) act(*frmEditForm2);
            else WhenResearchDialog(act);
        });
    }
    static void Ok(TfrmEditForm2& d) { d.Button1->click(); }
    static void Cancel(TfrmEditForm2& d) { d.Button2->click(); }
    static void Add(TfrmTableForm2* w, std::function<void(TfrmEditForm2&)> act) { WhenResearchDialog(act); w->Button1Click(); }
    static void Change(TfrmTableForm2* w, std::function<void(TfrmEditForm2&)> act) { WhenResearchDialog(act); w->Button2Click(); }
};
