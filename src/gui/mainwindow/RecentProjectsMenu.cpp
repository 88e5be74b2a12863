#include "RecentProjectsMenu.h"

#include "MainMenus.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QAction>

namespace kelbrin {

RecentProjectsMenu::RecentProjectsMenu(const MainMenus& menus, QObject* parent)
    : QObject(parent), m_menus(menus) {
    for (int k = 2; k <= 5; ++k)
        if (QAction* a = item(k)) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, [this, k] {
                // The action flips its own mark when clicked; the mark follows
                // the project, not the click.
                showMarks();
                emit itemChosen(k);
            });
        }
}

QAction* RecentProjectsMenu::item(int element) const {
    return m_menus.item(QStringLiteral("mnuPlik_End(%1)").arg(element));
}

void RecentProjectsMenu::RefreshRecentMenu() {
    bool any = false;
    for (int k = 2; k <= 5; ++k) {
        const QString path = GetSetting(settingkeys::RecentProjectKey(k - 1), QString());
        QAction* a = item(k);
        if (path.isEmpty() || !a)
            continue;
        any = true;
        a->setData(path);
        QString caption = path;
        a->setText(caption.replace(QLatin1Char('&'), QLatin1String("&&")));
        a->setVisible(true);
        if (m_checked == k)
            m_checked = 0;
    }
    if (QAction* separator = item(1))
        separator->setVisible(any);
    showMarks();
}

QString RecentProjectsMenu::ItemPath(int element) const {
    const QAction* a = item(element);
    return a && a->isVisible() ? a->data().toString() : QString();
}

void RecentProjectsMenu::SetCheckedItem(int element) {
    m_checked = element >= 2 && element <= 5 && item(element) && item(element)->isVisible() ? element : 0;
    showMarks();
}

void RecentProjectsMenu::showMarks() {
    for (int k = 2; k <= 5; ++k)
        if (QAction* a = item(k))
            a->setChecked(k == m_checked);
}

} // namespace kelbrin
