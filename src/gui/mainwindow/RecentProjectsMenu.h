#pragma once
// The File menu's recent projects: the items "mnuPlik_End(2)" to "(5)" show
// the settings F1 to F4, "mnuPlik_End(1)" is their separator. The check mark
// only shows which item the open project came from; the project's file itself is a value
// the project commands keep, so neither a click on an item nor a caption can
// send a save into another file.

#include <QObject>
#include <QString>

class QAction;

namespace kelbrin {

struct MainMenus;

class RecentProjectsMenu : public QObject {
    Q_OBJECT
public:
    explicit RecentProjectsMenu(const MainMenus& menus, QObject* parent = nullptr);

    // Shows element k for every non-empty setting F(k-1); an element whose
    // setting is empty stays as it was. The separator shows while any path is
    // listed. Elements shown again lose their check mark.
    void RefreshRecentMenu();
    // The path element k stands for; empty when it shows none.
    QString ItemPath(int element) const;

    // The item with the check mark (2 to 5), 0 for none.
    int CheckedItem() const { return m_checked; }
    void SetCheckedItem(int element);

signals:
    // A recent item (2 to 5) was chosen.
    void itemChosen(int element);

private:
    QAction* item(int element) const;
    void showMarks();

    const MainMenus& m_menus;
    int m_checked = 0;
};

} // namespace kelbrin
