// The legend dialog: loading the settings, enabling, results and what OK writes.
#include "EditLegend.h"
#include "ViewOnMap.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class LegendDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        legend.SetAutoIntervals(true);
        legend.SetColor(ViewOnMap::clGreen);
        legend.SetIntervalCount(4);
        ViewOnMap::BuildIntervals(legend, 10, false);
    }

    // Shows the dialog modally, runs answer inside it, returns the result.
    int Run(const std::function<void(TfrmEditForm4&)>& answer)
    {
        dialog.Legend = &legend;
        dialog.FillRec(false);
        QTimer::singleShot(0, [&] { answer(dialog); });
        return dialog.Execute();
    }

    TOLegend legend;
    TfrmEditForm4 dialog;
};

TEST_F(LegendDialog, LoadsTheSettingsAndEnablesByTheLegendBoxAndMode)
{
    dialog.Legend = &legend;
    dialog.FillRec(false);
    EXPECT_FALSE(dialog.Modified);
    EXPECT_EQ(dialog.SpinEdit1->value(), 4);
    EXPECT_TRUE(dialog.RadioButton1->isChecked());
    EXPECT_EQ(dialog.ColorBox1->Selected(), ViewOnMap::clGreen);
    ASSERT_EQ(dialog.ListBox1->count(), 4);
    EXPECT_EQ(dialog.ListBox1->item(3)->text(), QStringLiteral("8-10"));
    EXPECT_FALSE(dialog.SpinEdit1->isEnabled());

    dialog.CheckBox1->setChecked(true);
    EXPECT_TRUE(dialog.Modified);
    EXPECT_TRUE(dialog.SpinEdit1->isEnabled() && dialog.ColorBox1->isEnabled());
    EXPECT_FALSE(dialog.ListBox1->isEnabled() || dialog.SpeedButton5->isEnabled());
    dialog.RadioButton2->setChecked(true);
    EXPECT_FALSE(dialog.SpinEdit1->isEnabled() || dialog.Label11->isEnabled());
    EXPECT_TRUE(dialog.ListBox1->isEnabled() && dialog.SpeedButton1->isEnabled());
    dialog.CheckBox1->setChecked(false);
    EXPECT_FALSE(dialog.RadioButton1->isEnabled() || dialog.ListBox1->isEnabled() || dialog.ColorBox1->isEnabled());
}

TEST_F(LegendDialog, LoadingAChangedStateMarksTheDialog)
{
    legend.SetAddLegend(true);
    dialog.Legend = &legend;
    dialog.FillRec(false);
    EXPECT_TRUE(dialog.Modified);
    EXPECT_TRUE(dialog.SpinEdit1->isEnabled());

    TfrmEditForm4 manual;
    legend.SetAddLegend(false);
    legend.SetAutoIntervals(false);
    manual.Legend = &legend;
    manual.FillRec(false);
    EXPECT_TRUE(manual.Modified);
    EXPECT_TRUE(manual.RadioButton2->isChecked());

    TfrmEditForm4 count;
    legend.SetAutoIntervals(true);
    legend.SetIntervalCount(7);
    count.Legend = &legend;
    count.FillRec(false);
    EXPECT_TRUE(count.Modified);
}

TEST_F(LegendDialog, OkWritesTheSettingsAndAnswersByModified)
{
    // Only the colour: written, but the result is a cancel.
    int result = Run([](TfrmEditForm4& d) {
        d.ColorBox1->SetSelected(ViewOnMap::clRed);
        d.Button1->click();
    });
    EXPECT_EQ(result, erCancelled);
    EXPECT_EQ(legend.Color, ViewOnMap::clRed);
    EXPECT_TRUE(dialog.OKPressed);

    TfrmEditForm4 second;
    second.Legend = &legend;
    second.FillRec(false);
    QTimer::singleShot(0, [&] {
        second.CheckBox1->setChecked(true);
        second.RadioButton2->setChecked(true);
        second.SpinEdit1->setValue(9);
        second.Button1->click();
    });
    EXPECT_EQ(second.Execute(), erChanged);
    EXPECT_TRUE(legend.AddLegend);
    EXPECT_FALSE(legend.AutoIntervals);
    EXPECT_EQ(legend.IntervalCount, 9);
}

TEST_F(LegendDialog, CancelAndEscapeLeaveTheLegendAlone)
{
    int result = Run([](TfrmEditForm4& d) {
        d.CheckBox1->setChecked(true);
        d.SpinEdit1->setValue(12);
        d.Button2->click();
    });
    EXPECT_EQ(result, erCancelled);
    EXPECT_FALSE(legend.AddLegend);
    EXPECT_EQ(legend.IntervalCount, 4);

    TfrmEditForm4 esc;
    esc.Legend = &legend;
    esc.FillRec(false);
    QTimer::singleShot(0, [&] {
        esc.CheckBox1->setChecked(true);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&esc, &key);
    });
    EXPECT_EQ(esc.Execute(), erCancelled);
    EXPECT_FALSE(legend.AddLegend);
}

}  // namespace
