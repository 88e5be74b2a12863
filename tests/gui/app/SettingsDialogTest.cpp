#include "ModalDriver.h"
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/app/frmLang.h"
#include "gui/app/frmSettings.h"
#include "core/app/SoundCards.h"
#include "core/app/SettingsOptions.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/VirtualClock.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/ScrollBarArrows.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        store = test::FreshProgramState();
        Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        Program().settings.LanguageSections = {"ENGLISH", "POLSKI"};
        auto owned = std::make_unique<FakeMediaPlatform>(clock);
        media = owned.get();
        previousMedia = SetMediaPlatform(std::move(owned));
        auto scripted = std::make_unique<test::ScriptedMessages>();
        messages = scripted.get();
        previousMessages = SetMessageService(std::move(scripted));
    }
    void TearDown() override {
        if (dialog)
            delete dialog;
        SetMediaPlatform(std::move(previousMedia));
        SetMessageService(std::move(previousMessages));
        Catalog().setLanguage("ENGLISH");
    }
    frmSettings* open(std::shared_ptr<cPozycjeMP3> tracks = {}) {
        dialog = frmSettings::PokazMnie(Program(), nullptr, std::move(tracks));
        QCoreApplication::processEvents();
        return dialog;
    }
    void close() {
        dialog->close(); // saves; deleted later
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    VirtualClock clock;
    MemorySettingsStore* store = nullptr;
    FakeMediaPlatform* media = nullptr;
    test::ScriptedMessages* messages = nullptr;
    std::unique_ptr<MediaPlatform> previousMedia;
    std::unique_ptr<MessageService> previousMessages;
    QPointer<frmSettings> dialog;
};

TEST_F(SettingsDialog, ShowsTwoTranslatedPagesAndOnlyOnce) {
    open();
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(frmSettings::PokazMnie(Program(), nullptr, {}), dialog.data());
    EXPECT_EQ(dialog->windowTitle(), "Settings");
    ASSERT_EQ(dialog->TabStrip1->count(), 2);
    EXPECT_EQ(dialog->TabStrip1->tabText(0), GetText(2500));
    EXPECT_EQ(dialog->TabStrip1->tabText(1), GetText(2501));
    EXPECT_EQ(dialog->TabStrip1->currentIndex(), 0);
    EXPECT_EQ(dialog->Command1->text(), QString::fromUtf8("Język"));
    EXPECT_EQ(dialog->Command1->toolTip(), GetText(3210));
    EXPECT_EQ(dialog->cmdRefresh->toolTip(), GetText(3164));
    EXPECT_EQ(dialog->cmdSet->toolTip(), GetText(3165));
    EXPECT_EQ(dialog->chkPytaj->text(), GetText(2199));
    EXPECT_EQ(dialog->lblDevice->text(), GetText(3155));
    EXPECT_FALSE(dialog->cmdRefresh->icon().isNull());
    ASSERT_EQ(dialog->cboName->count(), 4);
    EXPECT_EQ(dialog->cboName->itemText(3), GetText(3239));
    EXPECT_TRUE(dialog->cmdAdd->isHidden());
    EXPECT_TRUE(dialog->lstDev->isHidden());
}

TEST_F(SettingsDialog, OpeningAndClosingOnAnEmptyStoreStoresTheRuntimeDefaults) {
    Program().outputs.SoundCards = {"Default DirectSound Device", "null"};
    open();
    EXPECT_EQ(dialog->txtMove->text(), "5");
    EXPECT_EQ(dialog->txtOverTake->text(), "150");
    EXPECT_EQ(dialog->lblFont->text(), "8");
    EXPECT_EQ(dialog->vscrFont->value(), 8);
    EXPECT_EQ(dialog->lblNode->text(), "450");
    EXPECT_EQ(dialog->VScrNode->value(), 450);
    EXPECT_EQ(dialog->lblMouse->text(), "150");
    EXPECT_TRUE(dialog->chkMultiDev->isChecked());
    EXPECT_FALSE(dialog->cboDevice->isEnabled());
    EXPECT_EQ(dialog->cboDevice->currentText(), "Default DirectSound Device");
    close();
    EXPECT_EQ(dialog, nullptr) << "deleted on close";
    EXPECT_EQ(store->values["Move"], "5");
    EXPECT_EQ(store->values["FontSize"], "8");
    EXPECT_EQ(store->values["NodeSize"], "450");
    EXPECT_EQ(store->values["OverTake"], "150");
    EXPECT_EQ(store->values["MultiDevices"], "0");
    EXPECT_EQ(store->values["DefSoundCard"], "Default DirectSound Device");
    const auto stored = store->values;
    open();
    close();
    EXPECT_EQ(store->values, stored);
}

// Fault mended: the dialog clamped a node size the main window replaces by its
// default (150 was drawn as 450 but shown and saved as 200), and kept font
// sizes the window did not.
TEST_F(SettingsDialog, OutOfRangeValuesShowWhatTheMainWindowUsesAndCloseUnchanged) {
    store->values = {{"FontSize", "99"}, {"NodeSize", "150"}, {"MouseSens", "800"}, {"FileNaming", "9"}};
    open();
    EXPECT_EQ(dialog->vscrFont->value(), 30);
    EXPECT_EQ(dialog->lblFont->text(), "30");
    EXPECT_EQ(dialog->VScrNode->value(), 450);
    EXPECT_EQ(dialog->lblNode->text(), "450");
    EXPECT_EQ(dialog->VScrMouse->value(), 600);
    EXPECT_EQ(dialog->cboName->currentIndex(), 3);
    close();
    EXPECT_EQ(store->values["NodeSize"], "450");
    // The font size the main window takes for a stored 3 is the one shown.
    store->values["FontSize"] = "3";
    open();
    EXPECT_EQ(dialog->lblFont->text().toInt(), StoredFontSize());
}

// The up arrow of the size bars raises the size, its handle moving up.
TEST_F(SettingsDialog, TheUpArrowOfASizeBarRaisesTheSize) {
    open();
    dialog->TabStrip1->setCurrentIndex(1);
    QCoreApplication::processEvents();
    ASSERT_TRUE(dialog->VScrNode->isVisible());
    const int handle = test::HandleTop(dialog->VScrNode);
    test::ClickUpArrow(dialog->VScrNode);
    EXPECT_EQ(dialog->lblNode->text(), "460");
    EXPECT_LT(test::HandleTop(dialog->VScrNode), handle);
    test::ClickUpArrow(dialog->vscrFont);
    EXPECT_EQ(dialog->lblFont->text(), "9");
}

TEST_F(SettingsDialog, EditsReachTheStoreOnClose) {
    open();
    dialog->txtMove->setFocus();
    dialog->txtMove->clear();
    QTest::keyClicks(dialog->txtMove, "1-2,x3");
    EXPECT_EQ(dialog->txtMove->text(), "123") << "only digits pass";
    dialog->txtOverTake->setText("");
    dialog->VScrMouse->setValue(420);
    EXPECT_EQ(Program().settings.MouseSensitivity, 420) << "the mouse setting acts at once";
    dialog->vscrFont->setValue(12);
    dialog->chkAutoSave->setChecked(true);
    dialog->cboName->setCurrentIndex(2);
    close();
    EXPECT_EQ(store->values["Move"], "123");
    EXPECT_EQ(store->values["OverTake"], "100");
    EXPECT_EQ(store->values["MouseSens"], "420");
    EXPECT_EQ(store->values["FontSize"], "12");
    EXPECT_EQ(store->values["AutoSave"], "1");
    EXPECT_EQ(store->values["FileNaming"], "2");
}

TEST_F(SettingsDialog, PerTrackDevicesEnableTheDeviceControls) {
    open();
    dialog->chkMultiDev->click();
    EXPECT_FALSE(Program().outputs.UseDefaultRenderer);
    for (QWidget* w : std::initializer_list<QWidget*>{dialog->cboDevice, dialog->cmdRefresh, dialog->cmdSet,
                                                      dialog->lblDevice})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    close();
    EXPECT_EQ(store->values["MultiDevices"], "1");
}

TEST_F(SettingsDialog, RefreshDropsTheSelectedDeviceAndEnumeratesAgain) {
    store->values["MultiDevices"] = "1";
    store->values["SoundCardS"] = "`Old Card`";
    store->values["DefSoundCard"] = "Old Card";
    Program().outputs.SoundCards = {"Old Card"};
    media->devices = {"New Card"};
    open();
    EXPECT_EQ(dialog->cboDevice->currentText(), "Old Card");
    dialog->cmdRefresh->click();
    EXPECT_EQ(media->deviceListings, 1);
    EXPECT_EQ(store->values["SoundCardS"], "`Default DirectSound Device`New Card`null`");
    ASSERT_EQ(dialog->cboDevice->count(), 3);
    EXPECT_EQ(dialog->cboDevice->currentText(), "Default DirectSound Device");
}

TEST_F(SettingsDialog, SettingTheDeviceOfEveryTrackAsksFirst) {
    auto tracks = std::make_shared<cPozycjeMP3>();
    for (int i = 1; i <= 2; ++i) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = i;
        t->strDevice = "null";
        tracks->Add(t);
    }
    store->values["MultiDevices"] = "1";
    Program().outputs.SoundCards = {"Default DirectSound Device", "USB Headset"};
    open(tracks);
    dialog->cboDevice->setCurrentIndex(1);
    messages->answers.enqueue(mb::No);
    dialog->cmdSet->click();
    EXPECT_EQ(messages->shown.last().textNumber, 3158);
    EXPECT_EQ(tracks->Item(1)->strDevice, "null");
    EXPECT_FALSE(tracks->Item(1)->blnDeviceChanged);
    messages->answers.enqueue(mb::Yes);
    dialog->cmdSet->click();
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(tracks->Item(i)->strDevice, "USB Headset");
        EXPECT_TRUE(tracks->Item(i)->blnDeviceChanged);
        EXPECT_TRUE(tracks->Item(i)->blnZmodyfikowana);
    }
}

// A start that found no stored list leaves the devices to the first window
// that shows them: the settings offer them, asked once and stored.
TEST_F(SettingsDialog, AfterAStartWithoutAStoredListTheDevicesAreAskedWhenShown) {
    media->devices = {"USB Headset"};
    LoadStoredSoundCards(Program().outputs); // what start-up does
    EXPECT_EQ(media->deviceListings, 0);
    open();
    EXPECT_GE(dialog->cboDevice->findText("USB Headset"), 0);
    EXPECT_EQ(media->deviceListings, 1);
    EXPECT_EQ(store->values["SoundCardS"], "`Default DirectSound Device`USB Headset`null`");
}

TEST_F(SettingsDialog, F10OffersAnyOutputByHand) {
    store->values["MultiDevices"] = "1";
    media->devices = {"Hidden Card"};
    open();
    dialog->show();
    dialog->activateWindow();
    // The keys reach the dialog while a text box has the focus.
    dialog->txtMove->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    EXPECT_FALSE(dialog->cmdAdd->isHidden());
    dialog->TabStrip1->setCurrentIndex(1);
    dialog->cmdAdd->click();
    ASSERT_TRUE(dialog->lstDev->isVisible());
    ASSERT_EQ(dialog->lstDev->count(), 3);
    dialog->lstDev->setFocus();
    QTest::keyClick(dialog->lstDev, Qt::Key_Escape);
    EXPECT_FALSE(dialog->lstDev->isVisible()) << "Esc hides the list";
    dialog->cmdAdd->click();
    dialog->lstDev->setCurrentRow(1);
    emit dialog->lstDev->itemDoubleClicked(dialog->lstDev->item(1));
    EXPECT_FALSE(dialog->lstDev->isVisible());
    EXPECT_EQ(store->values["SoundCardS"], "`Hidden Card`");
    EXPECT_EQ(dialog->cboDevice->findText("Hidden Card"), 0);
    dialog->txtOverTake->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    EXPECT_TRUE(dialog->cmdAdd->isHidden());
}

TEST_F(SettingsDialog, TheLanguageButtonChangesTheLanguageAtOnce) {
    open();
    test::WhenModal<frmLang>([](frmLang* lang) {
        auto* combo = lang->findChild<QComboBox*>("cboLang");
        combo->setCurrentIndex(1);
        lang->close();
    });
    dialog->Command1->click();
    EXPECT_EQ(Catalog().language(), "POLSKI");
    EXPECT_EQ(store->values["Langauge"], "POLSKI");
    EXPECT_EQ(GetText(2500), QString::fromUtf8("Ogólne"));
}

} // namespace
