// The protocol every record dialog follows: results, OK/Cancel, keys and the text-field check.
#include "RecordDialog.h"

#include "AnsiCodec.h"
#include "AppConfig.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "ScreenPlacement.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TRecordDialog::TRecordDialog(QWidget* owner) : QDialog(owner)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    // Key preview: the dialog sees every key of its controls first.
    qApp->installEventFilter(this);
}

TRecordDialog::~TRecordDialog()
{
    qApp->removeEventFilter(this);
}

void TRecordDialog::FillRec(bool Mark)
{
    Modified = Mark;
}

int TRecordDialog::Execute()
{
    return exec();
}

QString TRecordDialog::TextFieldProblem(const QString& text, const QString& fieldCaption)
{
    const QString field = QStringLiteral("«") + fieldCaption + QStringLiteral("»");
    const QString delimiter = AppConfig ? AppConfig->Delimiter : QString();
    if (delimiter.size() == 1 && text.contains(delimiter.at(0))) {
        QString shown = delimiter;
        if (delimiter == QStringLiteral("\t")) shown = QStringLiteral("табуляция");
        else if (delimiter == QStringLiteral(" ")) shown = QStringLiteral("пробел");
        return QStringLiteral("Поле ") + field + QStringLiteral(" содержит разделитель полей (") + shown +
               QStringLiteral(").");
    }
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return QStringLiteral("Поле ") + field + QStringLiteral(" содержит перевод строки.");
    if (text.contains(QLatin1Char('\t')))
        return QStringLiteral("Поле ") + field + QStringLiteral(" содержит символ табуляции.");
    const qsizetype bad = AnsiCodec::FirstUnencodable(text);
    if (bad >= 0) {
        return QStringLiteral("Поле ") + field + QStringLiteral(" содержит символ «") + text.mid(bad, 1) +
               QStringLiteral("», который нельзя сохранить в файле данных.");
    }
    return QString();
}

bool TRecordDialog::CheckTextField(const QString& text, const QString& fieldCaption)
{
    const QString problem = TextFieldProblem(text, fieldCaption);
    if (problem.isEmpty()) return true;
    Dialogs::Warning(problem);
    return false;
}

void TRecordDialog::MarkToSave()
{
    Modified = true;
}

void TRecordDialog::Button1Click()
{
    Guarded([&] {
        if (!CheckValues()) return;
        OKPressed = true;
        done(Modified ? erChanged : erUnchanged);
    });
}

void TRecordDialog::Button2Click()
{
    done(erCancelled);
}

void TRecordDialog::CreateOkCancel(QWidget* strip, QPushButton*& ok, QPushButton*& cancel)
{
    ok = new QPushButton(QStringLiteral("ОК"), strip);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(6, 8, 75, 25);
    ok->setAutoDefault(false);
    cancel = new QPushButton(QStringLiteral("Отмена"), strip);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setGeometry(88, 8, 75, 25);
    cancel->setAutoDefault(false);
}

void TRecordDialog::CreateButtons(QWidget* strip)
{
    CreateOkCancel(strip, Button1, Button2);
    connect(Button1, &QPushButton::clicked, this, &TRecordDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TRecordDialog::Button2Click);
}

void TRecordDialog::AddTextField(QLineEdit* edit, const QString& caption)
{
    connect(edit, &QLineEdit::textChanged, this, &TRecordDialog::MarkToSave);
    textFields_.append({edit, caption});
}

QLabel* TRecordDialog::AddLabel(QWidget* panel, int labelNo, const QString& caption, int x, int y)
{
    auto* label = new QLabel(caption, panel);
    label->setObjectName(QStringLiteral("Label%1").arg(labelNo));
    label->move(x, y);
    return label;
}

void TRecordDialog::AddCaptionedField(QWidget* panel, QLabel*& label, int labelNo, QLineEdit*& edit, int editNo,
                                      const QString& caption, int x, int y, int width)
{
    label = AddLabel(panel, labelNo, caption, x, y);
    edit = new QLineEdit(panel);
    edit->setObjectName(QStringLiteral("Edit%1").arg(editNo));
    edit->setGeometry(x, y + 16, width, 21);
    AddTextField(edit, caption);
}

void TRecordDialog::SetTabOrder(const QList<QWidget*>& order)
{
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

bool TRecordDialog::CheckValues()
{
    for (const TextField& f : std::as_const(textFields_)) {
        if (!CheckTextField(f.Edit->text(), f.Caption)) {
            f.Edit->setFocus();
            return false;
        }
    }
    return true;
}

bool TRecordDialog::FormKeyPress(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    focusNextChild();
    return true;
}

bool TRecordDialog::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    if (key != Qt::Key_End || HeldModifiers(shift) != Qt::ControlModifier) return false;
    if (Button1 && Button1->isEnabled()) Button1->click();
    else Button1Click();
    return true;
}

void TRecordDialog::FormClose(int& result)
{
    // A result that is not "OK with a change" never reaches the caller as anything but cancel.
    if (!(OKPressed && Modified && result == erChanged)) result = erCancelled;
}

void TRecordDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Record dialogs stand in the centre of the screen, not of their owner.
    CentreOnScreen(*this, event);
}

Qt::KeyboardModifiers TRecordDialog::HeldModifiers(Qt::KeyboardModifiers shift)
{
    return shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

bool TRecordDialog::PreviewKey(QWidget& window, QObject* watched, QEvent* event,
                               const std::function<bool(const QKeyEvent&)>& handle)
{
    if (event->type() != QEvent::KeyPress || !window.isVisible()) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || (w != &window && !window.isAncestorOf(w))) return false;
    const auto* ke = static_cast<const QKeyEvent*>(event);
    bool consumed = false;
    Guarded([&] { consumed = handle(*ke); });
    return consumed;
}

void TRecordDialog::done(int result)
{
    FormClose(result);
    QDialog::done(result);
}

void TRecordDialog::reject()
{
    // Esc and the close box both end here.
    Button2Click();
}

bool TRecordDialog::eventFilter(QObject* watched, QEvent* event)
{
    return PreviewKey(*this, watched, event, [this](const QKeyEvent& ke) {
        return FormKeyDown(ke.key(), ke.modifiers()) || FormKeyPress(ke.key());
    });
}
