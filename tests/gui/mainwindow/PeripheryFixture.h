#pragma once
// A main window on virtual time with fake outputs, scripted messages and a
// settings store of its own, for the tests of its keys, menus, buttons and
// splitters.
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "support/ProgramState.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/editor/EditorController.h"
#include "gui/mainwindow/TrackPanel.h"
#include "gui/mainwindow/TrackPanelFrame.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "support/FakeServices.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

namespace kelbrin::test {

class PeripheryTest : public ::testing::Test, protected FakeServices {
protected:
    PeripheryTest()
        : FakeServices({{"WindowState", "0"}, {"Width", "15000"}, {"Height", "9000"}, {"AdvView", "0"}}) {}
    void SetUp() override {
        test::ResetProgramObjects();
        folder = MakeTempDir("periphery");
    }
    void TearDown() override { delete window; }
    frmDazudizi* open() {
        window = new frmDazudizi(Program());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->PokazMnie();
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
        return window;
    }
    std::shared_ptr<cPozycjaMP3> add(std::int32_t number, int seconds = 30) {
        auto t = playableTrack(folder, number, seconds);
        window->cPozycje()->Add(t);
        Program().session.NextTrackNo = number + 1;
        window->DrawTrackGraph(true);
        return t;
    }
    // Shows the track in the track panel.
    void showInPanel(const std::shared_ptr<cPozycjaMP3>& t) {
        window->Editor().openProperties(t);
        QCoreApplication::processEvents();
    }
    QPushButton* tool(const char* name) const { return window->fraTools()->findChild<QPushButton*>(name); }
    QAction* item(const char* name) const { return window->Menus().item(QLatin1String(name)); }
    // Runs `check` in both languages, each in the basic and the advanced view.
    void inEveryLanguageAndView(const std::function<void(const QString& where, bool advanced)>& check) {
        for (const char* language : {"ENGLISH", "POLSKI"}) {
            Catalog().setLanguage(QLatin1String(language));
            window->LoadLang();
            for (bool advanced : {false, true}) {
                if (item("mnulvw")->isChecked() != advanced)
                    item("mnulvw")->trigger();
                check(QLatin1String(language) + (advanced ? " advanced" : " basic"), advanced);
            }
        }
    }

    frmDazudizi* window = nullptr;
    QString folder;
};

} // namespace kelbrin::test
