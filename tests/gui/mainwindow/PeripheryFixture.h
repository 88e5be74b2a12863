#pragma once
// A main window on virtual time with fake outputs, scripted messages and a
// settings store of its own, for the tests of its keys, menus, buttons and
// splitters.
#include "core/app/MessageService.h"
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/editor/EditorController.h"
#include "gui/mainwindow/TrackPanel.h"
#include "gui/mainwindow/TrackPanelFrame.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/VirtualClock.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/ScriptedMessages.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

namespace kelbrin::test {

class PeripheryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSharedState();
        store = new MemorySettingsStore;
        store->values = {{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}, {"AdvView", "0"}};
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
        Catalog().load(SourceDir() + "/resources/Kelbrin.ini");
        Catalog().setLanguage("ENGLISH");
        auto scripted = std::make_unique<ScriptedMessages>();
        messages = scripted.get();
        previousMessages = SetMessageService(std::move(scripted));
        auto owned = std::make_unique<VirtualClock>(1000);
        clock = owned.get();
        previousClock = SetProgramClock(std::move(owned));
        auto fake = std::make_unique<FakeMediaPlatform>(*clock);
        media = fake.get();
        previousMedia = SetMediaPlatform(std::move(fake));
        folder = MakeTempDir("periphery");
    }
    void TearDown() override {
        delete window;
        SetMediaPlatform(std::move(previousMedia));
        SetProgramClock(std::move(previousClock));
        SetMessageService(std::move(previousMessages));
        SetSettingsStore(nullptr);
    }
    frmDazudizi* open() {
        window = new frmDazudizi;
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
        return window;
    }
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, int seconds = 30) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->lngLeft = 1500 * number;
        t->lngTop = 1500;
        t->strLabel = QStringLiteral("T%1").arg(number);
        t->strFileNameSource = WriteFile(folder + QStringLiteral("/t%1.mp3").arg(number), "x");
        t->dblDuration = seconds;
        t->lngKoniec_S = seconds;
        media->durations[t->strFileNameSource] = seconds;
        window->cPozycje->Add(t);
        Shared().NextTrackNo = number + 1;
        window->DrawTrackGraph(true);
        return t;
    }
    // Shows the track in the track panel.
    void showInPanel(const std::shared_ptr<cPozycjaMP3>& t) {
        window->Editor().openProperties(t);
        QCoreApplication::processEvents();
    }
    QPushButton* tool(const char* name) const { return window->fraTools->findChild<QPushButton*>(name); }
    QAction* item(const char* name) const { return window->Menus().item(QLatin1String(name)); }

    MemorySettingsStore* store = nullptr;
    ScriptedMessages* messages = nullptr;
    VirtualClock* clock = nullptr;
    FakeMediaPlatform* media = nullptr;
    frmDazudizi* window = nullptr;
    QString folder;
    std::unique_ptr<MessageService> previousMessages;
    std::unique_ptr<Clock> previousClock;
    std::unique_ptr<MediaPlatform> previousMedia;
};

} // namespace kelbrin::test
