// The about box: its texts, the free-memory figure, and the two links handed to the desktop.
#include "About.h"

#include "DatabaseFixture.h"
#include "MainForm.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

// Takes the URLs the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& url) { Urls << url; }
};

namespace {

class AboutTest : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        for (const char* scheme : {"https", "mailto"}) QDesktopServices::setUrlHandler(QLatin1String(scheme), &catcher_, "Open");
    }
    void TearDown() override
    {
        for (const char* scheme : {"https", "mailto"}) QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
        DatabaseFixture::TearDown();
    }
    static void Click(QWidget* w)
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
    UrlCatcher catcher_;
};

TEST_F(AboutTest, TextsAndTheFreeMemoryFigure)
{
    TfrmAbout box;
    EXPECT_EQ(box.objectName(), u"frmAbout"_s);
    EXPECT_EQ(box.windowTitle(), u"О программе..."_s);
    EXPECT_EQ(box.size(), QSize(426, 277));
    EXPECT_EQ((QStringList{box.Label2->text(), box.Label3->text(), box.Label9->text(), box.Button1->text()}),
              (QStringList{u"Кестрова"_s, u"Версия 1.0 (Build 1.3.0) Beta"_s, u"Свободной памяти:"_s, u"OK"_s}));
    EXPECT_EQ(box.Label6->text(), TfrmAbout::WebAddress);
    EXPECT_EQ(box.Label6->palette().color(QPalette::WindowText), QColor(58, 110, 165));
    EXPECT_EQ(box.Label2->font().pixelSize(), 27);
    EXPECT_TRUE(box.Label2->font().bold());
    EXPECT_FALSE(box.Image1->pixmap().isNull());
    EXPECT_EQ(TfrmAbout::FreeMemoryText(63), u"37 %"_s);
    EXPECT_EQ(TfrmAbout::FreeMemoryText(0), u"100 %"_s);
    EXPECT_TRUE(QRegularExpression(u"^\\d{1,3} %$"_s).match(box.Label8->text()).hasMatch()) << box.Label8->text().toStdString();

    // The link underlines while the mouse is over it.
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(box.Label6, &enter);
    EXPECT_TRUE(box.Label6->font().underline());
    EXPECT_EQ(box.Label6->cursor().shape(), Qt::PointingHandCursor);
    QApplication::sendEvent(box.Label6, &leave);
    EXPECT_FALSE(box.Label6->font().underline());
    EXPECT_EQ(box.Label6->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(AboutTest, LinksGoToTheDesktop)
{
    TfrmAbout box;
    Click(box.Label6);
    Click(box.Image3);
    ASSERT_EQ(catcher_.Urls.size(), 2);
    EXPECT_EQ(catcher_.Urls[0], QUrl(TfrmAbout::WebAddress));
    const QUrl mail = catcher_.Urls[1];
    EXPECT_EQ(mail.scheme(), u"mailto"_s);
    EXPECT_EQ(mail.path(), TfrmAbout::SupportAddress);
    const QUrlQuery query(mail);
    EXPECT_EQ(query.queryItemValue(u"subject"_s, QUrl::FullyDecoded), u"Тех. поддержка"_s);
    EXPECT_EQ(query.queryItemValue(u"body"_s, QUrl::FullyDecoded), u"Пользователь программы: Кестрова\r"_s);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(AboutTest, TheMenuShowsItModallyAndLogsNothing)
{
    WriteIni({u"mapfile="_s + db_});
    TfrmMainForm main(appDir_);
    // The main window off the screen's centre: the box stands centred on the desktop all the same.
    const QRect screen = TestSupport::ShowOffCentre(main);
    ASSERT_NE(main.frameGeometry().center(), screen.center());
    QApplication::processEvents();  // the main window's activation is logged
    dialogs_->Messages.clear();
    const int lines = int(LogLines().size());
    bool seen = false;
    QPoint centre;
    QTimer::singleShot(0, [&] {
        seen = frmAbout && frmAbout->isModal() && frmAbout->isVisible() && frmAbout->parentWidget() == &main;
        if (frmAbout) centre = frmAbout->frameGeometry().center();
        if (frmAbout) frmAbout->Button1->click();
    });
    main.N22Click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(centre, screen.center());
    EXPECT_EQ(frmAbout, nullptr);
    EXPECT_EQ(int(LogLines().size()), lines);
}


TEST_F(AboutTest, AMailLinkTheDesktopCannotOpenIsWarnedAndTheBoxStays)
{
    // With no mail handler the platform cannot open the link.
    QDesktopServices::unsetUrlHandler(u"mailto"_s);
    TfrmAbout box;
    box.show();
    Click(box.Image3);
    EXPECT_EQ(dialogs_->Texts(), QStringList{u"Возникла ошибка при отправке сообщения."_s});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
    EXPECT_TRUE(box.isVisible());
    // The web link fails without a message.
    QDesktopServices::unsetUrlHandler(u"https"_s);
    dialogs_->Messages.clear();
    Click(box.Label6);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

}  // namespace

#include "AboutTest.moc"
