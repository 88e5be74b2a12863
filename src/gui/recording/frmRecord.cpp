#include "frmRecord.h"

#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "core/recording/RecorderTexts.h"
#include "gui/app/ProgramIcons.h"
#include "gui/app/TopMost.h"
#include "gui/app/Translation.h"
#include "gui/app/Twips.h"
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
};

struct Seams {
    RecorderHost* host = nullptr;
    RecorderStateListener* listener = nullptr;
    std::function<void()> monitorOff;
    std::function<void()> settings;
};
Seams& seams() {
    static Seams s;
    return s;
}
RecorderHost& host() {
    static NoHost none;
    return seams().host ? *seams().host : none;
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
void frmRecord::SetHost(RecorderHost* h) { seams().host = h; }
void frmRecord::SetStateListener(RecorderStateListener* listener) {
    seams().listener = listener;
    if (s_instance)
        s_instance->m_control->setStateListener(listener);
}
void frmRecord::SetMonitorOff(std::function<void()> turnOff) { seams().monitorOff = std::move(turnOff); }
void frmRecord::SetSettingsOpener(std::function<void()> open) { seams().settings = std::move(open); }

frmRecord::frmRecord() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("frmRecord"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_control = std::make_unique<RecorderControl>(*this, host(), Capture());
    m_control->setStateListener(seams().listener);

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

frmRecord::~frmRecord() = default;

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
    // Without the settings window there is nothing to open.
    cmdSetting->setEnabled(static_cast<bool>(seams().settings));
    LoadLang();
    setMinimumHeight(TwipsToPx(kMinimumHeightTwips));
    adjustSize();
    setMinimumWidth(width());
    m_control->Form_Load();
}

void frmRecord::LoadLang() { setWindowTitle(GetText(texts::kRecorderCaption)); }

frmRecord* frmRecord::PokazMnie(bool autoStart, bool unattended) {
    if (autoStart && !Shared().Recorder)
        return nullptr;
    if (!s_instance)
        s_instance = new frmRecord();
    frmRecord* w = s_instance.data();
    w->show();
    if (autoStart) {
        QCoreApplication::processEvents();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("frmDazudizi"))
                top->showMinimized();
        w->showMinimized();
        w->m_control->setAutoStarted(unattended);
        w->cmdRecord_Click();
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

void frmRecord::showRecordingSettings() {
    if (seams().settings)
        seams().settings();
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
    QWidget::closeEvent(event);
}

void frmRecord::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Minimised with a tray icon to bring it back: both windows go to the tray.
    if (!seams().listener)
        return;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("frmDazudizi") && top->isVisible())
            top->hide();
    hide();
}

void frmRecord::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F12) {
        if (seams().monitorOff)
            seams().monitorOff();
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
