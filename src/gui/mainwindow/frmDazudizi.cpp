#include "frmDazudizi.h"

#include "gui/playback/FadeEditorHost.h"

#include "AutoSave.h"
#include "DelayTimers.h"
#include "FileMenu.h"
#include "HelpFrameEdge.h"
#include "HelpLineMembers.h"
#include "LongWorkHold.h"
#include "MainKeys.h"
#include "PanelSplitters.h"
#include "ViewMenus.h"
#include "MainClose.h"
#include "MainOpenFiles.h"
#include "MainWindowRequests.h"
#include "WindowCloseSteps.h"
#include "MainLayout.h"
#include "MainRecorder.h"
#include "MainSourceToolHost.h"
#include "ProjectCommands.h"
#include "RecentProjectsMenu.h"
#include "PanelFollowsTracks.h"
#include "TrackPanel.h"
#include "TrackPanelFrame.h"
#include "UpdateCommand.h"
#include "core/app/BusyRefusal.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/app/SettingsOptions.h"
#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/MpegHeader.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjeMP3.h"
#include "core/project/ProjectRecords.h"
#include "core/project/ScriptExport.h"
#include "core/recording/CaptureEngine.h"
#include "gui/app/BusyPointer.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/FramePlacement.h"
#include "gui/app/MapRetry.h"
#include "gui/app/ProgramIcons.h"
#include "gui/app/Translation.h"
#include "gui/document/frmFrame.h"
#include "gui/document/frmHidden.h"
#include "gui/app/frmSettings.h"
#include "gui/recording/frmRecording.h"
#include "gui/document/frmPliki.h"
#include "gui/export/ScriptExportRun.h"
#include "gui/export/SplitCommands.h"
#include "gui/export/SplitViewsAdapter.h"
#include "gui/export/SplitWindowCommands.h"
#include "gui/export/frmPozycje.h"
#include "gui/export/frmSave.h"
#include "gui/app/Twips.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/editor/TrackSurface.h"
#include "gui/editor/TreeNavigator.h"
#include "gui/editor/frmLegend.h"
#include "gui/playback/MainPlayer.h"
#include "core/playback/SequencePlayer.h"
#include "platform/media/Clock.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <utility>

namespace kelbrin {

namespace {
frmDazudizi* g_instance = nullptr;
using texts::kExportDialogOpen;
} // namespace

frmDazudizi* frmDazudizi::Instance() { return g_instance; }

frmDazudizi::frmDazudizi(ProgramObjects& program, QWidget* parent)
    : QMainWindow(parent), m_program(program) {
    setObjectName(QStringLiteral("frmDazudizi"));
    setAttribute(Qt::WA_DeleteOnClose);
    g_instance = this;
    m_timers = new DelayTimers(this);
    m_menus.build(this);
    buildControls();
    SetHintSink([this](const QString& text) { ShowHelpText(text); });
    InstallHintOnHover(this);
}

frmDazudizi::~frmDazudizi() {
    // The player plays the editor's tracks: it stops before the editor goes,
    // which as an older child would otherwise be deleted first.
    delete std::exchange(m_player, nullptr);
    if (g_instance == this) {
        g_instance = nullptr;
        SetHintSink(nullptr);
    }
}

void frmDazudizi::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    buildClientWidgets(client);
    wireToolMenuItems();
    buildEditor(client);
    wireSettingsMenuItems();
    buildTreeAndPlayer();

    buildToolButtons();
    // The split dialog answers the editor's requests (split, paste as new);
    // adding a track goes through this window, whose tree shows the new node
    // (MainWindowRequests, handed in with the track panel).
    InstallSplitDialog(*this);
    InstallFadeEditors(*this);
    // The number pad's "+" reaches the add command through the window's
    // keys wherever the focus is, the tree included; the tree adds nothing twice.
    wireProjectCommands();
    wireTrackPanel();

    m_views = new ViewMenus(*this);
    SetRecordingOptionsWindow([this] { frmRecording::PokazMnie(m_program.recording); });
    m_splitters = new PanelSplitters(*this);
    JoinHelpLine(*this);
    m_keys = new MainKeys(*this, *this);
    InstallRecorder(*this);
}

// The tree, the list, the panel and help frames, the tool frame and the
// information and progress lines of the window's client area.
void frmDazudizi::buildClientWidgets(QWidget* client) {
    m_tvwNodes = new QTreeWidget(client);
    m_tvwNodes->setObjectName(QStringLiteral("tvwNodes"));
    m_tvwNodes->setHeaderHidden(true);
    // Deep chains reach past the tree's right edge: the column takes the
    // width of its names and scrolls, instead of cutting them short with "...".
    m_tvwNodes->header()->setStretchLastSection(false);
    m_tvwNodes->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tvwNodes->setProperty("Tag", QStringLiteral("2070;5070"));
    m_tvwNodes->setGeometry(TwipRect{0, 0, 2500, 3000}.toPx());

    m_lvwNodes = new QTreeWidget(client);
    m_lvwNodes->setObjectName(QStringLiteral("lvwNodes"));
    m_lvwNodes->setRootIsDecorated(false);
    m_lvwNodes->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvwNodes->hide();

    m_fraAudio = new TrackPanelFrame(client);
    // In the advanced view the panel stands over the tree: nothing of it shows through.
    m_fraAudio->setAutoFillBackground(true);
    m_fraAudio->resize(m_fraAudio->width(), TwipsToPx(2600));
    m_fraAudio->hide();

    m_fraHelp = new QGroupBox(client);
    m_fraHelp->setObjectName(QStringLiteral("fraHelp"));
    m_fraHelp->setProperty("Tag", QStringLiteral("2559;0"));
    m_fraHelp->resize(m_fraHelp->width(), TwipsToPx(700));
    // Nothing under the frame shows through its title's row.
    m_fraHelp->setAutoFillBackground(true);
    m_lblHelp = new QLabel(m_fraHelp);
    m_lblHelp->setObjectName(QStringLiteral("lblHelp"));
    m_lblHelp->setWordWrap(true);
    m_lblHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblHelp->setGeometry(TwipRect{50, 250, 5000, 400}.toPx());

    m_fraTools = new QFrame(client);
    m_fraTools->setObjectName(QStringLiteral("fraTools"));
    // Two rows: the track commands, then the player's buttons.
    m_fraTools->resize(m_fraTools->width(), TwipsToPx(MainPlayer::kButtonRowTop + 495));
    m_cmdSave = new QPushButton(m_fraTools);
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdSave->setProperty("Tag", QStringLiteral("1153;5023"));
    m_cmdSave->setGeometry(TwipRect{0, 60, 495, 435}.toPx());

    m_lblTrackInfo = new QLabel(client);
    m_lblTrackInfo->setObjectName(QStringLiteral("lblTrackInfo"));
    m_lblTrackInfo->resize(m_lblTrackInfo->width(), TwipsToPx(255));

    m_lblProgress = new QLabel(client);
    m_lblProgress->setObjectName(QStringLiteral("lblProgress"));
    m_lblProgress->setFrameShape(QFrame::Panel);
    m_lblProgress->setFrameShadow(QFrame::Sunken);
    m_lblProgress->resize(m_lblProgress->width(), TwipsToPx(255));

    m_shpPostep = new QFrame(client);
    m_shpPostep->setObjectName(QStringLiteral("shpPostep"));
    m_shpPostep->setAutoFillBackground(true);
    SetProgressColour(kFrameColour);
    m_shpPostep->setGeometry(0, 0, 0, TwipsToPx(180));
}

void frmDazudizi::wireToolMenuItems() {
    // A menu item is enabled only by the part of the window that carries out
    // its command.
    for (QAction* a : m_menus.items)
        if (!a->menu() && !a->isSeparator())
            a->setEnabled(false);
    for (const char* name : {"mnuTrack_Labelki(2)", "mnuFile_Lista", "mnuEdytor", "mnuHidden"})
        m_menus.item(QLatin1String(name))->setEnabled(true);
    connect(m_menus.item(QStringLiteral("mnuTrack_Labelki(2)")), &QAction::triggered, this,
            [this](bool on) {
                m_lblTrackInfo->setVisible(on);
                Form_Resize();
            });
    connect(m_menus.item(QStringLiteral("mnuFile_Lista")), &QAction::triggered, this, [this] {
        if (!ReadyOrSayBusy(CanChangeProject()))
            return;
        frmPliki::PokazMnie(std::make_unique<MainOpenFiles>(*this), this);
    });
    // The tools that change source files in place.
    m_toolHost = std::make_unique<MainSourceToolHost>(*this);
    connect(m_menus.item(QStringLiteral("mnuEdytor")), &QAction::triggered, this,
            [this] { frmFrame::PokazMnie(*m_toolHost, this); });
    connect(m_menus.item(QStringLiteral("mnuHidden")), &QAction::triggered, this,
            [this] { frmHidden::PokazMnie(*m_toolHost, this); });
}

void frmDazudizi::buildEditor(QWidget* client) {
    // The track graph editor: its surface stands where picWork goes, under the list.
    EditorControllerParts parts;
    parts.tracks = [this] { return m_cPozycje.get(); };
    parts.surfaceParent = client;
    parts.list = m_lvwNodes;
    parts.hoverLabel = m_lblTrackInfo;
    parts.menus = &m_menus;
    parts.controls = this;
    parts.toolFrame = m_fraTools;
    m_editor = new EditorController(parts, m_program.settings, this);
    m_picWork = m_editor->surface();
    m_picWork->lower();
    wireHelpEdge();
    m_commands = new TrackCommandSet(*m_editor, &m_menus, m_fraTools, &m_CpozSchowek, this, this);
}

void frmDazudizi::wireSettingsMenuItems() {
    QAction* legend = m_menus.item(QStringLiteral("mnu_Info_Legend"));
    legend->setEnabled(true);
    connect(legend, &QAction::triggered, this, [this] { frmLegend::PokazMnie(this); });
    QAction* settings = m_menus.item(QStringLiteral("mnuSetting"));
    settings->setEnabled(true);
    connect(settings, &QAction::triggered, this, [this] {
        // The panel's device box follows a device given to every track.
        if (frmSettings* dialog = frmSettings::PokazMnie(m_program, this, m_cPozycje))
            connect(dialog, &frmSettings::devicesApplied, m_panel, &TrackPanel::ShowDevice, Qt::UniqueConnection);
    });
    QAction* update = m_menus.item(QStringLiteral("mnuUpdate"));
    update->setEnabled(true);
    connect(update, &QAction::triggered, this, [this] {
        // The check waits for the network like a long operation: none starts
        // under another, and the window cannot close while it waits.
        if (!ReadyOrSayBusy(CanChangeProject()))
            return;
        LongWorkHold hold(*this);
        mnuUpdate_Click();
    });
}

void frmDazudizi::buildTreeAndPlayer() {
    m_tree = new TreeNavigator(*m_tvwNodes, *m_editor, *m_commands, &m_menus, this);
    m_tree->selectionChanged = [this](std::int32_t number) { m_lngSelectedTrack = number; };
    m_editor->setTree(m_tree);

    m_player = new MainPlayer(*m_editor, *m_tree, *m_commands, m_menus, m_fraTools,
                              m_program.settings, m_program.outputs, this);
}

void frmDazudizi::wireTrackPanel() {
    m_panel = new TrackPanel(*this);
    InstallPanelFollower(*this);
    // Heard after the panel has shown the restored values: a project undone
    // or redone back to what its file holds has nothing left to save.
    m_editor->beforeUndoStep = [this] { m_projects->controller().BeforeUndoStep(); };
    connect(m_editor, &EditorController::tracksRestored, this,
            [this] { m_projects->controller().ForgetChangesIfSaved(); });
    m_editor->setTrackWindows(std::make_unique<MainWindowRequests>(*this));
}

void frmDazudizi::wireHelpEdge() {
    // The help box lies over the bottom of the surface; its top edge is
    // dragged from the surface.
    m_editor->surface()->setHelpEdge(new HelpFrameEdge(*this));
}

void frmDazudizi::buildToolButtons() {
    // After the track commands' buttons.
    m_cmdDodaj = new QPushButton(m_fraTools);
    m_cmdDodaj->setObjectName(QStringLiteral("cmdDodaj"));
    m_cmdDodaj->setProperty("Tag", QStringLiteral("1105;5000"));
    m_cmdDodaj->setGeometry(TwipRect{1100 + 510 * 13, 60, 495, 435}.toPx());
    connect(m_cmdDodaj, &QPushButton::clicked, this, [this] { cmdDodaj_Click(); });

    // The clone button has no tag of its own: its picture is set here and its
    // caption by LoadLang, and it shows only in the advanced view.
    m_cmdKlon = new QPushButton(m_fraTools);
    m_cmdKlon->setObjectName(QStringLiteral("cmdKlon"));
    m_cmdKlon->setIcon(ProgramIcon(1151));
    // It stands where the graph-editing buttons leave room in the advanced view.
    m_cmdKlon->setGeometry(TwipRect{1100 + 510 * 2, 60, 495, 435}.toPx());
    m_cmdKlon->setEnabled(false);
    m_cmdKlon->hide();
    connect(m_cmdKlon, &QPushButton::clicked, this, [this] {
        if (!m_editor->controlEnabled(QStringLiteral("cmdCopy")) || !ReadyOrSayBusy(CanChangeProject()))
            return;
        cmdKlon_Click(*this);
        // The clone plays at once from its begin (the "mnuPlayR" play mode).
        m_panel->SetPlayMode(0);
    });

    // The recorder window's button, in the player's row; the recorder plugs
    // its window in through SetRecorderWindow.
    m_cmdRecord = new QPushButton(m_fraTools);
    m_cmdRecord->setObjectName(QStringLiteral("cmdRecord"));
    m_cmdRecord->setProperty("Tag", QStringLiteral("1162;5011"));
    m_cmdRecord->setGeometry(TwipRect{510 * 8 + 100, MainPlayer::kButtonRowTop, 495, 435}.toPx());
    m_cmdRecord->setEnabled(false);

    connect(m_cmdSave, &QPushButton::clicked, this, [this] {
        if (m_menus.item(QStringLiteral("mnuFile_Save"))->isEnabled())
            m_fileMenu->mnuFile_Save_Click();
    });
}

void frmDazudizi::cmdDodaj_Click() {
    // While the split dialog is open the add button is off; the command
    // brings that dialog forward.
    if (!m_cmdDodaj->isEnabled()) {
        if (frmPozycje* open = frmPozycje::Instance(); open && open->isVisible()) {
            open->raise();
            open->activateWindow();
        }
        return;
    }
    SplitViewsParts parts;
    parts.window = this;
    parts.editor = m_editor;
    parts.addTreeNode = [this](const cPozycjaMP3& track) { m_tree->TrackAdded(track); };
    AddTrackThroughSplit(MakeSplitHost(parts), this);
}

void frmDazudizi::wireProjectCommands() {
    m_projects = std::make_unique<ProjectCommands>(*this);

    m_fileMenu = new FileMenu(m_menus, *m_projects, m_projects->controller(),
                              std::make_unique<MainWindowRequests>(*this), this);

    m_close = std::make_unique<MainClose>(*this, m_program, m_menus, ProgramClock(),
                                          std::make_unique<WindowCloseSteps>(*this));

    m_scriptExport = std::make_unique<ScriptExportRun>(*this);
}

std::unique_ptr<ScriptExport>
frmDazudizi::SetScriptExporter(std::unique_ptr<ScriptExport> exporter) {
    std::swap(m_scriptExport, exporter);
    return exporter;
}

bool frmDazudizi::ExportDialogHoldsTracks() {
    const frmSave* dialog = frmSave::Instance();
    if (!dialog || !dialog->isVisible())
        return false;
    ShowText(kExportDialogOpen, mb::Information);
    return true;
}

void frmDazudizi::TworzUndo() { m_editor->TworzUndo(); }

void frmDazudizi::DrawTrackGraph(bool rebuildSuccessors) {
    m_editor->DrawTrackGraph(rebuildSuccessors);
    m_editor->RebuildViews();
}

QString frmDazudizi::TitleText() {
    const QStringList parts = QCoreApplication::applicationVersion().split(QLatin1Char('.'));
    QStringList numbers;
    for (int i = 0; i < 3; ++i)
        numbers << QString::number(i < parts.size() ? ValLong(parts[i]) : 0);
    return GetText(101, QStringLiteral("|1"), QStringLiteral("Linux")) +
           numbers.join(QLatin1Char('.')) + GetText(102);
}

void frmDazudizi::PokazMnie() {
    m_ProjectDate = project_format::DateValue(QDate::currentDate());
    m_player->player().blnPause = false;
    m_cPozycje = std::make_shared<cPozycjeMP3>();
    Form_Load();
    show();
    // A window manager starting with the session may leave the first map unanswered.
    RetryMapUntilShown(this);
    m_loaded = true;
    Form_Resize();
    m_tree->mnuView_Tree_Click();
}

void frmDazudizi::Form_Load() {
    m_menus.item(QStringLiteral("mnuHelp"))
        ->setChecked(Val(GetSetting(settingkeys::kHelp, QStringLiteral("1"))) != 0);
    m_FontSize = StoredFontSize();
    m_menus.item(QStringLiteral("mnuPLoop"))
        ->setChecked(Val(GetSetting(settingkeys::kLoopProp, QStringLiteral("0"))) != 0);
    m_NodeSize = StoredNodeSize();
    m_editor->editor().setNodeSize(m_NodeSize);
    m_editor->editor().mouseSensitivity = m_program.settings.MouseSensitivity;
    SaveSetting(settingkeys::kFontSize, QString::number(m_FontSize));
    QFont viewFont = m_tvwNodes->font();
    viewFont.setPointSize(m_FontSize);
    m_tvwNodes->setFont(viewFont);
    m_lvwNodes->setFont(viewFont);
    m_editor->surface()->setLabelFontSize(m_FontSize);
    m_lngSelectedTrack = 0;

    LoadLang();

    m_fraAudio->cboGenre->clear();
    for (int i = 0; i <= 256; ++i) {
        const QString name = GenreName(static_cast<std::int16_t>(i));
        if (!name.isEmpty())
            m_fraAudio->cboGenre->addItem(name, i);
    }

    m_program.session.NextTrackNo = 1;
    m_program.session.NextFileId = 1;
    m_blnClose = true;
    setWindowTitle(TitleText());
    ApplyButtonIcons(this);
    m_panel->ApplyTooltips();

    MaxProgress(100);
    ZerujProgress();

    // The program is installed by the system's packages, so only the last run
    // is recorded here; nothing is copied over another installation.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QStringList parts = QCoreApplication::applicationVersion().split(QLatin1Char('.'));
    QString digits;
    for (int i = 0; i < 3; ++i)
        digits += QString::number(i < parts.size() ? ValLong(parts[i]) : 0);
    SaveSetting(QStringLiteral("AppLastVersion"), digits);
    SaveSetting(QStringLiteral("AppLastPath"), program.absolutePath());
    SaveSetting(QStringLiteral("AppLastName"), program.completeBaseName());

    m_tree->treeWorks = ClearTree();
    m_fileMenu->recent().RefreshRecentMenu();

    m_lvwNodes->clear();
    const int columns[][2] = {{3212, 1740}, {3213, 1000}, {3214, 1000},
                              {3234, 1000}, {3215, 4500}, {3216, 4200}};
    m_lvwNodes->setColumnCount(6);
    QStringList headers;
    for (const auto& c : columns)
        headers << GetText(c[0]);
    m_lvwNodes->setHeaderLabels(headers);
    for (int i = 0; i < 6; ++i)
        m_lvwNodes->setColumnWidth(i, TwipsToPx(columns[i][1]));
    m_lvwStyle.setHWnd(m_lvwNodes);
    m_lvwStyle.setFullRowSelect(true);
    m_lvwStyle.setGridlines(true);

    const int adv = ValLong(GetSetting(settingkeys::kAdvView, QStringLiteral("2")));
    if (adv == 1 || adv == 2)
        m_views->mnulvw_Click();
    restorePlacement();
}

void frmDazudizi::restorePlacement() {
    const int state = ValLong(GetSetting(settingkeys::kWindowState, QStringLiteral("2")));
    setMinimumWidth(TwipsToPx(kMainMinOuterWidth));
    // The normal placement is set whatever the state, so that a window started
    // maximized or minimized comes back to a usable size.
    const QRect available = QApplication::primaryScreen()
                                ? QApplication::primaryScreen()->availableGeometry()
                                : QRect(0, 0, 1920, 1080);
    TwipRect stored;
    stored.width = Val(GetSetting(settingkeys::kWidth, QStringLiteral("11325")));
    stored.height = Val(GetSetting(settingkeys::kHeight, QStringLiteral("5790")));
    stored.left = Val(GetSetting(settingkeys::kLeft, QStringLiteral("0")));
    stored.top = Val(GetSetting(settingkeys::kTop, QStringLiteral("0")));
    const QRect normal = NormalPlacement(stored, TwipRect::fromPx(available)).toPx();
    setWindowState(Qt::WindowNoState);
    resize(normal.size());
    // A first start has no place stored: the window manager chooses one with
    // the title bar on the screen. A stored place is the frame's.
    if (!GetSetting(settingkeys::kLeft, QString()).isEmpty() ||
        !GetSetting(settingkeys::kTop, QString()).isEmpty()) {
        move(normal.topLeft());
        PlaceFrameWhenFramed(this, normal.topLeft());
    }
    if (state == 1)
        setWindowState(Qt::WindowMinimized);
    else if (state == 2)
        setWindowState(Qt::WindowMaximized);
}

void frmDazudizi::LoadLang() {
    m_menus.translate();
    // The clone button carries its caption beside its picture, as wide as it needs.
    m_cmdKlon->setText(GetText(2192));
    m_cmdKlon->resize(std::max(TwipsToPx(495), m_cmdKlon->sizeHint().width()), m_cmdKlon->height());
    // Labels and frames take the text their Tag names.
    LoadLangCaptions(this);
    if (m_panel)
        m_panel->Retranslate();
}

void frmDazudizi::ClearUndoHistory() { m_editor->ClearUndoHistory(); }

bool frmDazudizi::ClearTree() {
    m_tvwNodes->clear();
    return true;
}

void frmDazudizi::ShowHelpText(const QString& text) {
    m_lblHelp->setText(DisplayText(text));
}

void frmDazudizi::Form_Resize() {
    QWidget* client = centralWidget();
    if (!client)
        return;
    m_fraHelp->setVisible(m_menus.item(QStringLiteral("mnuHelp"))->isChecked());

    MainLayoutInput in;
    in.innerWidth = PxToTwips(client->width());
    in.innerHeight = PxToTwips(client->height());
    in.outerWidth = PxToTwips(frameGeometry().width());
    in.treeWidth = PxToTwips(m_tvwNodes->width());
    in.toolFrameHeight = PxToTwips(m_fraTools->height());
    in.progressHeight = PxToTwips(m_lblProgress->height());
    in.trackInfoHeight = PxToTwips(m_lblTrackInfo->height());
    in.trackInfoVisible = m_menus.item(QStringLiteral("mnuTrack_Labelki(2)"))->isChecked();
    in.trackPanelVisible = m_fraAudio->isVisibleTo(this);
    // The help frame keeps its place while hidden, so showing it needs no new layout.
    in.helpFrameHeight = PxToTwips(m_fraHelp->height());
    in.helpFrameVisible = m_menus.item(QStringLiteral("mnuHelp"))->isChecked();
    in.advancedView = m_menus.item(QStringLiteral("mnulvw"))->isChecked();
    in.frame2Left = PxToTwips(m_fraAudio->Frame2->x());
    in.frame2Top = PxToTwips(m_fraAudio->Frame2->y());
    in.speedScrollLeft = PxToTwips(m_fraAudio->HScrSpeed->x());
    in.speedLabelLeft = PxToTwips(m_fraAudio->lblSpeed->x());
    in.balanceScrollLeft = PxToTwips(m_fraAudio->HScrBalance->x());
    in.balanceLabelLeft = PxToTwips(m_fraAudio->lblBal->x());
    in.deviceFrameLeft = PxToTwips(m_fraAudio->fraDevice->x());
    in.deviceComboLeft = PxToTwips(m_fraAudio->cboDevice->x());
    in.saveButtonWidth = PxToTwips(m_cmdSave->width());
    // The panel's height follows its width: a narrow panel stacks its controls.
    in.trackPanelHeight = TrackPanelFrame::HeightForWidth(ComputeMainLayout(in).trackPanel.width);
    const MainLayoutResult r = ComputeMainLayout(in);

    m_fraTools->setGeometry(r.toolFrame.toPx());
    m_lblTrackInfo->setGeometry(r.trackInfo.toPx());
    m_lblTrackInfo->setVisible(in.trackInfoVisible);
    m_fraAudio->setGeometry(r.trackPanel.toPx());
    m_picWork->setGeometry(r.surface.toPx());
    m_tvwNodes->setGeometry(r.tree.toPx());
    if (in.advancedView) {
        m_lvwNodes->setGeometry(r.list.toPx());
        m_lvwNodes->raise();
    }
    m_fraAudio->fraTAG->setVisible(r.tagFrameVisible);
    m_fraAudio->Frame2->setVisible(!r.tagFrameVisible);
    const QRect tag = r.tagFrame.toPx();
    m_fraAudio->fraTAG->setGeometry(tag.x(), tag.y(), tag.width(), m_fraAudio->fraTAG->height());
    m_fraHelp->setGeometry(TwipRect{r.helpFrame.left, r.helpFrame.top, r.helpFrame.width,
                                  double(PxToTwips(m_fraHelp->height()))}.toPx());
    m_lblHelp->resize(std::max(0, TwipsToPx(r.helpTextWidth)), m_lblHelp->height());
    auto setWidth = [](QWidget* w, double twips) { w->resize(std::max(0, TwipsToPx(twips)), w->height()); };
    setWidth(m_fraAudio->HScrSpeed, r.speedScrollWidth);
    setWidth(m_fraAudio->lblSpeed, r.speedLabelWidth);
    setWidth(m_fraAudio->HScrBalance, r.balanceScrollWidth);
    setWidth(m_fraAudio->lblBal, r.balanceLabelWidth);
    setWidth(m_fraAudio->fraDevice, r.deviceFrameWidth);
    setWidth(m_fraAudio->cboDevice, r.deviceComboWidth);
    m_fraAudio->FitPreviewColumn();
    if (m_splitters)
        m_splitters->PlacePanelLine();
    m_lblProgress->setGeometry(r.progressLine.toPx());
    m_cmdSave->move(TwipsToPx(r.saveButtonLeft), m_cmdSave->y());
    m_shpPostep->move(TwipsToPx(r.progressBar.left), TwipsToPx(r.progressBar.top));
    m_shpPostep->raise();
    m_fraHelp->raise();
}

void frmDazudizi::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_loaded)
        Form_Resize();
}

void frmDazudizi::closeEvent(QCloseEvent* event) {
    // Nothing may close the window under a running operation, and the user
    // may keep it to save first.
    if (!m_close->Form_Unload()) {
        event->ignore();
        return;
    }
    m_fileMenu->autosave().SetEnabled(false);
    QMainWindow::closeEvent(event);
}

void frmDazudizi::keyPressEvent(QKeyEvent* event) {
    // Esc during a long operation asks it to stop at its next progress step.
    if (event->key() == Qt::Key_Escape && !m_blnClose) {
        blnScanFailed = true;
        return;
    }
    if (event->key() == Qt::Key_Escape && m_editor->CancelLinkMode())
        return;
    QMainWindow::keyPressEvent(event);
}

KeyUpState frmDazudizi::keyUpState() const {
    KeyUpState s;
    QWidget* focus = QApplication::focusWidget();
    s.panelVisible = m_fraAudio->isVisible();
    s.focusInTagBox = focus && (focus == m_fraAudio->txtTitle || focus == m_fraAudio->txtComment ||
                                focus == m_fraAudio->txtArtist || focus == m_fraAudio->txtAlbum ||
                                focus == m_fraAudio->txtYear);
    s.focusInTextBox = qobject_cast<QLineEdit*>(focus) != nullptr;
    const QWidget* play = m_fraTools->findChild<QWidget*>(QStringLiteral("cmdPlay"));
    s.playEnabled = play && play->isEnabled();
    s.markerItemEnabled = m_menus.item(QStringLiteral("mnuPlay_Marker"))->isEnabled();
    s.addEnabled = m_cmdDodaj->isEnabled();
    s.markerMoveBusy = m_panel->blnPanelBusy();
    return s;
}

void frmDazudizi::runKeyCommand(KeyCommand command) {
    SequencePlayer& p = m_player->player();
    TrackPanel& panel = *m_panel;
    switch (command) {
    case KeyCommand::None: break;
    case KeyCommand::SeqMoveBack: p.cmdMove_Click(0); break;
    case KeyCommand::SeqMoveForward: p.cmdMove_Click(1); break;
    case KeyCommand::PlayAllToggle: p.mnuPlay_All_Click(); break;
    case KeyCommand::RepeatToggle: p.mnuPlay_Repeat_Click(); break;
    case KeyCommand::MarkerToggle: p.mnuPlay_Marker_Click(); break;
    case KeyCommand::Previous: p.cmdPrev_Click(); break;
    case KeyCommand::Play: p.cmdPlay_Click(); break;
    case KeyCommand::Pause: p.cmdPause_Click(); break;
    case KeyCommand::Stop: p.cmdStop_Click(); break;
    case KeyCommand::Next: p.cmdNext_Click(); break;
    case KeyCommand::PasteAsNew: m_commands->mnuTrack_Wklej_Nowy_Click(); break;
    case KeyCommand::Properties: m_commands->mnuTrack_Prop_Click(); break;
    case KeyCommand::AddTrack: cmdDodaj_Click(); break;
    case KeyCommand::PreviewMoveBack: panel.cmdMove2_Click(0); break;
    case KeyCommand::PreviewMoveForward: panel.cmdMove2_Click(1); break;
    case KeyCommand::PreviewScanStepBack: panel.cmdMove2_Click(2); break;
    case KeyCommand::PreviewScanStepForward: panel.cmdMove2_Click(3); break;
    case KeyCommand::PreviewPlay: panel.cmdPlay2_Click(); break;
    case KeyCommand::PreviewPause: panel.cmdPause2_Click(); break;
    case KeyCommand::PreviewStop: panel.cmdStop2_Click(); break;
    case KeyCommand::TestBegin: panel.mnuTest_B_Click(); break;
    case KeyCommand::TestEnd: panel.mnuTest_E_Click(); break;
    case KeyCommand::ScanBackward: panel.mnuOption_Scan_B_Click(); break;
    case KeyCommand::ScanForward: panel.mnuOption_Scan_Click(); break;
    case KeyCommand::MarkBegin: panel.cmdMark_Click(0); break;
    case KeyCommand::MarkEnd: panel.cmdMark_Click(1); break;
    case KeyCommand::TapTempo: panel.cmdBPM_Click(); break;
    }
}

void frmDazudizi::SetRecordingOptionsWindow(std::function<void()> show) {
    m_views->SetRecordingOptionsWindow(std::move(show));
}

void frmDazudizi::SetRecorderWindow(std::function<void()> show) { m_views->SetRecorderWindow(std::move(show)); }

void frmDazudizi::MaxProgress(std::int64_t maximum) {
    m_progressMax = static_cast<double>(maximum);
    if (!m_hourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_hourglass = true;
    }
}

void frmDazudizi::UstawProgress(std::int64_t value) {
    if (static_cast<double>(value) > m_progressMax || m_progressMax == 0)
        return;
    const double innerWidth = PxToTwips(centralWidget()->width());
    m_shpPostep->resize(TwipsToPx(innerWidth / m_progressMax * static_cast<double>(value)),
                      m_shpPostep->height());
    QCoreApplication::processEvents();
}

void frmDazudizi::ZerujProgress() {
    UstawProgress(0);
    if (m_hourglass) {
        QApplication::restoreOverrideCursor();
        m_hourglass = false;
    }
}

void frmDazudizi::EndProgress() {
    if (m_hourglass || m_shpPostep->width() > 0)
        ZerujProgress();
}

void frmDazudizi::SetProgressColour(std::uint32_t colour) {
    QPalette p = m_shpPostep->palette();
    p.setColor(QPalette::Window, ColourFromBgr(colour));
    m_shpPostep->setPalette(p);
}

void frmDazudizi::SetBusyPointer(bool busy) {
    ShowBusyPointer(busy);
    QCoreApplication::processEvents();
}

bool frmDazudizi::IsCaptureFileOpen() {
    return m_program.capture.fileOpen;
}

std::optional<SourceFileChoice> frmDazudizi::ChooseSourceFiles(const SourceFileDialog& dialog) {
    return kelbrin::ChooseSourceFiles(this, dialog);
}

QString frmDazudizi::OpenSourceFile(std::shared_ptr<cPozycjaPlikow>& file, bool& buildIndex,
                                    bool asNewFile, const QString& title, const cPozycjaMP3* track,
                                    bool noTimeLimit, bool offerMediaFiles, QString& folder,
                                    std::int32_t filterIndex) {
    if (!ReadyOrSayBusy(m_blnClose))
        return QString();
    LongWorkHold hold(*this);
    return Plik_Open(*this, &m_program.session, m_program.settings.SourceFolder, file, buildIndex,
                     asNewFile, title, track, noTimeLimit, offerMediaFiles, folder, filterIndex);
}

bool frmDazudizi::OtworzPlik(const QString& path, int mode, bool isScript, bool fromRecorder) {
    if (ExportDialogHoldsTracks())
        return false;
    // A non-zero mode puts the project first in the recent list; the last
    // flag opens without asking about missing sources.
    return m_projects->OtworzPlik(path, mode != 0, isScript, fromRecorder);
}

} // namespace kelbrin
