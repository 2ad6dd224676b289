// The map picture both picture windows are built around.
#include "MapPicture.h"

#include "AppConfig.h"
#include "Pictures.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

TMapImage::TMapImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMapImage::PictureChanged()
{
    resize(Picture.size());
    update();
}

void TMapImage::paintEvent(QPaintEvent* event)
{
    if (Picture.isNull()) return;
    QPainter p(this);
    const QRect r = event->rect() & Picture.rect();
    p.drawImage(r.topLeft(), Picture, r);
}

TMapPictureWindow::TMapPictureWindow(QWidget* owner) : TDocumentWindow(owner)
{
    resize(1123, 650);
    Column = new QVBoxLayout(this);
    Column->setContentsMargins(0, 0, 0, 0);
    Column->setSpacing(0);
}

void TMapPictureWindow::FormDeactivate()
{
    DeActivateMenu();
}

void TMapPictureWindow::DeActivateMenu()
{
    if (TDocumentHost* host = Host()) host->DeActivateMenu();
}

QScrollArea* TMapPictureWindow::BuildPicture(QWidget* parent)
{
    ScrollBox2 = new QScrollArea(parent);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setBackgroundRole(QPalette::Base);
    ScrollBox2->setWidgetResizable(false);
    Panel20 = new QWidget;
    Panel20->setObjectName(QStringLiteral("Panel20"));
    Image1 = new TMapImage(Panel20);
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox2->setWidget(Panel20);
    return ScrollBox2;
}

QHBoxLayout* TMapPictureWindow::BuildBottomBar(const QString& caption)
{
    auto* bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("Panel1"));
    auto* bar = new QHBoxLayout(bottom);
    bar->setContentsMargins(4, 2, 4, 2);
    SpeedButton1 = new QToolButton(bottom);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(caption);
    SpeedButton1->setToolTip(QStringLiteral("Задать условия отбора"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ComboBox1 = new QComboBox(bottom);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMaxVisibleItems(14);
    ComboBox1->setMinimumContentsLength(40);
    bar->addWidget(SpeedButton1);
    bar->addWidget(ComboBox1);
    return bar;
}

void TMapPictureWindow::LoadPicture()
{
    Image1->Picture = QImage();
    Panel20->resize(ScrollBox2->viewport()->width() - 1, ScrollBox2->viewport()->height() - 1);
    QImage picture = Pictures::LoadFromFile(EnsureAppConfig().MapFile);
    if (picture.format() != QImage::Format_RGB32) picture = picture.convertToFormat(QImage::Format_RGB32);
    Image1->Picture = picture;
    Image1->PictureChanged();
}
