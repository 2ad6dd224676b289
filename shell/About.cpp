// The about box: the program's title and version, the share of free memory, a web and a mail link.
#include "About.h"

#include "DrawnIcon.h"
#include "Dialogs.h"
#include "Env.h"
#include "Exceptions.h"
#include "Pictures.h"
#include "ScreenPlacement.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QUrl>

TfrmAbout* frmAbout = nullptr;

const QString TfrmAbout::WebAddress = QStringLiteral("https://kestrova.example/");
const QString TfrmAbout::SupportAddress = QStringLiteral("support@kestrova.example");

namespace {

// The banner: the program's name over a band of bars on a blue ground.
QPixmap Banner(const QSize& size)
{
    QPixmap banner(size);
    QPainter p(&banner);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, size.width(), size.height());
    ground.setColorAt(0, QColor(40, 80, 140));
    ground.setColorAt(1, QColor(120, 170, 225));
    p.fillRect(banner.rect(), ground);
    p.setPen(Qt::NoPen);
    const int bars[] = {30, 55, 42, 70, 88, 64, 96, 78, 110};
    for (int i = 0; i < 9; ++i) {
        p.setBrush(QColor(255, 255, 255, 60 + 15 * i));
        p.drawRect(QRectF(size.width() - 200 + 20 * i, size.height() - 10 - bars[i], 14, bars[i]));
    }
    QFont title(QStringLiteral("Arial Narrow"));
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(18, 0, size.width() - 36, size.height()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Кестрова"));
    return banner;
}

QIcon MailIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 0.8));
        p.setBrush(QColor(255, 250, 225));
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9));
        p.drawLine(QPointF(14.5, 3.5), QPointF(8, 9));
    });
}

QFrame* Line(QWidget* parent, QFrame::Shape shape, const QRect& r)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(r);
    return line;
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* owner) : QDialog(owner)
{
    frmAbout = this;
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(426, 277);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    setFont(font);

    auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    auto* panel = named(new QFrame(this), "Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(7, 7, 411, 133);
    Image1 = named(new QLabel(panel), "Image1");
    Image1->setGeometry(panel->contentsRect());
    Image1->setScaledContents(true);
    Image1->setPixmap(Banner(Image1->size()));

    Image2 = named(new QLabel(this), "Image2");
    Image2->setGeometry(14, 152, 32, 32);
    const QIcon icon = owner ? owner->windowIcon() : QIcon();
    Image2->setPixmap(icon.pixmap(32, 32));
    Line(this, QFrame::HLine, QRect(10, 190, 160, 2));
    Label2 = named(new QLabel(QStringLiteral("Кестрова"), this), "Label2");
    QFont title(QStringLiteral("Arial Narrow"));
    title.setPixelSize(27);
    title.setBold(true);
    Label2->setFont(title);
    Label2->setGeometry(12, 196, 160, 34);
    Line(this, QFrame::VLine, QRect(178, 148, 2, 84));

    Label3 = named(new QLabel(QStringLiteral("Версия 1.0 (Build 1.3.0) Beta"), this), "Label3");
    Label3->setGeometry(190, 152, 228, 20);
    Label6 = named(new QLabel(WebAddress, this), "Label6");
    Label6->setGeometry(190, 200, 200, 20);
    QPalette link = Label6->palette();
    link.setColor(QPalette::WindowText, ColorToQColor(10841658));
    Label6->setPalette(link);
    Label6->setToolTip(QStringLiteral("Открыть интернет страницу разработчика"));
    Label6->installEventFilter(this);
    Image3 = named(new QLabel(this), "Image3");
    Image3->setGeometry(396, 202, 16, 16);
    Image3->setPixmap(MailIcon().pixmap(16, 16));
    Image3->setCursor(Qt::PointingHandCursor);
    Image3->setToolTip(QStringLiteral("Отправить письмо в службу технической поддержки"));
    Image3->installEventFilter(this);

    Line(this, QFrame::HLine, QRect(7, 236, 411, 2));
    Label9 = named(new QLabel(QStringLiteral("Свободной памяти:"), this), "Label9");
    Label9->setGeometry(12, 248, Label9->sizeHint().width(), 20);
    Label8 = named(new QLabel(this), "Label8");
    Label8->setGeometry(Label9->geometry().right() + 6, 248, 80, 20);
    Button1 = named(new QPushButton(QStringLiteral("OK"), this), "Button1");
    Button1->setGeometry(343, 245, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });

    FormCreate();
}

TfrmAbout::~TfrmAbout()
{
    if (frmAbout == this) frmAbout = nullptr;
}

QString TfrmAbout::FreeMemoryText(int loadPercent)
{
    return QStringLiteral("%1 %").arg(100 - loadPercent);
}

QString TfrmAbout::MailLink()
{
    // Subject and body encoded for the link; the body ends with a carriage return.
    return QStringLiteral("mailto:") + SupportAddress + QStringLiteral("?subject=") +
           QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("Тех. поддержка"))) + QStringLiteral("&body=") +
           QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("Пользователь программы: Кестрова"))) +
           QStringLiteral("%0d");
}

void TfrmAbout::FormCreate()
{
    const quint64 total = Env::TotalMemory();
    if (total == 0) {
        Label8->setText(QStringLiteral("н.д."));
        return;
    }
    const quint64 free = qMin(Env::FreeMemory(), total);
    Label8->setText(FreeMemoryText(int((total - free) * 100 / total)));
}

void TfrmAbout::Button1Click()
{
    accept();
}

void TfrmAbout::Label6MouseEnter()
{
    QFont f = Label6->font();
    f.setUnderline(true);
    Label6->setFont(f);
    Label6->setCursor(Qt::PointingHandCursor);
}

void TfrmAbout::Label6MouseLeave()
{
    QFont f = Label6->font();
    f.setUnderline(false);
    f.setBold(false);
    f.setItalic(false);
    f.setStrikeOut(false);
    Label6->setFont(f);
    Label6->unsetCursor();
}

void TfrmAbout::Label6Click()
{
    // Whether a browser started is not reported.
    Env::OpenWithDesktop(WebAddress);
}

void TfrmAbout::Image3Click()
{
    if (!Env::OpenWithDesktop(MailLink())) Dialogs::Warning(QStringLiteral("Возникла ошибка при отправке сообщения."));
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred on the desktop, not over the main window.
    CentreOnScreen(*this, event);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == Label6) {
        if (type == QEvent::Enter) Guarded([this] { Label6MouseEnter(); });
        else if (type == QEvent::Leave) Guarded([this] { Label6MouseLeave(); });
        else if (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            Guarded([this] { Label6Click(); });
    } else if (watched == Image3 && type == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Guarded([this] { Image3Click(); });
    }
    return QDialog::eventFilter(watched, event);
}
