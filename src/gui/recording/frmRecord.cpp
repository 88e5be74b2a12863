#include "frmRecord.h"

#include "core/app/ProgramObjects.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "frmIcon.h"
#include "frmRecording.h"
#include "gui/app/ProgramIcons.h"
#include "gui/app/TopMost.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"
#include "platform/media/Clock.h"
#include "platform/shell/ProcessLauncher.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QStandardPaths>

namespace kelbrin {

namespace {

constexpr int kMinimumHeightTwips = 790;
constexpr int kButtonTwips = 540;

// Host of a recorder window without a main window (tests): saves nothing.
class NoHost final : public RecorderHost {
public:
    bool saveProject(const QString&) override { return false; }
    int tracksUsingSource(const QString&) override { return 0; }
    void endProgram(int) override {}
    void dropUnsavedChanges() override {}
};

RecorderHost*& installedHost() {
    static RecorderHost* host = nullptr;
    return host;
}
RecorderHost& host() {
    static NoHost none;
    return installedHost() ? *installedHost() : none;
}

QWidget* mainWindow() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("frmDazudizi"))
            return top;
    return nullptr;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& tag) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setProperty("Tag", tag);
    b->setFixedSize(TwipsToPx(kButtonTwips), TwipsToPx(kButtonTwips));
    b->setIconSize(QSize(TwipsToPx(kButtonTwips) - 10, TwipsToPx(kButtonTwips) - 10));
    return b;
}

} // namespace

QPointer<frmRecord> frmRecord::s_instance;

frmRecord* frmRecord::Instance() { return s_instance.data(); }
void frmRecord::SetHost(RecorderHost* h) { installedHost() = h; }

frmRecord::frmRecord(ProgramObjects& program) : QWidget(nullptr, Qt::Window), m_program(program) {
    setObjectName(QStringLiteral("frmRecord"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_control = std::make_unique<RecorderControl>(*this, host(), Capture(), ProgramClock(), program.recording,
                                                  program.server, program.settings, program.capture);

    cmdRecord = makeButton(this, "cmdRecord", QStringLiteral("1162;5049"));
    cmdPauza = makeButton(this, "cmdPauza", QStringLiteral("1122;"));
    cmdStopRec = makeButton(this, "cmdStopRec", QStringLiteral("1119;"));
    cmdSetting = makeButton(this, "cmdSetting", QStringLiteral(";5050"));
    cmdMikser = makeButton(this, "cmdMikser", QString());
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(4);
    for (QPushButton* b : {cmdRecord, cmdPauza, cmdStopRec, cmdSetting, cmdMikser})
        row->addWidget(b);
    row->addStretch();

    connect(cmdRecord, &QPushButton::clicked, this, [this] { cmdRecord_Click(); });
    connect(cmdPauza, &QPushButton::clicked, this, [this] { cmdPauza_Click(); });
    connect(cmdStopRec, &QPushButton::clicked, this, [this] { cmdStopRec_Click(); });
    connect(cmdSetting, &QPushButton::clicked, this, [this] { cmdSetting_Click(); });
    connect(cmdMikser, &QPushButton::clicked, this, [this] { cmdMikser_Click(); });
    InstallHintOnHover(this);
    Form_Load();
}

frmRecord::~frmRecord() {
    m_control->setTray(nullptr);
    UnloadTray();
}

void frmRecord::UnloadTray() {
    if (!m_tray)
        return;
    m_control->setTray(nullptr);
    m_tray->unload();
    m_tray.reset();
}

void frmRecord::Form_Load() {
    SetTopMost(this, true);
    ApplyButtonIcons(this);
    cmdSetting->setText(QStringLiteral("..."));
    cmdMikser->setText(QStringLiteral("M"));
    cmdPauza->setEnabled(false);
    cmdStopRec->setEnabled(false);
    // The mixer button works when the desktop has a volume control.
    cmdMikser->setEnabled(!QStandardPaths::findExecutable(QStringLiteral("pavucontrol")).isEmpty() ||
                          !QStandardPaths::findExecutable(QStringLiteral("alsamixer")).isEmpty());
    m_tray = std::make_unique<frmIcon>(*this, ProgramClock(), m_program.recording);
    m_control->setTray(m_tray.get());
    LoadLang();
    setMinimumHeight(TwipsToPx(kMinimumHeightTwips));
    adjustSize();
    setMinimumWidth(width());
    m_control->Form_Load();
}

void frmRecord::LoadLang() { setWindowTitle(GetText(texts::kRecorderCaption)); }

frmRecord* frmRecord::PokazMnie(ProgramObjects& program, bool autoStart, bool unattended) {
    if (autoStart && !program.server.link())
        return nullptr;
    if (!s_instance)
        s_instance = new frmRecord(program);
    frmRecord* w = s_instance.data();
    w->show();
    if (autoStart) {
        QCoreApplication::processEvents();
        if (QWidget* main = mainWindow())
            main->showMinimized();
        w->showMinimized();
        w->m_control->setUnattended(unattended);
        w->m_control->StartAutomatically();
    }
    return w;
}

QPushButton* frmRecord::button(Button which) const {
    switch (which) {
    case Record:
        return cmdRecord;
    case Pause:
        return cmdPauza;
    case Stop:
        return cmdStopRec;
    }
    return nullptr;
}

void frmRecord::setButtonEnabled(Button which, bool enabled) { button(which)->setEnabled(enabled); }
bool frmRecord::buttonEnabled(Button which) const { return button(which)->isEnabled(); }

void frmRecord::setButtonIcon(Button which, int icon) {
    QPushButton* b = button(which);
    b->setIcon(ProgramIcon(icon > 0 ? icon : TagNumber(TagOf(b))));
}

void frmRecord::focusButton(Button which) { button(which)->setFocus(); }
bool frmRecord::isShownAndEnabled() const { return isVisible() && isEnabled(); }
void frmRecord::setCaption(const QString& caption) { setWindowTitle(caption); }
void frmRecord::beep(int, int) { QApplication::beep(); }
void frmRecord::yield() { QCoreApplication::processEvents(); }

void frmRecord::showRecordingSettings() { frmRecording::PokazMnie(m_program.recording); }

bool frmRecord::recordEnabled() const { return cmdRecord->isEnabled(); }
bool frmRecord::pauseEnabled() const { return cmdPauza->isEnabled(); }
bool frmRecord::stopEnabled() const { return cmdStopRec->isEnabled(); }

void frmRecord::toggleWindows() {
    const bool show = !isVisible();
    setVisible(show);
    if (QWidget* main = mainWindow())
        main->setVisible(show);
    if (show) {
        showNormal();
        if (isEnabled())
            activateWindow();
    }
}

void frmRecord::cmdMikser_Click() {
    // The desktop's volume control, else the terminal mixer.
    QtProcessLauncher launcher;
    if (!QStandardPaths::findExecutable(QStringLiteral("pavucontrol")).isEmpty())
        launcher.startDetached(QStringLiteral("pavucontrol"), {QStringLiteral("--tab=2")});
    else if (!QStandardPaths::findExecutable(QStringLiteral("alsamixer")).isEmpty())
        launcher.startDetached(QStringLiteral("x-terminal-emulator"),
                               {QStringLiteral("-e"), QStringLiteral("alsamixer"), QStringLiteral("-V"),
                                QStringLiteral("capture")});
}

void frmRecord::closeEvent(QCloseEvent* event) {
    // The window stays while the server still holds the recording.
    if (!m_control->Form_Unload()) {
        event->ignore();
        return;
    }
    if (m_tray && m_tray->unloadWithRecorder())
        UnloadTray();
    QWidget::closeEvent(event);
}

void frmRecord::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Minimised with a tray icon to bring it back: both windows go to the tray.
    QWidget* main = mainWindow();
    if (!m_tray || !m_tray->iconShown() || !isVisible() || !main || !main->isVisible())
        return;
    main->hide();
    hide();
}

void frmRecord::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F12) {
        if (m_tray)
            m_tray->mnuTurnMonitor_Click();
        showMinimized();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void frmRecord::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (height() < TwipsToPx(kMinimumHeightTwips))
        resize(width(), TwipsToPx(kMinimumHeightTwips));
}

} // namespace kelbrin
