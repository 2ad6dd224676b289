// The linking window: ties regions and federal districts to the map picture by link points.
#include "LinkToMap.h"

#include "AppConfig.h"
#include "DataFiles.h"
#include "Dialogs.h"
#include "DragScroll.h"
#include "Exceptions.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TfrmGraphForm1* frmGraphForm1 = nullptr;

namespace {

constexpr TColor clWhite = 0xFFFFFF;

QToolButton* ToolButton(QToolBar* bar, const char* name, const QString& caption, const QString& hint)
{
    auto* b = new QToolButton(bar);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setMinimumSize(90, 25);
    bar->addWidget(b);
    return b;
}

}  // namespace

TfrmGraphForm1::TfrmGraphForm1(QWidget* owner) : TMapPictureWindow(owner)
{
    frmGraphForm1 = this;
    setObjectName(QStringLiteral("frmGraphForm1"));
    setWindowTitle(QStringLiteral("Привязка объектов к карте"));

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setAutoFillBackground(true);
    ToolButton1 = ToolButton(ToolBar1, "ToolButton1", QStringLiteral("Регионы"), QStringLiteral("Выбор группы объектов"));
    PopupMenu2 = new QMenu(ToolButton1);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    est11 = PopupMenu2->addAction(QStringLiteral("Регионы"));
    est11->setObjectName(QStringLiteral("est11"));
    est21 = PopupMenu2->addAction(QStringLiteral("Федеральные округа"));
    est21->setObjectName(QStringLiteral("est21"));
    ToolButton1->setMenu(PopupMenu2);
    ToolButton1->setPopupMode(QToolButton::MenuButtonPopup);
    ToolButton2 = ToolButton(ToolBar1, "ToolButton2", QStringLiteral("Очистить точки"),
                             QStringLiteral("Очистить привязку для выбранного объекта"));
    ToolButton3 = ToolButton(ToolBar1, "ToolButton3", QStringLiteral("Сохранить"),
                             QStringLiteral("Сохранить привязку для выбранного объекта"));
    Column->addWidget(ToolBar1);

    Panel5 = new QWidget(this);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    auto* panel5 = new QVBoxLayout(Panel5);
    panel5->setContentsMargins(0, 0, 0, 0);
    BuildPicture(Panel5);
    Image1->setMouseTracking(true);
    ScrollBox2->viewport()->setMouseTracking(true);
    panel5->addWidget(ScrollBox2);
    Column->addWidget(Panel5, 1);

    QHBoxLayout* bar = BuildBottomBar(QStringLiteral("Цвет"));
    QWidget* bottom = bar->parentWidget();
    // A list of 14 rows rather than the style's popup of every place at once.
    ComboBox1->setStyleSheet(QStringLiteral("combobox-popup: 0;"));
    Label1 = new QLabel(QStringLiteral("X: 0"), bottom);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setEnabled(false);
    Label1->setMinimumWidth(60);
    Label2 = new QLabel(QStringLiteral("Y: 0"), bottom);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setEnabled(false);
    Label2->setMinimumWidth(60);
    bar->addWidget(Label1);
    bar->addWidget(Label2);
    bar->addStretch(1);
    Column->addWidget(bottom);

    connect(est11, &QAction::triggered, this, [this] { Guarded([this] { est11Click(); }); });
    connect(est21, &QAction::triggered, this, [this] { Guarded([this] { est21Click(); }); });
    connect(ToolButton1, &QToolButton::clicked, this, [this] { Guarded([this] { ToolButton1Click(); }); });
    connect(ToolButton2, &QToolButton::clicked, this, [this] { Guarded([this] { ToolButton2Click(); }); });
    connect(ToolButton3, &QToolButton::clicked, this, [this] { Guarded([this] { ToolButton3Click(); }); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton1Click(); }); });
    connect(ComboBox1, &QComboBox::activated, this, [this] { Guarded([this] { ComboBox1Change(); }); });

    Drag = TDragScroll::Install(this, ScrollBox2, Image1);
    Drag->OnMove = [this](QPoint at, bool) { Guarded([&] { Image1MouseMove(at); }); };
    // Any button drags; a left-button release links where it happens, dragged or not.
    Drag->OnRelease = [this](Qt::MouseButton button, QPoint at, bool) { Guarded([&] { Image1MouseUp(button, at); }); };

    FormCreate();
}

TfrmGraphForm1::~TfrmGraphForm1()
{
    if (frmGraphForm1 == this) frmGraphForm1 = nullptr;
}

void TfrmGraphForm1::FormCreate()
{
    Points = new TOCoordinates(this);
    LinkColor = 9564305;
    // Nothing may be linked or saved before the links file has been read.
    SetEditable(false);
}

void TfrmGraphForm1::Load()
{
    LoadMap();
    FillCapitals(0);
    FillCoordinates();
}

void TfrmGraphForm1::FormActivate()
{
    // The commands stay off; the codes are left at the register's, as the routing expects.
    if (TDocumentHost* host = Host()) {
        host->ActivateMenu(wkResearches);
        host->DeActivateMenu();
    }
    QPalette pal = ToolBar1->palette();
    pal.setColor(QPalette::Window, ColorToQColor(EnsureAppConfig().Bgc5));
    ToolBar1->setPalette(pal);
}

bool TfrmGraphForm1::FormClose()
{
    DeActivateMenu();
    if (!Points->Modified || !editable_) return true;
    switch (Dialogs::Ask(QStringLiteral("Сохранить изменения привязки?"))) {
    case Dialogs::Answer::Yes: return ToolButton3Click();
    case Dialogs::Answer::No: return true;
    case Dialogs::Answer::Cancel: break;
    }
    return false;
}

void TfrmGraphForm1::LoadMap()
{
    LoadPicture();
    areas_ = TConfinedFill(std::make_shared<const TWhiteAreas>(Image1->Picture));
    Drag->ScrollBox2Resize();
}

void TfrmGraphForm1::FillCapitals(int Level)
{
    ClearMap();
    ComboBox1->clear();
    Codes.clear();
    CurrentLevel = Level;
    const QString path = DataFiles::PathOf(Level != 0 ? DataFiles::FederalPartsFile : DataFiles::RegionsFile);
    TORegions places;
    const DataFiles::LoadResult result =
        Level != 0 ? DataFiles::LoadFederalParts(path, places) : DataFiles::LoadRegions(path, places);
    // A place whose ID does not convert is listed with ID 0, as its line was reported already.
    for (int i = 0; i < places.Count(); ++i) {
        ComboBox1->addItem(places.Items(i).Name);
        Codes.push_back(places.Items(i).ID);
    }
    ComboBox1->setCurrentIndex(-1);
    if (!result.Complete) Dialogs::Warning(result.Error);
}

void TfrmGraphForm1::FillCoordinates()
{
    // A links file that was not read whole is never written back.
    SetEditable(false);
    if (!DataFiles::DelimiterUsable()) return;
    links_ = DataFiles::LinksLayout();
    links_.Origin = QList<int>(Points->Count(), DataFiles::LinksLayout::NewPoint);
    const DataFiles::LoadResult result =
        DataFiles::LoadLinks(DataFiles::PathOf(DataFiles::LinksToMapFile), *Points, links_);
    Points->Modified = false;
    SetEditable(result.Complete);
}

void TfrmGraphForm1::SetEditable(bool editable)
{
    editable_ = editable;
    ToolButton2->setEnabled(editable);
    ToolButton3->setEnabled(editable);
}

bool TfrmGraphForm1::SelectedCode(int& code) const
{
    const int i = ComboBox1->currentIndex();
    if (i < 0 || size_t(i) >= Codes.size()) return false;
    code = Codes[size_t(i)];
    return true;
}

void TfrmGraphForm1::ClearMap()
{
    QImage& pic = Image1->Picture;
    for (int i = 0; i < Points->Count(); ++i) {
        const OCoordinates::TUnits& p = Points->Items(i);
        // A seed on a border would whiten the border and merge the areas around it.
        if (p.Level != CurrentLevel || !areas_.Usable(p.X, p.Y)) continue;
        if (Pictures::PixelColor(pic, p.X, p.Y) != clWhite) areas_.Fill(pic, p.X, p.Y, clWhite);
    }
    Image1->update();
}

void TfrmGraphForm1::FillSelected()
{
    int code = 0;
    if (!SelectedCode(code)) return;
    QImage& pic = Image1->Picture;
    for (int i = 0; i < Points->Count(); ++i) {
        const OCoordinates::TUnits& p = Points->Items(i);
        if (p.Level != CurrentLevel || p.PlaceID != code) continue;
        if (Pictures::PixelColor(pic, p.X, p.Y) == clWhite) areas_.Fill(pic, p.X, p.Y, LinkColor);
    }
    Image1->update();
}

void TfrmGraphForm1::ChooseLevel(QAction* item, int Level)
{
    ToolButton1->setDown(false);
    ToolButton1->setText(item->text());
    FillCapitals(Level);
}

void TfrmGraphForm1::est11Click()
{
    ChooseLevel(est11, 0);
}

void TfrmGraphForm1::est21Click()
{
    ChooseLevel(est21, 1);
}

void TfrmGraphForm1::ToolButton1Click()
{
    FillCapitals(CurrentLevel);
}

void TfrmGraphForm1::ComboBox1Change()
{
    ClearMap();
    FillSelected();
}

void TfrmGraphForm1::Image1MouseMove(QPoint At)
{
    Label1->setText(QStringLiteral("X: ") + QString::number(At.x()));
    Label2->setText(QStringLiteral("Y: ") + QString::number(At.y()));
}

void TfrmGraphForm1::Image1MouseUp(Qt::MouseButton Button, QPoint At)
{
    if (Button != Qt::LeftButton || !editable_) return;
    QImage& pic = Image1->Picture;
    const TColor here = Pictures::PixelColor(pic, At.x(), At.y());
    if (here == (LinkColor & 0xFFFFFF)) return;
    int code = 0;
    if (!SelectedCode(code)) return;
    // A border pixel of the map as loaded is no seed: clearing from it would whiten the border.
    if (!areas_.Usable(At.x(), At.y())) return;
    if (here == clWhite) areas_.Fill(pic, At.x(), At.y(), LinkColor);
    Points->Add();
    links_.Origin.append(DataFiles::LinksLayout::NewPoint);
    OCoordinates::TUnits& p = Points->Items(Points->Count() - 1);
    p.Level = CurrentLevel;
    p.PlaceID = code;
    p.X = At.x();
    p.Y = At.y();
    Points->Modified = true;
    Image1->update();
}

void TfrmGraphForm1::SpeedButton1Click()
{
    quint32 color = LinkColor;
    if (Dialogs::PickColor(color)) LinkColor = color & 0xFFFFFF;
}

void TfrmGraphForm1::ToolButton2Click()
{
    ClearMap();
    int code = 0;
    if (!editable_ || !SelectedCode(code)) return;
    for (int i = Points->Count() - 1; i >= 0; --i) {
        const OCoordinates::TUnits& p = Points->Items(i);
        if (p.Level != CurrentLevel || p.PlaceID != code) continue;
        Points->Delete(i);
        links_.Origin.removeAt(i);
        Points->Modified = true;
    }
}

bool TfrmGraphForm1::ToolButton3Click()
{
    if (!editable_ || !DataFiles::CheckDelimiter()) return false;
    try {
        DataFiles::SaveLinks(DataFiles::PathOf(DataFiles::LinksToMapFile), *Points, links_);
    } catch (const std::exception& e) {
        // The old file is intact and the points stay unsaved, so the next save tries again.
        DataFiles::ReportSaveError(ExceptionMessage(e));
        return false;
    }
    Points->Modified = false;
    return true;
}
