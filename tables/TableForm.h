// The table-window family: one MDI child design (title strip, grid, button bar, search box,
// pop-up menu) with its loading, saving, painting, column widths, search, copy, export and
// print commands. Each member gives its parameter table and the hooks for its record list.
#pragma once

#include "DataFiles.h"
#include "DocumentWindow.h"
#include "RecordDialog.h"
#include "StringGrid.h"
#include "TableGrid.h"

#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QToolButton;
class QWidget;

// What the members of the family differ in.
struct TTableParams {
    QString Caption;                  // window caption
    QString Title;                    // title strip, also the printed title
    QString FileName;                 // data file in the database directory
    QStringList Headings;             // row 0; their count is the column count
    QList<double> ProvisionalFactors; // widths before tvk.ini is read
    QList<double> DefaultFactors;     // defaults of the tvk.ini keys
    QString Section;                  // tvk.ini section of the column widths
    int Kind = wkNone;                // window-kind code written on activation
};

class TTableForm : public TDocumentWindow {
    Q_OBJECT
public:
    TTableForm(const TTableParams& params, QWidget* owner);
    ~TTableForm() override;

    const TTableParams& Params() const { return params_; }
    int WindowKind() const override { return params_.Kind; }

    // Controls, named as their objectName.
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QWidget* Panel4 = nullptr;
    QWidget* Panel5 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QFrame* Bevel1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    // The bottom strip's notice that the window is read-only until F5 reads its file whole.
    QLabel* StaticText3 = nullptr;
    StringGrid* StringGrid1 = nullptr;
    TMeasureBox* Memo1 = nullptr;
    QMenu* PopupMenu4 = nullptr;
    QAction* MenuItem5 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QAction* MenuItem6 = nullptr;

    // Grid row at which the next search starts, and whether it starts again at row 1.
    int SearchStartRow = 0;
    bool SearchRestart = true;

    // False while the data file could not be read whole (or the delimiter is unusable):
    // the file is then never written and adding, changing and deleting are off until F5.
    bool LoadedWhole() const { return loadedWhole_; }

    // Loading, filling and saving. The window writes only the file its last load read.
    void PreFillRec();
    void FillRec();
    // True when the file was written (or nothing needed writing); a failure keeps Modified.
    bool SaveRecs();
    // F5: a change not yet saved is saved first, as closing does; while that fails, nothing is read.
    void Reload();

    // Grid set-up and column widths.
    void SetGridParams();
    void ReadUserSettings();
    void SaveUserSettings();
    void GridResize();
    void StringGrid1DrawCell(QPainter& painter, int ACol, int ARow, const QRect& Rect, StringGrid::CellState State);
    void DrawHeaderCell(QPainter& painter, int ACol, int ARow, const QRect& Rect);
    void DrawDataCell(QPainter& painter, int ACol, int ARow, const QRect& Rect, int Mode);

    void ActivateMenu();
    void DeActivateMenu();
    // The keyboard focus to the grid, whose keys are Enter, Ins and Ctrl+Del.
    void FocusGrid();

    // TDocumentWindow.
    void Load() override { PreFillRec(); }
    void FormActivate() override;
    void FormDeactivate() override;
    bool FormClose() override;
    bool ReadsAfresh() const override { return true; }
    bool SaveHeld() override;
    void ReadAfresh() override;
    void PrintPreview() override;
    void Print(int copies) override;
    void PrintEx() override;
    void CopyToClipBrd() override;
    void SaveToFile() override;

    // The clipboard (quoted) or export lines of the grid as shown.
    QStringList GridLines(bool quoteFirstColumn) const;

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void SpeedButton2Click();
    void FormResize();

protected:
    // Run by each member's constructor once its hooks can be called.
    void FormCreate();

    // Hooks of the members.
    // A new empty list (owned by the window) in place of the old one.
    virtual void NewList() = 0;
    // The list's Count, placeholder included.
    virtual int RecordCount() const = 0;
    // Cells 1 .. of grid row index (column 0 is the row number).
    virtual QStringList RecordCells(int index) const = 0;
    virtual bool ListModified() const = 0;
    virtual void SetListModified(bool value) = 0;
    // Appends the placeholder record 0.
    virtual void AddPlaceholder() = 0;
    virtual DataFiles::LoadResult LoadRecords(const QString& path) = 0;
    virtual void SaveRecords(const QString& path) = 0;
    // The record dialog for a new record: on erChanged the record is appended with MaxID + 1;
    // true then.
    virtual bool AddRecord() = 0;
    // The record dialog for record index: on erChanged its texts are stored; true then.
    virtual bool ChangeRecord(int index) = 0;
    virtual void DeleteRecord(int index) = 0;
    // The last column GridResize compares (all but the last by default).
    virtual int LastCandidateColumn() const { return StringGrid1->ColCount() - 2; }

    // Shift+F9 and F5; Enter, Ins, Ctrl+Del in the grid; the search box's keys.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);
    bool StringGrid1KeyPress(int key, Qt::KeyboardModifiers shift);
    bool Edit1KeyDown(int key);
    bool Edit1KeyPress(int key, const QString& text);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void SetEditControls(bool hasRecords);
    int BuildPrintJob(int mode);

    TTableParams params_;
    QString path_;  // the data file the last load read
    bool loadedWhole_ = true;
    const QEvent* previewEvent_ = nullptr;
    QPointer<QWidget> previewTarget_;
};

// A member whose records are one record list (item 0 the placeholder) read and written by one
// reader and writer of DataFiles: the list hooks, shared by every such member.
template <class List>
class TTableListForm : public TTableForm {
public:
    using Loader = DataFiles::LoadResult (*)(const QString& path, List& list);
    using Writer = void (*)(const QString& path, const List& list);
    TTableListForm(const TTableParams& params, QWidget* owner, Loader load, Writer save)
        : TTableForm(params, owner), load_(load), save_(save) {}

protected:
    // The list, owned by the window; each member names it after its records.
    List* Records = nullptr;

    // Appends a record with the given ID, which becomes MaxID; returns it for filling.
    auto& AppendRecord(int id)
    {
        Records->SetMaxID(id);
        Records->Add();
        auto& r = Records->Items(Records->Count() - 1);
        r.ID = id;
        return r;
    }

    void NewList() override
    {
        delete Records;
        Records = new List(this);
        Records->SetMaxID(0);
        Records->SetModified(false);
    }
    int RecordCount() const override { return Records->Count(); }
    bool ListModified() const override { return Records->Modified; }
    void SetListModified(bool value) override { Records->SetModified(value); }
    void AddPlaceholder() override { Records->Add(); }
    DataFiles::LoadResult LoadRecords(const QString& path) override { return load_(path, *Records); }
    void SaveRecords(const QString& path) override { save_(path, *Records); }
    void DeleteRecord(int index) override { Records->Delete(index); }

private:
    Loader load_;
    Writer save_;
};

// A member whose record dialog follows the plain protocol (Edit1 the name, SetRecord, GetRecord):
// the add and change commands, the same for every such member.
template <class List, class Dialog>
class TTableDialogForm : public TTableListForm<List> {
public:
    using TTableListForm<List>::TTableListForm;

protected:
    using Record = std::remove_reference_t<decltype(std::declval<List&>().Items(0))>;

    // The dialog as the member shows it, before its controls are filled (adding or changing).
    virtual void PrepareDialog(Dialog& dialog, bool adding) { Q_UNUSED(dialog); Q_UNUSED(adding); }
    // The ID of a record being added.
    virtual int NewRecordID() { return this->Records->MaxID + 1; }
    // After a change dialog that gave no erChanged: true when the member still changed r
    // (something the dialog did meanwhile must be kept), so it is saved as after any change.
    virtual bool KeptAfterCancel(Dialog& dialog, Record& r)
    {
        Q_UNUSED(dialog);
        Q_UNUSED(r);
        return false;
    }

    bool AddRecord() override
    {
        std::unique_ptr<Dialog> dialog(new Dialog(this));
        PrepareDialog(*dialog, true);
        dialog->Edit1->setText(QStringLiteral("Новая запись"));
        dialog->FillRec(true);
        if (dialog->Execute() != erChanged) return false;
        dialog->GetRecord(this->AppendRecord(NewRecordID()));
        return true;
    }
    bool ChangeRecord(int index) override
    {
        std::unique_ptr<Dialog> dialog(new Dialog(this));
        PrepareDialog(*dialog, false);
        auto& r = this->Records->Items(index);
        dialog->SetRecord(r);
        dialog->FillRec(false);
        if (dialog->Execute() != erChanged) return KeptAfterCancel(*dialog, r);
        dialog->GetRecord(r);
        return true;
    }
};
