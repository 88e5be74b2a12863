#pragma once
// The main window's menus: the menu bar (File, Track, View, Options, Tools,
// Info) and the pop-up menus of the track panel and the player. Every item is
// a QAction whose objectName is the item's name ("mnuPlik_End(2)" for element
// 2 of an item array) and whose "Tag" property holds its menu number; the
// caption is text 2000 plus that number.

#include <QHash>
#include <QKeySequence>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

namespace kelbrin {

struct MainMenus {
    QHash<QString, QAction*> items;
    QHash<QString, QMenu*> menus;

    QAction* item(const QString& name) const { return items.value(name); }
    QMenu* menu(const QString& name) const { return menus.value(name); }

    // Builds every menu into the window's menu bar (and the pop-ups beside it).
    void build(QMainWindow* window);
    // Step 1 to 5 of the window's language pass for the menus: captions from
    // the catalogue by menu number; pop-up menus without a number keep theirs.
    void translate() const;

private:
    QMenu* addMenu(QMainWindow* window, QMenu* parent, const QString& name,
                   const QString& designCaption);
    QMenu* topMenu(QMenuBar* bar, const QString& name);
    // Names a new menu and its item, and lists both.
    QMenu* registerMenu(QMenu* m, const QString& name);
    QAction* add(QMenu* m, const QString& name, const QKeySequence& key = {},
                 bool checkable = false);
    void separator(QMenu* m, const QString& name);
    void buildFileMenu(QMenuBar* bar);
    void buildTrackMenu(QMenuBar* bar);
    void buildViewMenu(QMenuBar* bar);
    void buildOptionsToolsAndInfoMenus(QMenuBar* bar);
    void buildPopUpMenus(QMainWindow* window);
    void tagNumberedItems();
};

// The menu number of each numbered item.
int MenuNumber(const QString& itemName);

} // namespace kelbrin
