#pragma once
// The sequence player on the main window: its buttons (previous, back, play,
// play options, pause, stop, forward, next) in the tool frame's second row,
// the Play menu's three modes, and what the player shows:
// box colours, tree images and the time labels under the boxes.

#include "core/playback/PlayerView.h"

#include <QObject>
#include <memory>

class QAction;
class QKeyEvent;
class QPushButton;
class QWidget;

namespace kelbrin {

class EditorController;
class PlayerGraphs;
struct AudioOutputs;
struct LoadedSettings;
class SequencePlayer;
class TrackCommandSet;
class TreeNavigator;
struct MainMenus;

class MainPlayer final : public QObject, public PlayerView {
    Q_OBJECT
public:
    MainPlayer(EditorController& editor, TreeNavigator& tree, TrackCommandSet& commands,
               const MainMenus& menus, QWidget* toolFrame, const LoadedSettings& settings,
               const AudioOutputs& outputs, QObject* parent = nullptr);
    ~MainPlayer() override;

    SequencePlayer& player() const { return *m_player; }
    // What the tag editor asks of the player before it writes a file.
    PlayerGraphs& graphs() const { return *m_graphs; }
    bool isIdle() const;

    // The tool frame's row of player buttons, in twips.
    static constexpr int kButtonRowTop = 555;

    // PlayerView.
    void showLook(const cPozycjaMP3& track, PlayLook look) override;
    void setTimeText(std::int32_t number, const QString& text) override;
    void setTimeVisible(std::int32_t number, bool visible) override;
    void setBusyPointer(bool busy) override;
    void runChanged(bool running) override;
    void modesChanged() override;
    void deleteTrack(std::int32_t number) override;

private:
    QPushButton* addButton(const char* name, const char* tag, int slot);
    QAction* item(const char* name) const;
    void popUpPlayMenu();

    EditorController& m_editor;
    TreeNavigator& m_tree;
    TrackCommandSet& m_commands;
    const MainMenus& m_menus;
    QWidget* m_toolFrame;
    std::unique_ptr<SequencePlayer> m_player;
    std::unique_ptr<PlayerGraphs> m_graphs;
    bool m_busyPointer = false;
    QPushButton* m_play = nullptr;
};

} // namespace kelbrin
