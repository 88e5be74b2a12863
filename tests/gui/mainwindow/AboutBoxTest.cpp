// The about box: its texts and their overrides from the settings, the links
// handed to the desktop (caught by the fake opener), the author line copied
// to the clipboard, the hover feedback.
#include "core/app/TextCatalog.h"
#include "gui/mainwindow/frmInfo.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/shell/FakeDesktopOpener.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        QCoreApplication::setApplicationVersion("3.2.15");
        auto fake = std::make_unique<FakeDesktopOpener>();
        opener = fake.get();
        previousOpener = SetDesktopOpener(std::move(fake));
    }
    void TearDown() override {
        delete frmInfo::Instance();
        SetDesktopOpener(std::move(previousOpener));
        SetSettingsStore(nullptr);
    }

    MemorySettingsStore* store = nullptr;
    FakeDesktopOpener* opener = nullptr;
    std::unique_ptr<DesktopOpener> previousOpener;
};

} // namespace

TEST_F(AboutBoxTest, ShowsItsTextsAndHandsTheLinksToTheDesktop) {
    frmInfo* box = frmInfo::PokazMnie();
    EXPECT_EQ(box->windowTitle(), "MP3 Dravon 3.2.15" + GetText(102));
    const QStringList texts{box->lblLink->text(),   box->lblLink2->text(),   box->Label5[0]->text(),
                            box->Label5[1]->text(), box->Label7[0]->text(),  box->Label7[1]->text(),
                            box->lblLink->toolTip(), box->lblLink2->toolTip(), box->Label5[1]->toolTip()};
    EXPECT_EQ(texts, (QStringList{GetText(103), GetText(111), GetText(112), GetText(109), GetText(3047),
                                  GetText(3048), GetText(3057), GetText(3057), GetText(3058)}));
    EXPECT_FALSE(GetText(3047).isEmpty() || GetText(3058).isEmpty());

    QTest::mouseClick(box->lblLink, Qt::LeftButton);
    QTest::mouseClick(box->lblLink2, Qt::LeftButton);
    QTest::mouseClick(box->Label5[1], Qt::LeftButton);
    EXPECT_EQ(opener->opened, (QStringList{"https://kelbrin.example.org/en/",
                                           "https://kelbrin.example.org/en/help/",
                                           "mailto:kelbrin@example.org?subject=MP3%20Dravon%20"}));
    // Hovering a link shows it in blue with the question-mark arrow; over the
    // author line the e-mail link gets that arrow.
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(box->lblLink2, &enter);
    EXPECT_EQ(box->lblLink2->cursor().shape(), Qt::WhatsThisCursor);
    QCoreApplication::sendEvent(box->Label5[0], &enter);
    EXPECT_EQ(box->Label5[1]->cursor().shape(), Qt::WhatsThisCursor);

    // A second opening brings up the same box.
    EXPECT_EQ(frmInfo::PokazMnie(), box);
}

TEST_F(AboutBoxTest, TheSettingsReplaceTheHomePageAndTheAddress) {
    store->values["HomePage"] = "https://mirror.example.net/k/";
    store->values["Email2"] = "help@example.net";
    frmInfo* box = frmInfo::PokazMnie();
    EXPECT_EQ(box->lblLink->text(), "https://mirror.example.net/k/");
    EXPECT_EQ(box->Label5[1]->text(), "help@example.net");
    QTest::mouseClick(box->lblLink, Qt::LeftButton);
    QTest::mouseClick(box->Label5[1], Qt::LeftButton);
    EXPECT_EQ(opener->opened, (QStringList{"https://mirror.example.net/k/",
                                           "mailto:help@example.net?subject=MP3%20Dravon%20"}));
}

TEST_F(AboutBoxTest, TheAuthorLineIsCopiedOnceHoweverOftenItIsClicked) {
    frmInfo* box = frmInfo::PokazMnie();
    QGuiApplication::clipboard()->setText("something else");
    QTest::mouseClick(box->Label5[0], Qt::LeftButton);
    QTest::mouseClick(box->Label5[0], Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), GetText(112));
    EXPECT_TRUE(opener->opened.isEmpty());
}
