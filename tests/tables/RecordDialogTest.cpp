// The record-dialog protocol on the region dialog: results, keys and the text-field check.
#include "TablesFixture.h"

namespace {

using RecordDialogTest = TablesFixture;

// Shows a dialog filled like an existing record (or a new one) and lets act answer it.
int ShowDialog(bool isNew, std::function<void(TfrmEditForm&)> act)
{
    TfrmEditForm dialog;
    dialog.Edit1->setText(u"Алтай"_s);
    dialog.FillRec(isNew);
    TablesFixture::WhenDialog(act);
    return dialog.Execute();
}

TEST_F(RecordDialogTest, ResultsOfOkCancelEscAndCloseBox)
{
    EXPECT_EQ(ShowDialog(false, Ok), erCancelled);
    EXPECT_EQ(ShowDialog(true, Ok), erChanged);
    // Typing a character and deleting it again is a change all the same.
    EXPECT_EQ(ShowDialog(false, [](TfrmEditForm& d) { d.Edit2->setText(u"1"_s); d.Edit2->clear(); Ok(d); }), erChanged);
    EXPECT_EQ(ShowDialog(false, [](TfrmEditForm& d) { d.Edit1->setText(u"x"_s); Cancel(d); }), erCancelled);
    EXPECT_EQ(ShowDialog(false, [](TfrmEditForm& d) { d.Edit1->setText(u"x"_s); Key(d.Edit1, Qt::Key_Escape); }), erCancelled);
    EXPECT_EQ(ShowDialog(true, [](TfrmEditForm& d) { d.close(); }), erCancelled);
}

TEST_F(RecordDialogTest, EnterMovesFocusAndWrapsCtrlEndIsOk)
{
    QStringList seen;
    const int result = ShowDialog(false, [&seen](TfrmEditForm& d) {
        for (QWidget* w : QList<QWidget*>{d.Edit1, d.Edit7, d.Button2}) {
            w->setFocus();
            Key(w, w == d.Button2 ? Qt::Key_Enter : Qt::Key_Return);
            seen << d.focusWidget()->objectName();
        }
        // Ctrl+Shift+End is no OK; End alone reaches the edit box; Ctrl+End is OK.
        Key(d.Edit1, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
        seen << (d.OKPressed ? u"ok"_s : u"open"_s);
        for (Qt::KeyboardModifiers mods : {Qt::NoModifier, Qt::ControlModifier}) {
            d.Edit1->setCursorPosition(0);
            Key(d.Edit1, Qt::Key_End, mods);
            seen << QString::number(d.Edit1->cursorPosition());
        }
    });
    EXPECT_EQ(seen, QStringList({u"Edit2"_s, u"Button1"_s, u"Edit1"_s, u"open"_s, u"5"_s, u"0"_s}));
    EXPECT_EQ(result, erCancelled);  // nothing had changed
}

TEST_F(RecordDialogTest, OkRefusesTextThatWouldNotReadBack)
{
    const QList<QPair<QString, QString>> cases{
        {u"Алтай;Горный"_s, u"Поле «Наименование» содержит разделитель полей (;)."_s},
        {u"a\tb"_s, u"Поле «Наименование» содержит символ табуляции."_s},
        {u"a\nb"_s, u"Поле «Наименование» содержит перевод строки."_s},
        {u"Ω"_s, u"Поле «Наименование» содержит символ «Ω», который нельзя сохранить в файле данных."_s},
        {u"Горно-Алтайск"_s, QString()},
    };
    for (const auto& [text, problem] : cases) EXPECT_EQ(TRecordDialog::TextFieldProblem(text, u"Наименование"_s), problem);

    // In the dialog the field is named by its label and OK stays refused until the text is fine;
    // with TAB as the delimiter the warning says so.
    AppConfig->Delimiter = u"\t"_s;
    bool stayedOpen = false;
    const int result = ShowDialog(false, [&stayedOpen](TfrmEditForm& d) {
        d.Edit7->setText(u"a\tb"_s); Ok(d);
        stayedOpen = d.isVisible() && !d.OKPressed;
        d.Edit7->setText(u"Кызыл"_s); Ok(d);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(result, erChanged);
    EXPECT_EQ(dialogs_->Texts(), QStringList{u"Поле «Столица» содержит разделитель полей (табуляция)."_s});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
}

}  // namespace
