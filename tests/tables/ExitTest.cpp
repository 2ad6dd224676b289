// Leaving the program with a table window open: its close step runs first, so column widths are
// kept and a change whose save failed is saved, or the program stays open to keep it.
#include "TablesFixture.h"

#include "ProfileFile.h"

#include <QDir>
#include <QMdiArea>

namespace {

class ExitTest : public TablesFixture {
protected:
    // The two ways out: the menu's "Выход" and closing the main window.
    void Leave(bool byMenu)
    {
        if (byMenu) main_->N8Click();
        else main_->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void TearDown() override
    {
        main_.reset();
        TablesFixture::TearDown();
    }
};

TEST_F(ExitTest, ColumnWidthsAreSavedWithAutoSaveOn)
{
    for (bool byMenu : {true, false}) {
        TfrmTableForm* w = OpenOne({u"[options]"_s, u"autosave=1"_s});
        w->StringGrid1->SetColWidth(7, 150 + byMenu);
        Leave(byMenu);
        EXPECT_EQ(TIniFile(appDir_ + u"tvk.ini"_s).ReadInteger(u"sg1"_s, u"cw7"_s, -1), 150 + byMenu) << byMenu;
        EXPECT_EQ(CountLog(u"Выход из программы"_s), 1);
        main_.reset();
        QFile::remove(appDir_ + u"tvk.log"_s);
    }
}

TEST_F(ExitTest, AFailedSaveIsTriedAgainAndWhileItFailsTheProgramStays)
{
    for (bool byMenu : {true, false}) {
        WriteRegions({u"1;Алтай;;;;;;"_s});
        TfrmTableForm* w = Open();
        const QString moved = BlockDatabase();
        ASSERT_FALSE(moved.isEmpty());
        Change(w, [](TfrmEditForm& d) { d.Edit1->setText(u"Горный Алтай"_s); Ok(d); });
        ASSERT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);

        // Leaving tries the save again; it fails, the user is told, and nothing is lost.
        Leave(byMenu);
        EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
        ASSERT_EQ(main_->MdiArea->subWindowList().size(), 1);
        EXPECT_TRUE(w->RegionList->Modified);
        EXPECT_EQ(CountLog(u"Выход из программы"_s), 0);

        // Once it can, leaving saves the change, then the program ends.
        ASSERT_TRUE(UnblockDatabase(moved));
        Leave(byMenu);
        EXPECT_TRUE(main_->MdiArea->subWindowList().isEmpty());
        EXPECT_EQ(ReadRegions(), QStringList{u"1;Горный Алтай;;;;;;"_s}) << byMenu;
        EXPECT_EQ(CountLog(u"Выход из программы"_s), 1);
        main_.reset();
        QFile::remove(appDir_ + u"tvk.log"_s);
        QFile::remove(appDir_ + u"tvk.ini"_s);
        dialogs_->Messages.clear();
    }
}

}  // namespace
