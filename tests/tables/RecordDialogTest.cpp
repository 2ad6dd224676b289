// The record-dialog protocol on the region dialog: results, keys and the text-field check.
#include "TablesFixture.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
}

class RecordDialogTest : public TablesFixture {
protected:
    void SetUp() override
    {
        TablesFixture::SetUp();
        EnsureAppConfig().Delimiter = QStringLiteral(";");
    }
    // Shows a dialog filled like an existing record (or a new one) and lets act answer it.
    int Run(bool isNew, std::function<void(TfrmEditForm&)> act)
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
    EXPECT_EQ(Run(false, [](TfrmEditForm& d) { d.Button1->click(); }), erCancelled);
    EXPECT_EQ(Run(true, [](TfrmEditForm& d) { d.Button1->click(); }), erChanged);
    // Typing a character and deleting it again is a change all the same.
    EXPECT_EQ(Run(false, [](TfrmEditForm& d) {
                  d.Edit2->setText(QStringLiteral("1"));
                  d.Edit2->setText(QString());
                  d.Button1->click();
              }),
              erChanged);
    EXPECT_EQ(Run(false, [](TfrmEditForm& d) {
                  d.Edit1->setText(QStringLiteral("x"));
                  d.Button2->click();
              }),
              erCancelled);
    EXPECT_EQ(Run(false, [](TfrmEditForm& d) {
                  d.Edit1->setText(QStringLiteral("x"));
                  Key(d.Edit1, Qt::Key_Escape);
              }),
              erCancelled);
    EXPECT_EQ(Run(true, [](TfrmEditForm& d) { d.close(); }), erCancelled);
}

TEST_F(RecordDialogTest, EnterMovesFocusAndWrapsCtrlEndIsOk)
{
    QStringList focus;
    const int result = Run(false, [&focus](TfrmEditForm& d) {
        d.Edit1->setFocus();
        Key(d.Edit1, Qt::Key_Return);
        focus << d.focusWidget()->objectName();
        d.Edit7->setFocus();
        Key(d.Edit7, Qt::Key_Return);
        focus << d.focusWidget()->objectName();
        d.Button2->setFocus();
        Key(d.Button2, Qt::Key_Enter);
        focus << d.focusWidget()->objectName();
        // Ctrl+Shift+End is no OK; End alone reaches the edit box.
        Key(d.Edit1, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
        focus << (d.OKPressed ? QStringLiteral("ok") : QStringLiteral("open"));
        d.Edit1->setCursorPosition(0);
        Key(d.Edit1, Qt::Key_End);
        focus << QString::number(d.Edit1->cursorPosition());
        d.Edit1->setCursorPosition(0);
        Key(d.Edit1, Qt::Key_End, Qt::ControlModifier);
        focus << QString::number(d.Edit1->cursorPosition());
    });
    EXPECT_EQ(focus, QStringList({QStringLiteral("Edit2"), QStringLiteral("Button1"), QStringLiteral("Edit1"),
                                  QStringLiteral("open"), QStringLiteral("5"), QStringLiteral("0")}));
    // Ctrl+End acted as OK; nothing had changed, so the caller gets cancel.
    EXPECT_EQ(result, erCancelled);
}

TEST_F(RecordDialogTest, OkRefusesTextThatWouldNotReadBack)
{
    struct Case {
        QString Text;
        QString Warning;
    };
    const QList<Case> cases{
        {QStringLiteral("Алтай;Горный"), QStringLiteral("Поле «Наименование» содержит разделитель полей (;).")},
        {QStringLiteral("a\tb"), QStringLiteral("Поле «Наименование» содержит символ табуляции.")},
        {QStringLiteral("a\nb"), QStringLiteral("Поле «Наименование» содержит перевод строки.")},
        {QStringLiteral("Ω"), QStringLiteral("Поле «Наименование» содержит символ «Ω», который нельзя сохранить в файле данных.")},
    };
    for (const Case& c : cases) {
        dialogs_->Messages.clear();
        bool stayedOpen = false;
        const int result = Run(false, [&](TfrmEditForm& d) {
            d.Edit1->setText(c.Text);
            d.Button1->click();
            stayedOpen = d.isVisible() && !d.OKPressed;
            d.Edit1->setText(QStringLiteral("Алтай"));
            d.Button1->click();
        });
        EXPECT_TRUE(stayedOpen) << c.Text.toStdString();
        ASSERT_EQ(dialogs_->Messages.size(), 1);
        EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Warning);
        EXPECT_EQ(dialogs_->Messages[0].Text, c.Warning);
        EXPECT_EQ(result, erChanged);
    }
    // Another field is named by its label; with TAB as the delimiter the warning says so.
    AppConfig->Delimiter = QStringLiteral("\t");
    dialogs_->Messages.clear();
    Run(false, [](TfrmEditForm& d) {
        d.Edit7->setText(QStringLiteral("a\tb"));
        d.Button1->click();
        d.Button2->click();
    });
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Text, QStringLiteral("Поле «Столица» содержит разделитель полей (табуляция)."));
}

}  // namespace
