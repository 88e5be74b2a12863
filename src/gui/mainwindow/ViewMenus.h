#pragma once
// The View, Options and Info menus of the main window: the help panel, the
// advanced view (track list, tag frame and clone button instead of the
// player's transport and the graph-editing buttons and items), the preview
// loop, the recording options' availability and the commands that only open
// another window.

#include <QHash>
#include <QObject>
#include <QPoint>
#include <functional>

class QAction;
class QWidget;

namespace kelbrin {

class frmDazudizi;

class ViewMenus final : public QObject {
public:
    explicit ViewMenus(frmDazudizi& window);

    // Inverts the advanced view (F9) and stores it.
    void mnulvw_Click();
    // Shows the advanced view on or off, as the item's check mark says.
    void ApplyAdvancedView(bool on);
    void mnuHelp_Click();
    // Runs when the Options menu opens.
    void mnuOptions_Click();
    void mnu_Inform_Click();

    // The recording windows plug in here; until they do, their commands
    // stay disabled and their keys do nothing.
    void SetRecordingOptionsWindow(std::function<void()> show);
    void SetRecorderWindow(std::function<void()> show);

    // The tool buttons that the advanced view hides.
    static const char* const kTransportAndGraphButtons[];
    // The menu items that the advanced view hides.
    static const char* const kGraphMenuItems[];

private:
    QAction* item(const char* name) const;
    QWidget* tool(const char* name) const;

    frmDazudizi& m_window;
    QHash<QString, QPoint> m_design; // design places of the buttons the view moves
    Qt::FocusPolicy m_treeFocus; // the tree's own, back in the normal view
    std::function<void()> m_showRecordingOptions;
    std::function<void()> m_showRecorder;
};

} // namespace kelbrin
