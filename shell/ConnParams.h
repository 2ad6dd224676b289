// The settings dialog: every setting of tvk.ini on six pages; OK stores them all at once.
#pragma once

#include <QDialog>

#include <functional>

class ColorBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class SpinEdit;
class TAppConfig;

class TfrmConnect : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConnect(QWidget* owner = nullptr);
    ~TfrmConnect() override;

    QTabWidget* PageControl1 = nullptr;
    QPushButton* Button1 = nullptr;  // OK
    QPushButton* Button2 = nullptr;  // Отмена

    // "Таблицы"
    SpinEdit* SpinEdit2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    SpinEdit* SpinEdit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    // "Константы"
    QComboBox* ComboBox3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    SpinEdit* SpinEdit10 = nullptr;
    QLineEdit* Edit3 = nullptr;
    // "Цвета": ColorBox1..ColorBox11 at indexes 0..10
    ColorBox* ColorBoxes[11] = {};
    QCheckBox* CheckBox7 = nullptr;
    QPushButton* Button4 = nullptr;
    // "Печать"
    SpinEdit* SpinEdit3 = nullptr;
    SpinEdit* SpinEdit4 = nullptr;
    SpinEdit* SpinEdit5 = nullptr;
    SpinEdit* SpinEdit6 = nullptr;
    QCheckBox* CheckBox9 = nullptr;
    QLabel* Label28 = nullptr;
    SpinEdit* SpinEdit8 = nullptr;
    QLabel* Label27 = nullptr;
    SpinEdit* SpinEdit7 = nullptr;
    SpinEdit* SpinEdit9 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QCheckBox* CheckBox10 = nullptr;
    QCheckBox* CheckBox11 = nullptr;
    QCheckBox* CheckBox13 = nullptr;
    QCheckBox* CheckBox12 = nullptr;
    // "Подключение"
    QLineEdit* Edit1 = nullptr;
    QToolButton* SpeedButton4 = nullptr;  // chooses the database folder
    QLineEdit* Edit4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    // "Сохранение"
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox5 = nullptr;

    // Run by OK before a new database folder is stored; false keeps the dialog open and
    // stores nothing (the caller has said why).
    std::function<bool()> DatabaseChanging;

    void FormCreate();
    void Button1Click();
    void Button2Click();
    void Button4Click();
    void CheckBox9Click();
    // True when it handled the key (Ctrl+End: OK).
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);
    void SpeedButton4Click();
    void SpeedButton5Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildPages();
    void ShowConfig(const TAppConfig& c);
    // The controls' values over c; false, with the warning shown, when one cannot be taken.
    bool TakeConfig(TAppConfig& c, QString& delimiterText);
};

// The dialog while it is open.
extern TfrmConnect* frmConnect;
