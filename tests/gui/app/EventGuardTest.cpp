// A run-time error that no handler caught reaches the program's application
// object, which reports it in the "Error Nr." box and keeps the main window
// and its project alive. This program runs under that application object.
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/app/KelbrinApplication.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/settings/QtSettingsStore.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace kelbrin::test {
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    return std::make_unique<KelbrinApplication>(argc, argv);
}
} // namespace kelbrin::test

using namespace kelbrin;

TEST(EventGuard, AnErrorThrownFromASlotIsReportedAndTheWindowLivesOn) {
    ASSERT_TRUE(qobject_cast<KelbrinApplication*>(QCoreApplication::instance()));
    auto* store = test::FreshProgramState();
    store->values = {{"WindowState", "0"}, {"AdvView", "0"}};
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
    Catalog().setLanguage("ENGLISH");
    auto scripted = std::make_unique<test::ScriptedMessages>();
    test::ScriptedMessages* messages = scripted.get();
    auto previous = SetMessageService(std::move(scripted));
    auto* window = new frmDazudizi(Program());
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->PokazMnie();
    auto track = std::make_shared<cPozycjaMP3>();
    track->lngNrPozycji = 1;
    window->cPozycje()->Add(track);

    // A button whose handler runs into a collection index out of range.
    auto* button = new QPushButton(window);
    button->setObjectName("cmdFails");
    button->show();
    QObject::connect(button, &QPushButton::clicked, [&] { window->cPozycje()->Item(5); });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(messages->shown.isEmpty()) << "the box waits for the next turn of the loop";
    QTest::qWait(50);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].text, "Error Nr.9\rSubscript out of range\rModul frmDazudizi.cmdFails");

    // A timer's handler fails the same way; the program goes on.
    QTimer::singleShot(0, window, [] { throw std::domain_error("Division by zero"); });
    QTest::qWait(50);
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_TRUE(messages->shown[1].text.startsWith("Error Nr.11\rDivision by zero\rModul "));

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->cPozycje()->Count(), 1);
    QTest::mouseClick(button, Qt::LeftButton); // still answers
    QTest::qWait(50);
    EXPECT_EQ(messages->shown.size(), 3);

    delete window;
    SetMessageService(std::move(previous));
    SetSettingsStore(nullptr);
}

TEST(EventGuard, ASettingsFileThatCannotBeWrittenIsReportedOnce) {
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
    Catalog().setLanguage("ENGLISH");
    auto scripted = std::make_unique<test::ScriptedMessages>();
    test::ScriptedMessages* messages = scripted.get();
    auto previous = SetMessageService(std::move(scripted));
    // Where the settings file belongs stands a folder.
    const QString path =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Pelorin", "Kelbrin").fileName();
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkpath(path + "/blocked"));
    {
        QtSettingsStore store;
        store.write("LMinDiv", "2.5");
        store.sync();
        store.write("OpenType", "1");
        store.sync();
        EXPECT_TRUE(messages->shown.isEmpty()) << "the box waits for the next turn of the loop";
        QTest::qWait(50);
        ASSERT_EQ(messages->shown.size(), 1);
        EXPECT_EQ(messages->shown[0].textNumber, 7100);
        EXPECT_TRUE(messages->shown[0].text.contains(path));
    }
    QDir(path).removeRecursively();
    SetMessageService(std::move(previous));
}
