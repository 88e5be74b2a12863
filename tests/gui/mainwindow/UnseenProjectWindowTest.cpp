// A batch script nobody watches runs without a window: its tracks are
// exported and the project ends empty, and not a single widget is made.
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/mainwindow/UnseenProjectWindow.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ProgramState.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace kelbrin;

TEST(UnseenProjectWindowTest, AScriptRunsToItsFilesWithoutMakingAWidget) {
    MemorySettingsStore* store = test::FreshProgramState();
    const QString dest = test::MakeTempDir("dest");
    store->values["DestPath"] = dest;
    Catalog().load(test::SourceDir() + "/resources/Kelbrin.ini");
    Catalog().setLanguage("ENGLISH");
    auto scripted = std::make_unique<test::ScriptedMessages>();
    test::ScriptedMessages* messages = scripted.get();
    auto previous = SetMessageService(std::move(scripted));
    messages->answers.enqueue(mb::Yes); // run the script now
    const QString script =
        test::WriteFile(test::MakeTempDir("script") + "/s.kbs",
                        "[Source Files]\n1:" + test::MediaFile("cbr_noinfo.mp3").toUtf8() +
                            "\n[Destination Files]\n1:a.mp3:0:1:20\n1:b.mp3:0:20:60\n");
    const qsizetype widgets = QApplication::allWidgets().size();
    {
        UnseenProjectWindow run(Program());
        EXPECT_FALSE(run.OtworzPlik(script, 0, true, false)); // a script leaves no project
        EXPECT_EQ(run.Tracks()->Count(), 0);
        EXPECT_TRUE(run.IsReady());
        EXPECT_EQ(QApplication::allWidgets().size(), widgets);
    }
    const auto used = SetMessageService(std::move(previous)); // keeps `messages` alive
    SetSettingsStore(nullptr);

    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_EQ(messages->shown[0].textNumber, 3148);
    // 19 and 40 frames of 128 kbit/s at 44.1 kHz, each with its tag.
    EXPECT_NEAR(QFileInfo(dest + "/a.mp3").size(), 19 * 417.96 + 128, 200);
    EXPECT_NEAR(QFileInfo(dest + "/b.mp3").size(), 40 * 417.96 + 128, 200);
}
