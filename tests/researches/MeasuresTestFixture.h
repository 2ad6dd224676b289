// The shared database fixture plus a stand-in for the research dialog's choice of level and
// kind, the measurements window opened on a research, and answers to the measurement dialog.
#pragma once

#include "DatabaseFixture.h"
#include "DateTimePicker.h"
#include "EditMeasur.h"
#include "Measures.h"
#include "ResearchChoice.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

// What the research dialog would show; records each save's report.
class FakeChoice : public TResearchChoice {
public:
    int Level = 0;
    int Kind = 1;
    QList<QPair<int, int>> Saved;
    int ChosenLevel() const override { return Level; }
    int ChosenKind() const override { return Kind; }
    void MeasurementsSaved(int level, int kind) override { Saved.append({level, kind}); }
};

// Runs act on the measurements window as soon as it is shown modally.
inline void WhenMeasuresWindow(std::function<void(TfrmEditStUnit41&)> act)
{
    QTimer::singleShot(0, [act] {
        if (frmEditStUnit41 && frmEditStUnit41->isVisible()) act(*frmEditStUnit41);
        else WhenMeasuresWindow(act);
    });
}

class MeasuresFixture : public DatabaseFixture {
public:
    void TearDown() override
    {
        window_.reset();
        DatabaseFixture::TearDown();
    }

    // Regions 1 "Алтай", 2 "Тыва", 3 "Бурятия" after a comment line; districts 1 and 2.
    void WritePlaces()
    {
        WriteData(u"ksRegions.txt"_s, {u"# регионы"_s, u"1;Алтай;Горно-Алтайск;;;;;"_s, u"2;Тыва;Кызыл;;;;;"_s,
                                       u"3;Бурятия;Улан-Удэ;;;;;"_s});
        WriteData(u"ksFederalParts.txt"_s, {u"1;Сибирский;Новосибирск;"_s, u"2;Дальневосточный;Хабаровск;"_s});
    }
    void WriteMeasurements(const QStringList& lines) { WriteData(u"ksMesurements.txt"_s, lines); }
    QStringList Measurements() const { return ReadData(u"ksMesurements.txt"_s); }
    QByteArray MeasurementBytes() const { return TestSupport::ReadBytes(DataPath(u"ksMesurements.txt"_s)); }

    // The window created, loaded with the research and shown (not modally).
    TfrmEditStUnit41* Open(int researchID)
    {
        window_ = std::make_unique<TfrmEditStUnit41>(&choice_);
        window_->PreFillRec(researchID);
        window_->show();
        return window_.get();
    }
    StringGrid& Grid() const { return *window_->StringGrid1; }
    QStringList Column(int col) const
    {
        QStringList cells;
        for (int r = 1; r < Grid().RowCount(); ++r) cells << Grid().Cell(col, r);
        return cells;
    }

    // Runs act on the measurement dialog as soon as it is shown modally.
    static void WhenDialog(std::function<void(TfrmEditForm3&)> act)
    {
        QTimer::singleShot(0, [act] {
            if (frmEditForm3 && frmEditForm3->isVisible()) act(*frmEditForm3);
            else WhenDialog(act);
        });
    }
    // Picks place item `place`, types the value (numeric) or picks its item (logical), then OK.
    static std::function<void(TfrmEditForm3&)> Answer(int place, const QString& value)
    {
        return [place, value](TfrmEditForm3& d) {
            d.ComboBox2->setCurrentIndex(place);
            d.MarkToSave();
            if (d.ComboBox1->isEditable()) d.ComboBox1->setEditText(value);
            else d.ComboBox1->setCurrentIndex(d.ComboBox1->findText(value));
            d.Button1->click();
        };
    }
    static void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &press);
    }

    FakeChoice choice_;
    std::unique_ptr<TfrmEditStUnit41> window_;
};
