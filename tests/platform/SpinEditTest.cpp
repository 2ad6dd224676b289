// The spin field: a text that is no whole 32-bit number reads as the minimum, one outside the
// range is brought into it, and leaving the field shows what it reads.
#include "SpinEdit.h"

#include <QApplication>
#include <QLineEdit>
#include <QValidator>
#include <gtest/gtest.h>

namespace {

// What the field reads with text typed into it.
int Reads(SpinEdit& field, const QString& text)
{
    field.findChild<QLineEdit*>()->setText(text);
    return field.Value();
}

TEST(SpinEditTest, TextThatIsNoWholeNumberReadsAsTheMinimumAndOneOutsideTheRangeIsBroughtIn)
{
    SpinEdit margin;  // no range
    EXPECT_EQ(Reads(margin, QStringLiteral("99999999999")), 0);
    EXPECT_EQ(Reads(margin, QStringLiteral("-99999999999")), 0);
    EXPECT_EQ(Reads(margin, QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(Reads(margin, QStringLiteral("-2147483648")), -2147483648);
    EXPECT_EQ(Reads(margin, QStringLiteral("2147483648")), 0);
    EXPECT_EQ(Reads(margin, QStringLiteral("+12")), 12);
    EXPECT_EQ(Reads(margin, QString()), 0);

    SpinEdit rowHeight;
    rowHeight.SetRange(15, 70);
    EXPECT_EQ(Reads(rowHeight, QStringLiteral("99")), 70);
    EXPECT_EQ(Reads(rowHeight, QStringLiteral("3")), 15);
    EXPECT_EQ(Reads(rowHeight, QStringLiteral("99999999999")), 15);
    EXPECT_EQ(Reads(rowHeight, QStringLiteral("-")), 15);

    // Any digits may be typed after a sign; letters and a second sign may not.
    const QValidator* typing = rowHeight.findChild<QLineEdit*>()->validator();
    int pos = 0;
    for (QString typed : {QStringLiteral("99999999999999999999999"), QStringLiteral("-"), QStringLiteral("+7")})
        EXPECT_NE(typing->validate(typed, pos), QValidator::Invalid) << typed.toStdString();
    for (QString typed : {QStringLiteral("1a"), QStringLiteral("--1"), QStringLiteral("1-")})
        EXPECT_EQ(typing->validate(typed, pos), QValidator::Invalid) << typed.toStdString();
}

TEST(SpinEditTest, LeavingTheFieldShowsWhatItReads)
{
    QWidget window;
    SpinEdit margin(&window), other(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    margin.setFocus();
    margin.findChild<QLineEdit*>()->setText(QStringLiteral("99999999999"));
    other.setFocus();
    EXPECT_EQ(margin.text(), QStringLiteral("0"));
    EXPECT_EQ(margin.Value(), 0);
}

}  // namespace
