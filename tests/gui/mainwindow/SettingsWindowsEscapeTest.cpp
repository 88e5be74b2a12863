// Esc on the settings windows opened from the main window's menus: each
// closes as its close box does (the settings and recording settings windows
// store what they show on every close; the language dialog has nothing to
// store).
#include "PeripheryFixture.h"
#include "gui/app/ModalDriver.h"
#include "gui/app/frmLang.h"
#include "gui/app/frmSettings.h"
#include "gui/recording/frmRecording.h"
#include "platform/capture/FakeCaptureDevices.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QListWidget>
#include <QPointer>
#include <QTest>

using namespace kelbrin;

namespace {

class SettingsWindowsEscape : public test::PeripheryTest {
protected:
    template <typename Window> Window* opened() const {
        QCoreApplication::processEvents();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<Window*>(w); found && found->isVisible())
                return found;
        return nullptr;
    }
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(SettingsWindowsEscape, EscClosesEachSettingsWindowAsItsCloseBoxDoes) {
    auto previousDevices = SetCaptureDevices(std::make_unique<FakeCaptureDevices>());
    store->values["MultiDevices"] = "1"; // a device per track: the device buttons work
    open();

    // Settings: Esc first takes away the device list that F10 and its button
    // brought up, then closes the dialog, which stores the seek step typed.
    item("mnuSetting")->trigger();
    QPointer<frmSettings> settings = opened<frmSettings>();
    ASSERT_TRUE(settings);
    QApplication::setActiveWindow(settings);
    settings->txtMove->setText("7");
    settings->TabStrip1->setCurrentIndex(1);
    settings->cboDevice->setFocus();
    QTest::keyClick(settings->cboDevice, Qt::Key_F10);
    settings->cmdAdd->click();
    ASSERT_TRUE(settings->lstDev->isVisible());
    settings->lstDev->setFocus();
    QTest::keyClick(settings->lstDev, Qt::Key_Escape);
    EXPECT_FALSE(settings->lstDev->isVisible());
    EXPECT_TRUE(settings->isVisible());
    settings->cboDevice->setFocus();
    QTest::keyClick(settings->cboDevice, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(settings);
    EXPECT_EQ(store->values.value("Move"), "7");

    // Its language dialog, modal, closes on Esc.
    settings = frmSettings::PokazMnie(window->Objects(), window, window->cPozycje());
    bool languageClosed = false;
    test::WhenModal<frmLang>([&](frmLang* dialog) {
        QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
        languageClosed = !dialog->isVisible();
    });
    settings->Command1->click();
    EXPECT_TRUE(languageClosed);
    settings->close();
    settle();

    // Recording settings: Esc closes the window, which stores the prefix.
    item("mnuOptions_Rec")->trigger();
    QPointer<frmRecording> recording = opened<frmRecording>();
    ASSERT_TRUE(recording);
    QApplication::setActiveWindow(recording);
    recording->txtPrefix->setFocus();
    recording->txtPrefix->setText("Esc");
    QTest::keyClick(recording->txtPrefix, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(recording);
    recording = frmRecording::PokazMnie(Program().recording);
    EXPECT_EQ(recording->txtPrefix->text(), "Esc");
    recording->close();
    settle();
    SetCaptureDevices(std::move(previousDevices));
}
