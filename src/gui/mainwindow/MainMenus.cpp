#include "MainMenus.h"

#include "core/app/TextCatalog.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace kelbrin {

namespace {

struct NumberedItem {
    const char* name;
    int number;
};

// Items that share a number share a caption.
constexpr NumberedItem kNumbers[] = {
    {"mnuFile", 0},          {"mnuFile_Nowy", 1},        {"mnuFile_O", 2},
    {"mnuFile_S", 3},        {"mnuFile_Z", 4},           {"mnuPlik_End(0)", 6},
    {"mnu_Info", 7},         {"mnuFile_Lista", 8},       {"mnuFile_Save", 9},
    {"mnuPlay_Repeat", 13},  {"mnuPLoop", 13},           {"mnuSpeed_Set", 14},
    {"mnuSpeed2_Set", 14},   {"mnuTrack_Prop", 15},      {"mnuSetting", 16},
    {"mnuEdytor", 17},       {"mnuHidden", 18},          {"mnuTrack_Label", 19},
    {"mnuTools", 20},        {"mnuTrack_Labelki(0)", 21}, {"mnuTrack_Labelki(1)", 22},
    {"mnuTrack_Remove", 23}, {"mnuTrack_Blok", 24},      {"mnu_Info_Legend", 25},
    {"mnu_Inform", 26},      {"mnuBalans_Set", 29},      {"mnuOption_Scan", 30},
    {"mnuOption_Scan_B", 31}, {"mnuTest_B", 35},         {"mnuTest_E", 36},
    {"mnuPlayS", 37},        {"mnuLoopTrack_Ilosc", 38}, {"mnuLoopTrack_Remove", 39},
    {"mnuTrack_Loop", 40},   {"mnuLoopTrack", 41},       {"mnuTrack_Con_Connect", 43},
    {"mnuTrack_Con_Remove", 44}, {"mnuTrack_Adv", 45},   {"mnuTrack_Kopiuj", 46},
    {"mnuTrack_Wklej", 47},  {"mnuPlay_All", 48},        {"mnuTrack_Wklej_Nowy", 49},
    {"mnuPlayR", 50},        {"mnuUnits_Jednostki(0)", 52}, {"mnuUnits_Jednostki(1)", 53},
    {"mnuOption", 54},       {"mnuOptions", 54},         {"mnuTrack_Wytnij", 56},
    {"mnuFile_Skrypt", 57},  {"mnuFile_Add", 58},        {"mnuTrack_Labelki(2)", 59},
    {"mnuView", 61},         {"mnuTrack", 62},           {"mnuTrack_Fade", 63},
    {"mnuPlayZa", 64},       {"mnuTrack_Refresh", 66},   {"mnuPlay_Marker", 69},
    {"mnuView_Tree", 70},    {"mnuPlayAll", 71},         {"mnuOptions_Rec", 72},
    {"mnuHelp", 77},         {"mnulvw", 78},             {"mnuUpdate", 79},
};

} // namespace

int MenuNumber(const QString& itemName) {
    for (const auto& n : kNumbers)
        if (itemName == QLatin1String(n.name))
            return n.number;
    return -1;
}

void MainMenus::build(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    buildFileMenu(bar);
    buildTrackMenu(bar);
    buildViewMenu(bar);
    buildOptionsToolsAndInfoMenus(bar);
    buildPopUpMenus(window);
    tagNumberedItems();
}

QMenu* MainMenus::addMenu(QMainWindow* window, QMenu* parent, const QString& name,
                          const QString& designCaption) {
    return registerMenu(parent ? parent->addMenu(designCaption) : new QMenu(designCaption, window),
                        name);
}

QMenu* MainMenus::topMenu(QMenuBar* bar, const QString& name) {
    return registerMenu(bar->addMenu(name), name);
}

QMenu* MainMenus::registerMenu(QMenu* m, const QString& name) {
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    menus.insert(name, m);
    items.insert(name, m->menuAction());
    return m;
}

QAction* MainMenus::add(QMenu* m, const QString& name, const QKeySequence& key, bool checkable) {
    QAction* a = m->addAction(name);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    a->setCheckable(checkable);
    items.insert(name, a);
    return a;
}

void MainMenus::separator(QMenu* m, const QString& name) {
    QAction* a = m->addSeparator();
    a->setObjectName(name);
    items.insert(name, a);
}

void MainMenus::buildFileMenu(QMenuBar* bar) {
    QMenu* file = topMenu(bar, QStringLiteral("mnuFile"));
    add(file, QStringLiteral("mnuFile_Nowy"), QKeySequence(Qt::CTRL | Qt::Key_N));
    add(file, QStringLiteral("mnuFile_O"), QKeySequence(Qt::CTRL | Qt::Key_O));
    add(file, QStringLiteral("mnuFile_Skrypt"));
    add(file, QStringLiteral("mnuFile_S"), QKeySequence(Qt::CTRL | Qt::Key_S));
    add(file, QStringLiteral("mnuFile_Z"), QKeySequence(Qt::CTRL | Qt::Key_E));
    separator(file, QStringLiteral("sep2"));
    add(file, QStringLiteral("mnuFile_Add"));
    separator(file, QStringLiteral("sepfile1"));
    add(file, QStringLiteral("mnuFile_Save"), QKeySequence(Qt::CTRL | Qt::Key_W));
    separator(file, QStringLiteral("sep3"));
    add(file, QStringLiteral("mnuPlik_End(0)"));
    separator(file, QStringLiteral("mnuPlik_End(1)"));
    for (int k = 2; k <= 5; ++k)
        add(file, QStringLiteral("mnuPlik_End(%1)").arg(k), {}, true)->setVisible(false);
    items.value(QStringLiteral("mnuPlik_End(1)"))->setVisible(false);
}

void MainMenus::buildTrackMenu(QMenuBar* bar) {
    QMenu* track = topMenu(bar, QStringLiteral("mnuTrack"));
    add(track, QStringLiteral("mnuTrack_Blok"), QKeySequence(Qt::CTRL | Qt::Key_A));
    add(track, QStringLiteral("mnuTrack_Con_Connect"));
    add(track, QStringLiteral("mnuTrack_Con_Remove"));
    QMenu* loop =
        addMenu(nullptr, track, QStringLiteral("mnuLoopTrack"), QStringLiteral("mnuLoopTrack"));
    add(loop, QStringLiteral("mnuTrack_Loop"));
    add(loop, QStringLiteral("mnuLoopTrack_Ilosc"));
    add(loop, QStringLiteral("mnuLoopTrack_Remove"));
    add(track, QStringLiteral("mnuTrack_Prop"));
    add(track, QStringLiteral("mnuTrack_Fade"));
    separator(track, QStringLiteral("mnuTrack_Sep1"));
    add(track, QStringLiteral("mnuTrack_Wytnij"), QKeySequence(Qt::CTRL | Qt::Key_X));
    add(track, QStringLiteral("mnuTrack_Kopiuj"), QKeySequence(Qt::CTRL | Qt::Key_C));
    add(track, QStringLiteral("mnuTrack_Wklej"), QKeySequence(Qt::CTRL | Qt::Key_V));
    add(track, QStringLiteral("mnuTrack_Wklej_Nowy"));
    separator(track, QStringLiteral("mnuTrack_Sep2"));
    add(track, QStringLiteral("mnuTrack_Label"), QKeySequence(Qt::SHIFT | Qt::Key_F2));
    add(track, QStringLiteral("mnuTrack_Adv"));
    separator(track, QStringLiteral("sepTrack3"));
    add(track, QStringLiteral("mnuTrack_Remove"), QKeySequence(Qt::Key_Delete));
}

void MainMenus::buildViewMenu(QMenuBar* bar) {
    QMenu* view = topMenu(bar, QStringLiteral("mnuView"));
    add(view, QStringLiteral("mnulvw"), QKeySequence(Qt::Key_F9), true);
    add(view, QStringLiteral("mnuView_Tree"), {}, true)->setVisible(false);
    separator(view, QStringLiteral("mnuW1"));
    for (int k = 0; k <= 2; ++k)
        add(view, QStringLiteral("mnuTrack_Labelki(%1)").arg(k), {}, true)->setChecked(true);
    add(view, QStringLiteral("mnuHelp"), {}, true);
    separator(view, QStringLiteral("sepWidok1"));
    add(view, QStringLiteral("mnuTrack_Refresh"), QKeySequence(Qt::Key_F5));
}

void MainMenus::buildOptionsToolsAndInfoMenus(QMenuBar* bar) {
    QMenu* options = topMenu(bar, QStringLiteral("mnuOptions"));
    add(options, QStringLiteral("mnuOptions_Rec"), QKeySequence(Qt::CTRL | Qt::Key_R));
    add(options, QStringLiteral("mnuSetting"), QKeySequence(Qt::CTRL | Qt::Key_U));
    add(options, QStringLiteral("mnuFile_Lista"), QKeySequence(Qt::CTRL | Qt::Key_L));

    QMenu* tools = topMenu(bar, QStringLiteral("mnuTools"));
    add(tools, QStringLiteral("mnuEdytor"), QKeySequence(Qt::CTRL | Qt::Key_F));
    add(tools, QStringLiteral("mnuHidden"), QKeySequence(Qt::CTRL | Qt::Key_H));

    QMenu* info = topMenu(bar, QStringLiteral("mnu_Info"));
    add(info, QStringLiteral("mnu_Inform"));
    add(info, QStringLiteral("mnu_Info_Legend"), QKeySequence(Qt::SHIFT | Qt::Key_F1));
    add(info, QStringLiteral("mnuUpdate"));
}

void MainMenus::buildPopUpMenus(QMainWindow* window) {
    // Pop-up menus: never on the menu bar.
    QMenu* play = addMenu(window, nullptr, QStringLiteral("mnuPlay"), QStringLiteral("Play"));
    add(play, QStringLiteral("mnuPlay_All"), QKeySequence(Qt::SHIFT | Qt::Key_F8), true);
    add(play, QStringLiteral("mnuPlay_Repeat"), QKeySequence(Qt::SHIFT | Qt::Key_F3), true);
    add(play, QStringLiteral("mnuPlay_Marker"), QKeySequence(Qt::SHIFT | Qt::Key_F4), true);

    // The track panel's options (right button on the panel).
    QMenu* option =
        addMenu(window, nullptr, QStringLiteral("mnuOption"), QStringLiteral("Option"));
    add(option, QStringLiteral("mnuTest_B"), {}, true);
    add(option, QStringLiteral("mnuTest_E"), {}, true);
    option->addSeparator();
    add(option, QStringLiteral("mnuOption_Scan_B"), {}, true);
    add(option, QStringLiteral("mnuOption_Scan"), {}, true);
    add(option, QStringLiteral("mnuPLoop"), {}, true);

    QMenu* time = addMenu(window, nullptr, QStringLiteral("mnuTime"), QStringLiteral("Time"));
    add(time, QStringLiteral("mnuUnits_Jednostki(0)"), {}, true);
    add(time, QStringLiteral("mnuUnits_Jednostki(1)"), {}, true);

    // The preview's play modes (the panel's menu button); one is checked.
    QMenu* mark = addMenu(window, nullptr, QStringLiteral("mnuMark"), QStringLiteral("Mark"));
    add(mark, QStringLiteral("mnuPlayS"), {}, true);
    add(mark, QStringLiteral("mnuPlayR"), {}, true);
    add(mark, QStringLiteral("mnuPlayZa"), {}, true);
    add(mark, QStringLiteral("mnuPlayAll"), {}, true);
    items.value(QStringLiteral("mnuPlayR"))->setChecked(true);

    // Tempo synchronisation: one item per track, filled with the tempo tap.
    addMenu(window, nullptr, QStringLiteral("mnuS"), QStringLiteral("Sync"));

    add(addMenu(window, nullptr, QStringLiteral("mnuSpeed"), QStringLiteral("Speed")),
        QStringLiteral("mnuSpeed_Set"));
    add(addMenu(window, nullptr, QStringLiteral("mnuSpeed2"), QStringLiteral("Speed")),
        QStringLiteral("mnuSpeed2_Set"));
    add(addMenu(window, nullptr, QStringLiteral("mnuBalans"), QStringLiteral("Balance")),
        QStringLiteral("mnuBalans_Set"));
}

void MainMenus::tagNumberedItems() {
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        const int n = MenuNumber(it.key());
        if (n >= 0)
            it.value()->setProperty("Tag", QString::number(n));
    }
}

void MainMenus::translate() const {
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        const int n = MenuNumber(it.key());
        if (n < 0)
            continue; // pop-up menus and separators keep their design captions
        QString caption = CatalogText(2000 + n);
        caption.replace(QLatin1Char('`'), QLatin1Char('\n'));
        it.value()->setText(caption);
    }
}

} // namespace kelbrin
