// The toolbar and the track panel's buttons: each carries its icon, tooltip
// and help text, and runs the command of the same job; the help line follows
// the pointer, and is kept over the help panel itself.
#include "PeripheryFixture.h"

#include "core/editor/GraphEditor.h"
#include "gui/app/Translation.h"
#include "gui/playback/MainPlayer.h"

#include <QDialog>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

using namespace kelbrin;

namespace {

class ToolbarHelpTest : public test::PeripheryTest {
protected:
    QString help() const { return window->lblHelp()->text(); }
    static QString shown(int number) {
        QString t = GetText(number);
        t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return t;
    }
    static void enter(QWidget* w) {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(w, &e);
    }
    static void leave(QWidget* w) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    }
    QWidget* panel(const char* name) const { return window->fraAudio()->findChild<QWidget*>(QLatin1String(name)); }
};

struct Button {
    const char* name;
    const char* tag;
    bool inPanel;
};

// The buttons and their tags: icon and tooltip number, then the help number.
constexpr Button kButtons[] = {
    {"cmdDodaj", "1105;5000", false},    {"cmdUsun", "1104;5001", false},     {"cmdZmien", "1106;5002", false},
    {"cmdPrev", "1117;5003", false},     {"cmdMove(0)", "1112;5004", false},  {"cmdPlay", "1116;5005", false},
    {"cmdMenu", "1127;5006", false},     {"cmdPause", "1122;5007", false},    {"cmdStop", "1119;5008", false},
    {"cmdMove(1)", "1118;5009", false},  {"cmdNext", "1107;5010", false},     {"cmdRecord", "1162;5011", false},
    {"cmdUndo", "1159;5012", false},     {"cmdRedo", "1160;5013", false},     {"cmdCut", "1148;5014", false},
    {"cmdCopy", "1149;5015", false},     {"cmdPaste(0)", "1150;5016", false}, {"cmdPaste(1)", "1151;5017", false},
    {"cmdBlok", "1147;5018", false},     {"cmdLabel", "1152;5019", false},    {"cmdPolacz", "1145;5020", false},
    {"cmdUsunPolaczenie", "1146;5021", false}, {"cmdDodajPetle", "1143;5022", false},
    {"cmdSave", "1153;5023", false},     {"cmdIloscPetli", "1154", false},    {"cmdUsunPetle", "1144", false},
    {"cmdMove2(0)", "1112;5024", true},  {"cmdMove2(1)", "1118;5027", true},  {"cmdMove2(2)", "1165;5055", true},
    {"cmdMove2(3)", "1166;5056", true},  {"cmdPlay2", "1116;5025", true},     {"cmdMenu2", "1127;5026", true},
    {"cmdPause2", "1122;0", true},       {"cmdStop2", "1119;0", true},
};

} // namespace

TEST_F(ToolbarHelpTest, EveryButtonCarriesItsIconTooltipAndHelpTextInBothLanguages) {
    for (const char* language : {"ENGLISH", "POLSKI"}) {
        Catalog().setLanguage(language);
        open();
        for (const Button& b : kButtons) {
            SCOPED_TRACE(std::string(language) + " " + b.name);
            auto* button = qobject_cast<QPushButton*>(b.inPanel ? panel(b.name) : static_cast<QWidget*>(tool(b.name)));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(TagOf(button), QLatin1String(b.tag));
            EXPECT_FALSE(button->icon().isNull());
            EXPECT_TRUE(button->text().isEmpty());
            EXPECT_EQ(button->toolTip(), shown(TagNumber(b.tag)));
            EXPECT_FALSE(button->toolTip().isEmpty());
            window->ShowHelpText(QStringLiteral("before"));
            enter(button);
            const int hint = TagHintNumber(b.tag);
            EXPECT_EQ(help(), hint ? shown(hint) : QString());
            EXPECT_EQ(help().isEmpty(), hint == 0);
        }
        delete window;
        window = nullptr;
    }
    Catalog().setLanguage("ENGLISH");
}

TEST_F(ToolbarHelpTest, TheHelpLineFollowsThePointerAndStaysOverItself) {
    open();
    auto t = add(1);
    showInPanel(t);
    // A tag without ";" shows the tooltip text.
    enter(tool("cmdIloscPetli"));
    EXPECT_EQ(help(), shown(1154));
    // The pause button, the range frames and the time boxes clear it.
    for (QWidget* w : {panel("cmdPause2"), panel("Frame1(0)"), static_cast<QWidget*>(window->fraAudio()->Text1[4]),
                       static_cast<QWidget*>(window->fraTools()), static_cast<QWidget*>(window->fraAudio()->lblTime2)}) {
        enter(tool("cmdCopy"));
        ASSERT_FALSE(help().isEmpty());
        enter(w);
        EXPECT_EQ(help(), QString()) << w->objectName().toStdString();
    }
    // From a button straight onto the help panel: the text stays to be read.
    enter(tool("cmdCopy"));
    leave(tool("cmdCopy"));
    enter(window->fraHelp());
    enter(window->lblHelp());
    QCoreApplication::processEvents();
    EXPECT_EQ(help(), shown(5015));
    // Controls without a hint of their own leave the line alone.
    for (QWidget* w : {static_cast<QWidget*>(window->cmdKlon()), static_cast<QWidget*>(window->fraAudio()->cmdTest[0]),
                       static_cast<QWidget*>(window->fraAudio())}) {
        enter(w);
        EXPECT_EQ(help(), shown(5015)) << w->objectName().toStdString();
    }
    // Leaving a panel button for the panel's background keeps its text too.
    enter(panel("cmdPlay2"));
    leave(panel("cmdPlay2"));
    QCoreApplication::processEvents();
    EXPECT_EQ(help(), shown(5025));
    // Leaving a toolbar button for the toolbar's background clears it.
    enter(tool("cmdCopy"));
    leave(tool("cmdCopy"));
    QCoreApplication::processEvents();
    EXPECT_EQ(help(), QString());
    // Only what follows the first ";" counts, up to the first non-digit.
    ShowHint(QStringLiteral("1;5015;3"));
    EXPECT_EQ(help(), shown(5015));
}

TEST_F(ToolbarHelpTest, ButtonsRunTheCommandsOfTheSameJob) {
    open();
    auto a = add(1);
    add(2);
    GraphEditor& g = window->Editor().editor();
    g.SelectTrackBox(1, mouse::Left, 0, QPoint());
    ASSERT_EQ(g.lngSelectedTrack, 1);

    // (The graph-editing buttons are exercised with the editor's commands.)
    tool("cmdZmien")->click();
    EXPECT_TRUE(window->fraAudio()->isVisible());
    EXPECT_EQ(window->Panel().Cpoz(), a);

    // The panel's buttons drive its preview and its menus.
    window->fraAudio()->findChild<QPushButton*>("cmdPlay2")->click();
    ASSERT_TRUE(window->Panel().preview().MediaControl);
    EXPECT_EQ(window->Panel().preview().MediaControl->state(), GraphState::Running);
    window->fraAudio()->findChild<QPushButton*>("cmdPause2")->click();
    EXPECT_TRUE(window->Panel().preview().blnPause2);
    window->fraAudio()->findChild<QPushButton*>("cmdStop2")->click();
    EXPECT_NE(window->Panel().preview().MediaControl->state(), GraphState::Running);
    window->fraAudio()->cmdTest[0]->click();
    EXPECT_TRUE(item("mnuTest_B")->isChecked());
    tool("cmdMenu")->click();
    EXPECT_TRUE(window->Menus().menu("mnuPlay")->isVisible());
    window->Menus().menu("mnuPlay")->close();

    // The export button follows its menu item, not its own state.
    item("mnuFile_Save")->setEnabled(false);
    window->cmdSave()->setEnabled(true);
    window->cmdSave()->click();
    EXPECT_EQ(window->findChild<QDialog*>("frmSave"), nullptr);

    // Delete goes last: the selected track leaves the project.
    messages->answers << 6 << 6;
    g.SelectTrackBox(2, mouse::Left, 0, QPoint());
    tool("cmdUsun")->click();
    EXPECT_EQ(window->cPozycje()->Count(), 1);
    EXPECT_EQ(window->cPozycje()->Item(1), a);
}
