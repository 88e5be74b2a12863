// The View, Options and Info menus: the advanced view and what it switches,
// the help panel and preview loop settings, the recording options' state
// while the encoder server records, and the mnemonic letters of every menu.
#include "PeripheryFixture.h"
#include "support/ProgramState.h"

#include "core/recording/RecorderClient.h"
#include "gui/app/Twips.h"
#include "gui/mainwindow/ViewMenus.h"
#include "gui/mainwindow/frmInfo.h"

#include <QGroupBox>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

using namespace kelbrin;

namespace {

// The encoder server's answers to the state queries.
class ServerState final : public RemoteObject {
public:
    explicit ServerState(int* recording, int* file) : m_recording(recording), m_file(file) {}
    QVariant call(const QString& method, const QVariantList&, bool* ok) override {
        if (ok)
            *ok = true;
        if (method == QLatin1String("DajStan"))
            return *m_recording;
        if (method == QLatin1String("DajStanPliku"))
            return *m_file;
        return {};
    }

private:
    int* m_recording;
    int* m_file;
};

// The letter after a single "&", lower-cased; none for "&&" or no "&".
QChar Mnemonic(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toLower();
    }
    return {};
}

using ViewMenusTest = test::PeripheryTest;

} // namespace

TEST_F(ViewMenusTest, TheAdvancedViewSwitchesTheListedButtonsAndItemsAndIsStored) {
    store->values.remove("AdvView");
    open();
    QAction* advanced = item("mnulvw");
    EXPECT_TRUE(advanced->isChecked()) << "a first start shows the advanced view";

    auto check = [this](bool on) {
        SCOPED_TRACE(on ? "advanced" : "normal");
        EXPECT_EQ(window->lvwNodes()->isVisibleTo(window), on);
        EXPECT_EQ(window->cmdKlon()->isVisibleTo(window), on);
        EXPECT_EQ(window->fraAudio()->fraTAG->isVisibleTo(window->fraAudio()), on);
        for (const char* name : {"cmdZmien", "cmdPrev"})
            EXPECT_EQ(tool(name)->isVisibleTo(window), !on) << name;
        // The transport and graph-editing buttons and items: written out
        // here, so a name dropped from the window's own list shows.
        for (const char* name : {"cmdMove(0)", "cmdMove(1)", "cmdPlay", "cmdPause", "cmdStop", "cmdMenu",
                                 "cmdNext", "cmdUndo", "cmdRedo", "cmdCut", "cmdPaste(0)", "cmdBlok", "cmdLabel",
                                 "cmdPolacz", "cmdUsunPolaczenie", "cmdDodajPetle", "cmdUsunPetle",
                                 "cmdIloscPetli"}) {
            ASSERT_NE(tool(name), nullptr) << name;
            EXPECT_EQ(tool(name)->isVisibleTo(window), !on) << name;
        }
        for (const char* name : {"mnuTrack_Blok", "mnuTrack_Con_Connect", "mnuTrack_Con_Remove", "mnuLoopTrack",
                                 "mnuTrack_Prop", "mnuTrack_Fade", "mnuTrack_Wytnij", "mnuTrack_Wklej",
                                 "mnuTrack_Sep1", "mnuTrack_Sep2", "mnuTrack_Labelki(0)", "mnuTrack_Labelki(1)",
                                 "mnuTrack_Labelki(2)", "mnuHelp", "mnuTrack_Refresh", "mnuW1", "mnu_Info_Legend",
                                 "sepWidok1"}) {
            ASSERT_NE(item(name), nullptr) << name;
            EXPECT_EQ(item(name)->isVisible(), !on) << name;
        }
        for (const char* name : {"cmdDodaj", "cmdUsun", "cmdCopy", "cmdPaste(1)", "cmdRecord", "cmdSave"})
            EXPECT_TRUE(tool(name)->isVisibleTo(window)) << name;
    };
    check(true);
    // The buttons of both views close up behind the clone button.
    QPushButton* copy = tool("cmdCopy");
    QPushButton* paste = tool("cmdPaste(1)");
    QPushButton* record = tool("cmdRecord");
    EXPECT_EQ(copy->x(), window->cmdKlon()->x() + window->cmdKlon()->width());
    EXPECT_EQ(paste->x(), copy->x() + copy->width());
    EXPECT_EQ(record->x(), paste->x() + paste->width() + TwipsToPx(100));
    for (QPushButton* b : {copy, paste, record})
        EXPECT_FALSE(b->geometry().intersects(window->cmdDodaj()->geometry())) << b->objectName().toStdString();

    // The help panel keeps its visibility while its item is hidden.
    const bool helpShown = window->fraHelp()->isVisibleTo(window);
    advanced->trigger();
    check(false);
    EXPECT_EQ(store->values.value("AdvView"), "0");
    EXPECT_EQ(window->fraHelp()->isVisibleTo(window), helpShown);
    const QHash<QString, QPoint> normal{{"copy", copy->pos()}, {"paste", paste->pos()}, {"record", record->pos()}};

    // Twice more: the normal places come back whatever happened between.
    window->Views().mnulvw_Click();
    check(true);
    EXPECT_EQ(store->values.value("AdvView"), "1");
    copy->move(3, 3);
    advanced->trigger();
    EXPECT_EQ(copy->pos(), normal["copy"]);
    EXPECT_EQ(paste->pos(), normal["paste"]);
    EXPECT_EQ(record->pos(), normal["record"]);

    // The next start shows the normal view.
    delete window;
    window = nullptr;
    open();
    EXPECT_FALSE(item("mnulvw")->isChecked());
    check(false);
}

TEST_F(ViewMenusTest, HelpPanelAndPreviewLoopFollowTheirItems) {
    store->values["LoopProp"] = "1";
    open();
    item("mnuPLoop")->trigger();
    EXPECT_EQ(store->values.value("LoopProp"), "0");
    const bool shown = window->fraHelp()->isVisibleTo(window);
    item("mnuHelp")->trigger();
    EXPECT_NE(window->fraHelp()->isVisibleTo(window), shown);
}

TEST_F(ViewMenusTest, RecordingCommandsWaitForTheirWindowsAndForTheServer) {
    int recording = 0, file = 0;
    Program().server.Recorder = std::make_shared<RecorderClient>(std::make_unique<ServerState>(&recording, &file));
    open();
    QAction* options = item("mnuOptions_Rec");
    QMenu* menu = window->Menus().menu("mnuOptions");
    emit menu->aboutToShow();
    EXPECT_TRUE(options->isEnabled()) << "the options window is there, the server idle";
    EXPECT_TRUE(tool("cmdRecord")->isEnabled()) << "the recorder window is there";
    window->SetRecordingOptionsWindow({});
    EXPECT_FALSE(options->isEnabled());

    int shownOptions = 0, shownRecorder = 0;
    window->SetRecordingOptionsWindow([&] { ++shownOptions; });
    window->SetRecorderWindow([&] { ++shownRecorder; });
    EXPECT_TRUE(options->isEnabled());
    recording = 1;
    emit menu->aboutToShow();
    EXPECT_FALSE(options->isEnabled()) << "not during a recording";
    recording = 0;
    file = 3;
    emit menu->aboutToShow();
    EXPECT_FALSE(options->isEnabled()) << "not while an output file is open";
    file = 0;
    emit menu->aboutToShow();
    ASSERT_TRUE(options->isEnabled());
    options->trigger();
    EXPECT_EQ(shownOptions, 1);
    // The record button shows the recorder window, recording or not.
    recording = 1;
    tool("cmdRecord")->click();
    EXPECT_EQ(shownRecorder, 1);

}

TEST_F(ViewMenusTest, TheInfoMenuOpensOneAboutBox) {
    open();
    item("mnu_Inform")->trigger();
    frmInfo* first = frmInfo::Instance();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    item("mnu_Inform")->trigger();
    EXPECT_EQ(frmInfo::Instance(), first);
    EXPECT_EQ(window->findChildren<frmInfo*>().size(), 1);
    first->close();
}

TEST_F(ViewMenusTest, NoTwoItemsOfAMenuShareAMnemonicInEitherLanguage) {
    open();
    for (const char* language : {"ENGLISH", "POLSKI"}) {
        Catalog().setLanguage(language);
        window->LoadLang();
        QList<QMenu*> menus = window->findChildren<QMenu*>();
        for (QMenu* menu : window->Menus().menus)
            if (!menus.contains(menu))
                menus << menu;
        QHash<QChar, QString> bar;
        for (QAction* top : window->menuBar()->actions()) {
            const QChar m = Mnemonic(top->text());
            ASSERT_FALSE(m.isNull()) << language << ": " << top->text().toStdString();
            EXPECT_FALSE(bar.contains(m)) << language << ": " << top->text().toStdString() << " and "
                                          << bar.value(m).toStdString();
            bar.insert(m, top->text());
            // Alt with these letters belongs to the player.
            EXPECT_FALSE(QStringLiteral("zxcvb").contains(m)) << language << ": " << top->text().toStdString();
        }
        for (QMenu* menu : menus) {
            QHash<QChar, QString> seen;
            for (QAction* a : menu->actions()) {
                const QChar m = Mnemonic(a->text());
                if (m.isNull())
                    continue;
                EXPECT_FALSE(seen.contains(m)) << language << " " << menu->objectName().toStdString() << ": "
                                               << a->text().toStdString() << " and "
                                               << seen.value(m).toStdString();
                seen.insert(m, a->text());
            }
        }
    }
    Catalog().setLanguage("ENGLISH");
}

TEST_F(ViewMenusTest, TabNeverReachesTheTreeThatTheAdvancedViewCovers) {
    open();
    showInPanel(add(1));
    QTreeWidget* tree = window->tvwNodes();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F9);
    ASSERT_TRUE(item("mnulvw")->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), window->lvwNodes()) << "the focus leaves the covered tree";
    auto tabRoundReaches = [](QWidget* wanted) {
        for (int i = 0; i < 80; ++i) {
            if (QApplication::focusWidget() == wanted)
                return true;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return false;
    };
    EXPECT_FALSE(tabRoundReaches(tree));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
    EXPECT_TRUE(tabRoundReaches(tree)) << "back in the normal view";
}
