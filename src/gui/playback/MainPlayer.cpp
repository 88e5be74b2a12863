#include "MainPlayer.h"

#include "core/document/PlayerGraphs.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/GraphEditor.h"
#include "core/editor/TrackGraph.h"
#include "core/playback/SequencePlayer.h"
#include "gui/app/BusyPointer.h"
#include "gui/app/Twips.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/editor/TrackSurface.h"
#include "gui/editor/TreeNavigator.h"
#include "gui/mainwindow/MainMenus.h"
#include "platform/media/Clock.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace kelbrin {

namespace {
// The tag editor's request reaches the window's player.
class WindowPlayerGraphs final : public PlayerGraphs {
public:
    explicit WindowPlayerGraphs(SequencePlayer& player) : m_player(player) {}
    void ReleaseGraphsBeforeTagWrite() override { m_player.ReleaseGraphsBeforeTagWrite(); }

private:
    SequencePlayer& m_player;
};

constexpr std::uint32_t kPlayingColour = 0x0000FF; // red
constexpr std::uint32_t kPausedColour = 0x00FFFF;  // yellow

// The play button: a right click pops up the Play menu; a left click plays.
class PlayButton final : public QPushButton {
public:
    using QPushButton::QPushButton;
    std::function<void()> rightClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::RightButton) {
            if (rightClick)
                rightClick();
            return;
        }
        QPushButton::mouseReleaseEvent(event);
    }
};
} // namespace

MainPlayer::MainPlayer(EditorController& editor, TreeNavigator& tree, TrackCommandSet& commands,
                       const MainMenus& menus, QWidget* toolFrame, const LoadedSettings& settings,
                       const AudioOutputs& outputs, QObject* parent)
    : QObject(parent), m_editor(editor), m_tree(tree), m_commands(commands), m_menus(menus),
      m_toolFrame(toolFrame) {
    GraphEditor& g = editor.editor();
    m_player = std::make_unique<SequencePlayer>(
        ProgramClock(), [&editor] { return &editor.tracks(); }, g.run, *this,
        [&g] { return g.lngSelectedTrack; }, settings, outputs);
    SequencePlayer& p = *m_player;
    m_graphs = std::make_unique<WindowPlayerGraphs>(p);

    if (m_toolFrame) {
        connect(addButton("cmdPrev", "1117;5003", 0), &QPushButton::clicked, this, [&p] { p.cmdPrev_Click(); });
        connect(addButton("cmdMove(0)", "1112;5004", 1), &QPushButton::clicked, this, [&p] { p.cmdMove_Click(0); });
        auto* play = new PlayButton(m_toolFrame);
        play->setObjectName(QStringLiteral("cmdPlay"));
        play->setProperty("Tag", QStringLiteral("1116;5005"));
        play->setGeometry(TwipRect{510.0 * 2, kButtonRowTop, 495, 435}.toPx());
        play->rightClick = [this] { popUpPlayMenu(); };
        connect(play, &QPushButton::clicked, this, [&p] { p.cmdPlay_Click(); });
        m_play = play;
        connect(addButton("cmdMenu", "1127;5006", 3), &QPushButton::clicked, this, [this] { popUpPlayMenu(); });
        connect(addButton("cmdPause", "1122;5007", 4), &QPushButton::clicked, this, [&p] { p.cmdPause_Click(); });
        connect(addButton("cmdStop", "1119;5008", 5), &QPushButton::clicked, this, [&p] { p.cmdStop_Click(); });
        connect(addButton("cmdMove(1)", "1118;5009", 6), &QPushButton::clicked, this, [&p] { p.cmdMove_Click(1); });
        connect(addButton("cmdNext", "1107;5010", 7), &QPushButton::clicked, this, [&p] { p.cmdNext_Click(); });
    }

    if (QAction* a = item("mnuPlay_All")) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [&p] { p.mnuPlay_All_Click(); });
    }
    if (QAction* a = item("mnuPlay_Marker"))
        connect(a, &QAction::triggered, this, [&p] { p.mnuPlay_Marker_Click(); });
    if (QAction* a = item("mnuPlay_Repeat")) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [&p] { p.mnuPlay_Repeat_Click(); });
    }
    modesChanged();
}

MainPlayer::~MainPlayer() {
    m_player->Shutdown();
    if (m_busyPointer)
        QApplication::restoreOverrideCursor();
}

bool MainPlayer::isIdle() const { return !m_player->isRunning(); }

QPushButton* MainPlayer::addButton(const char* name, const char* tag, int slot) {
    auto* b = new QPushButton(m_toolFrame);
    b->setObjectName(QLatin1String(name));
    b->setProperty("Tag", QLatin1String(tag));
    b->setGeometry(TwipRect{510.0 * slot, kButtonRowTop, 495, 435}.toPx());
    return b;
}

QAction* MainPlayer::item(const char* name) const { return m_menus.item(QLatin1String(name)); }

void MainPlayer::popUpPlayMenu() {
    if (QMenu* menu = m_menus.menu(QStringLiteral("mnuPlay")))
        menu->popup(QCursor::pos());
}

void MainPlayer::showLook(const cPozycjaMP3& track, PlayLook look) {
    const std::int32_t n = track.lngNrPozycji;
    TrackSurface* surface = m_editor.surface();
    switch (look) {
    case PlayLook::Playing:
        if (surface)
            surface->setPlayColour(n, kPlayingColour);
        m_tree.SetTrackImage(n, QStringLiteral("play"));
        break;
    case PlayLook::Paused:
        if (surface)
            surface->setPlayColour(n, kPausedColour);
        m_tree.SetTrackImage(n, QStringLiteral("pause"));
        break;
    case PlayLook::Idle:
        if (surface)
            surface->setPlayColour(n, std::nullopt);
        m_tree.SetTrackImage(n, track.blnZablokowany ? QStringLiteral("blok") : QStringLiteral("stop"));
        break;
    }
}

void MainPlayer::setTimeText(std::int32_t number, const QString& text) {
    if (TrackSurface* surface = m_editor.surface())
        surface->setTimeText(number, text);
}

void MainPlayer::setTimeVisible(std::int32_t number, bool visible) {
    const QAction* labels = item("mnuTrack_Labelki(1)");
    if (TrackSurface* surface = m_editor.surface())
        surface->setTimeVisible(number, visible && (!labels || labels->isChecked()));
}

void MainPlayer::setBusyPointer(bool busy) {
    if (busy == m_busyPointer)
        return;
    m_busyPointer = busy;
    ShowBusyPointer(busy);
}

void MainPlayer::runChanged(bool running) {
    // The play button stays usable during a run: pressed again it ends the
    // run (or restarts it in repeat mode).
    if (m_play && !running)
        m_play->setEnabled(true);
}

void MainPlayer::modesChanged() {
    const SequencePlayer& p = *m_player;
    if (QAction* a = item("mnuPlay_All"))
        a->setChecked(p.mnuPlay_All);
    if (QAction* a = item("mnuPlay_Marker")) {
        a->setChecked(p.mnuPlay_Marker);
        a->setEnabled(p.mnuPlay_MarkerEnabled);
    }
    if (QAction* a = item("mnuPlay_Repeat"))
        a->setChecked(p.mnuPlay_Repeat);
}

void MainPlayer::deleteTrack(std::int32_t number) {
    m_editor.editor().lngSelectedTrack = number;
    m_commands.DeleteTrack(number);
}

} // namespace kelbrin
