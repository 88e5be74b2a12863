#include "ViewMenus.h"

#include "TrackPanelFrame.h"
#include "frmDazudizi.h"
#include "frmInfo.h"
#include "core/app/BusyRefusal.h"
#include "core/app/ProgramObjects.h"
#include "core/recording/RecorderClient.h"
#include "gui/app/Twips.h"
#include "gui/editor/EditorController.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

namespace kelbrin {

const char* const ViewMenus::kTransportAndGraphButtons[] = {
    "cmdMove(0)", "cmdMove(1)", "cmdPlay", "cmdPause", "cmdStop", "cmdMenu", "cmdNext", "cmdUndo",
    "cmdRedo", "cmdCut", "cmdPaste(0)", "cmdBlok", "cmdLabel", "cmdPolacz", "cmdUsunPolaczenie",
    "cmdDodajPetle", "cmdUsunPetle", "cmdIloscPetli", nullptr};

const char* const ViewMenus::kGraphMenuItems[] = {
    "mnuTrack_Blok", "mnuTrack_Con_Connect", "mnuTrack_Con_Remove", "mnuLoopTrack", "mnuTrack_Prop",
    "mnuTrack_Fade", "mnuTrack_Wytnij", "mnuTrack_Wklej", "mnuTrack_Sep1", "mnuTrack_Sep2",
    "mnuTrack_Labelki(0)", "mnuTrack_Labelki(1)", "mnuTrack_Labelki(2)", "mnuHelp", "mnuTrack_Refresh",
    "mnuW1", "mnu_Info_Legend", "sepWidok1", nullptr};

namespace {
constexpr int kRecordGap = 100; // twips between the paste button and the record button
const char* const kMovedButtons[] = {"cmdCopy", "cmdPaste(1)", "cmdRecord"};
} // namespace

ViewMenus::ViewMenus(frmDazudizi& window)
    : QObject(&window), m_window(window), m_treeFocus(window.tvwNodes()->focusPolicy()) {
    for (const char* name : kMovedButtons)
        if (QWidget* b = tool(name))
            m_design.insert(QLatin1String(name), b->pos());

    auto on = [this](const char* name, void (ViewMenus::*handler)()) {
        if (QAction* a = item(name)) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        }
    };
    // The checkable items have toggled their mark when `triggered` arrives.
    if (QAction* a = item("mnulvw")) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [this, a](bool checked) {
            // Not while a long operation runs: the item keeps its mark.
            if (!ReadyOrSayBusy(m_window.CanChangeProject())) {
                a->setChecked(!checked);
                return;
            }
            ApplyAdvancedView(checked);
            SaveSetting(settingkeys::kAdvView, checked ? QStringLiteral("1") : QStringLiteral("0"));
        });
    }
    on("mnuHelp", &ViewMenus::mnuHelp_Click);
    if (QAction* a = item("mnuPLoop"))
        connect(a, &QAction::triggered, this, [](bool checked) {
            SaveSetting(settingkeys::kLoopProp, checked ? QStringLiteral("1") : QStringLiteral("0"));
        });
    on("mnu_Inform", &ViewMenus::mnu_Inform_Click);
    if (QMenu* options = m_window.Menus().menu(QStringLiteral("mnuOptions")))
        connect(options, &QMenu::aboutToShow, this, &ViewMenus::mnuOptions_Click);
    // Disabled until the recording windows plug in.
    if (QAction* a = item("mnuOptions_Rec")) {
        a->setEnabled(false);
        connect(a, &QAction::triggered, this, [this] {
            if (m_showRecordingOptions)
                m_showRecordingOptions();
        });
    }
    if (auto* record = qobject_cast<QPushButton*>(tool("cmdRecord"))) {
        record->setEnabled(false);
        connect(record, &QPushButton::clicked, this, [this] {
            if (m_showRecorder)
                m_showRecorder();
        });
    }
}

QAction* ViewMenus::item(const char* name) const { return m_window.Menus().item(QLatin1String(name)); }

QWidget* ViewMenus::tool(const char* name) const {
    return m_window.fraTools()->findChild<QWidget*>(QLatin1String(name));
}

void ViewMenus::mnulvw_Click() {
    QAction* a = item("mnulvw");
    a->setChecked(!a->isChecked());
    ApplyAdvancedView(a->isChecked());
    SaveSetting(settingkeys::kAdvView, a->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void ViewMenus::ApplyAdvancedView(bool on) {
    frmDazudizi& w = m_window;
    w.fraAudio()->fraTAG->setVisible(on);
    w.cmdKlon()->setVisible(on);
    w.lvwNodes()->setVisible(on);
    // The list and the panel cover the tree in the advanced view: Tab passes
    // it by, and keys it held go to the list, never to a tree nobody sees.
    QTreeWidget* tree = w.tvwNodes();
    if (on && tree->hasFocus())
        w.lvwNodes()->setFocus(Qt::OtherFocusReason);
    tree->setFocusPolicy(on ? Qt::NoFocus : m_treeFocus);
    for (const char* name : {"cmdZmien", "cmdPrev"})
        if (QWidget* b = tool(name))
            b->setVisible(!on);
    for (const char* const* name = kTransportAndGraphButtons; *name; ++name)
        if (QWidget* b = tool(*name))
            b->setVisible(!on);

    // The buttons shown in both views: in the advanced view they close up
    // behind the clone button, in the normal view they go back to their places.
    QWidget* copy = tool("cmdCopy");
    QWidget* paste = tool("cmdPaste(1)");
    QWidget* record = tool("cmdRecord");
    if (on && copy && paste) {
        copy->move(w.cmdKlon()->x() + w.cmdKlon()->width(), w.cmdKlon()->y());
        paste->move(copy->x() + copy->width(), copy->y());
        if (record)
            record->move(paste->x() + paste->width() + TwipsToPx(kRecordGap), paste->y());
    } else {
        for (auto it = m_design.cbegin(); it != m_design.cend(); ++it)
            if (QWidget* b = tool(it.key().toLatin1().constData()))
                b->move(it.value());
    }

    for (const char* const* name = kGraphMenuItems; *name; ++name)
        if (QAction* a = item(*name))
            a->setVisible(!on);

    w.Form_Resize();
    w.Editor().mnuTrack_Refresh_Click();
}

void ViewMenus::mnuHelp_Click() {
    // The item toggled its own check mark.
    m_window.fraHelp()->setVisible(item("mnuHelp")->isChecked());
    m_window.Form_Resize();
}

void ViewMenus::mnuOptions_Click() {
    QAction* rec = item("mnuOptions_Rec");
    const auto& recorder = m_window.Objects().server.Recorder;
    if (!rec || !recorder || !m_showRecordingOptions)
        return;
    // The options cannot change under a recording or an open output file.
    rec->setEnabled(recorder->DajStanPliku() < 1 && recorder->DajStan() < 1);
}

void ViewMenus::mnu_Inform_Click() { frmInfo::PokazMnie(&m_window); }

void ViewMenus::SetRecordingOptionsWindow(std::function<void()> show) {
    m_showRecordingOptions = std::move(show);
    if (QAction* a = item("mnuOptions_Rec"))
        a->setEnabled(bool(m_showRecordingOptions));
}

void ViewMenus::SetRecorderWindow(std::function<void()> show) {
    m_showRecorder = std::move(show);
    if (QWidget* b = tool("cmdRecord"))
        b->setEnabled(bool(m_showRecorder));
}

} // namespace kelbrin
