// The protocol every record dialog follows: results, the Modified/OKPressed fields, OK and
// Cancel, the keys (Enter to the next control, Ctrl+End as OK) and the check of text fields.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// Results of a record dialog (its modal result); a caller acts only on erChanged.
enum TEditResult : int { erChanged = 2, erCancelled = 3, erUnchanged = 4 };

class TRecordDialog : public QDialog {
    Q_OBJECT
public:
    explicit TRecordDialog(QWidget* owner = nullptr);
    ~TRecordDialog() override;

    // Something was edited since the caller's FillRec.
    bool Modified = false;
    // OK was pressed (and accepted); never reset while the dialog lives.
    bool OKPressed = false;

    // The OK ("ОК") and Cancel ("Отмена") buttons; a member creates them with CreateButtons.
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    // Called by the caller after it has filled the controls.
    virtual void FillRec(bool Mark);

    // Shows the dialog modally; the result is erChanged or erCancelled.
    int Execute();

    // A text that would not read back as written from a data file (the delimiter, a line
    // break, TAB, a character Windows-1251 cannot hold): the problem in words, else empty.
    // fieldCaption names the field in the text.
    static QString TextFieldProblem(const QString& text, const QString& fieldCaption);
    // The same, showing the warning; true when the text is fine.
    static bool CheckTextField(const QString& text, const QString& fieldCaption);

public slots:
    // The change event of every editable control.
    void MarkToSave();
    void Button1Click();
    void Button2Click();

protected:
    // Creates Button1 and Button2 (75 x 25) at x 6 and 88 of the given bottom strip.
    void CreateButtons(QWidget* strip);
public:
    // The same two buttons for any window's strip; the caller connects them.
    static void CreateOkCancel(QWidget* strip, QPushButton*& ok, QPushButton*& cancel);
    // Key preview for window's application-wide event filter: a key press in the visible
    // window or one of its controls goes to handle first; true when handle consumed it.
    static bool PreviewKey(QWidget& window, QObject* watched, QEvent* event,
                           const std::function<bool(const QKeyEvent&)>& handle);
    // The modifiers that make a shortcut differ (Shift, Ctrl, Alt, Meta) of those held.
    static Qt::KeyboardModifiers HeldModifiers(Qt::KeyboardModifiers shift);
protected:
    // Makes edit a watched text field: its change marks the dialog, and OK refuses a text in it
    // that would not read back (see TextFieldProblem).
    void AddTextField(QLineEdit* edit, const QString& caption);
    // A caption "Label<labelNo>" at (x, y) of panel.
    static QLabel* AddLabel(QWidget* panel, int labelNo, const QString& caption, int x, int y);
    // A captioned text field: its label at (x, y), the edit box "Edit<editNo>" below it
    // (width x 21), watched as AddTextField says.
    void AddCaptionedField(QWidget* panel, QLabel*& label, int labelNo, QLineEdit*& edit, int editNo,
                           const QString& caption, int x, int y, int width);
    // The tab order of the controls, in this order.
    void SetTabOrder(const QList<QWidget*>& order);
    // OK's check before it accepts; false keeps the dialog open (after a warning).
    // The default checks the text fields added with AddTextField.
    virtual bool CheckValues();

    // Enter: the focus moves to the next control (the key consumed). True when consumed.
    virtual bool FormKeyPress(int key);
    // Ctrl+End (exactly Ctrl): OK. True when consumed.
    virtual bool FormKeyDown(int key, Qt::KeyboardModifiers shift);
    // Unless OK was pressed with a change, the result becomes erCancelled.
    virtual void FormClose(int& result);

    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TextField {
        QLineEdit* Edit;
        QString Caption;
    };
    QList<TextField> textFields_;
};
