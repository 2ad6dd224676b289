// The record-dialog protocol on the region dialog: results, keys and the text-field check.
#include "TablesFixture.h"

#include <QLineEdit>

namespace {

class RecordDialogTest : public TablesFixture {
protected:
    // Shows a dialog filled like an existing record (or a new one) and lets act answer it.
    static int Run(bool isNew, std::function<void(TfrmEditForm&)> act)
    {
        TfrmEditForm dialog;
        dialog.Edit1->setText(QStringLiteral("Алтай"));
        dialog.FillRec(isNew);
        WhenDialog(act);
        return dialog.Execute();
    }
};

TEST_F(RecordDialogTest, ResultsOfOkCancelEscAndCloseBox)
{
    EXPECT_EQ(Run(false, Ok), erCancelled);
    EXPECT_EQ(Run(true, Ok), erChanged);
    // Typing a character and deleting it again is a change all the same.
    EXPECT_EQ(Run(false, [](TfrmEditForm& d) { d.Edit2->setText(QStringLiteral("1")); d.Edit2->clear(); Ok(d); }), erChanged);
    EXPECT_EQ(Run(false, [](TfrmEditForm& d) { d.Edit1->setText(QStringLiteral("x")); d.Button2->click(); }), erCancelled);
    EXPECT_EQ(Run(false, [](TfrmEditForm& d) { d.Edit1->setText(QStringLiteral("x")); Key(d.Edit1, Qt::Key_Escape); }),
              erCancelled);
    EXPECT_EQ(Run(true, [](TfrmEditForm& d) { d.close(); }), erCancelled);
}

TEST_F(RecordDialogTest, EnterMovesFocusAndWrapsCtrlEndIsOk)
{
    QStringList seen;
    const int result = Run(false, [&seen](TfrmEditForm& d) {
        for (QWidget* w : QList<QWidget*>{d.Edit1, d.Edit7, d.Button2}) {
            w->setFocus();
            Key(w, w == d.Button2 ? Qt::Key_Enter : Qt::Key_Return);
            seen << d.focusWidget()->objectName();
        }
        // Ctrl+Shift+End is no OK; End alone reaches the edit box; Ctrl+End is OK.
        Key(d.Edit1, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
        seen << (d.OKPressed ? QStringLiteral("ok") : QStringLiteral("open"));
        for (Qt::KeyboardModifiers mods : {Qt::NoModifier, Qt::ControlModifier}) {
            d.Edit1->setCursorPosition(0);
            Key(d.Edit1, Qt::Key_End, mods);
            seen << QString::number(d.Edit1->cursorPosition());
        }
    });
    EXPECT_EQ(seen, QStringList({QStringLiteral("Edit2"), QStringLiteral("Button1"), QStringLiteral("Edit1"),
                                 QStringLiteral("open"), QStringLiteral("5"), QStringLiteral("0")}));
    // Nothing had changed, so the caller gets cancel.
    EXPECT_EQ(result, erCancelled);
}

TEST_F(RecordDialogTest, OkRefusesTextThatWouldNotReadBack)
{
    const QList<QPair<QString, QString>> cases{
        {QStringLiteral("Алтай;Горный"), QStringLiteral("Поле «Наименование» содержит разделитель полей (;).")},
        {QStringLiteral("a\tb"), QStringLiteral("Поле «Наименование» содержит символ табуляции.")},
        {QStringLiteral("a\nb"), QStringLiteral("Поле «Наименование» содержит перевод строки.")},
        {QStringLiteral("Ω"), QStringLiteral("Поле «Наименование» содержит символ «Ω», который нельзя сохранить в файле данных.")},
        {QStringLiteral("Горно-Алтайск"), QString()},
    };
    for (const auto& [text, problem] : cases)
        EXPECT_EQ(TRecordDialog::TextFieldProblem(text, QStringLiteral("Наименование")), problem);

    // In the dialog the field is named by its label and OK stays refused until the text is fine;
    // with TAB as the delimiter the warning says so.
    AppConfig->Delimiter = QStringLiteral("\t");
    bool stayedOpen = false;
    const int result = Run(false, [&stayedOpen](TfrmEditForm& d) {
        d.Edit7->setText(QStringLiteral("a\tb"));
        Ok(d);
        stayedOpen = d.isVisible() && !d.OKPressed;
        d.Edit7->setText(QStringLiteral("Кызыл"));
        Ok(d);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(result, erChanged);
    EXPECT_EQ(dialogs_->Texts(), QStringList{QStringLiteral("Поле «Столица» содержит разделитель полей (табуляция).")});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
}

}  // namespace
