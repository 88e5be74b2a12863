#include "TrackPanel.h"

#include "TrackPanelFrame.h"
#include "TrackPanelRange.h"
#include "TrackPanelTempo.h"
#include "frmDazudizi.h"
#include "gui/app/BusyPointer.h"
#include "gui/app/HoldFocus.h"
#include "gui/app/SelectAllText.h"
#include "core/app/SettingsKeys.h"
#include "core/app/ProgramObjects.h"
#include "core/app/SoundCards.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/export/SplitSource.h"
#include "core/playback/PanelTagFields.h"
#include "platform/media/PlaybackGraph.h"
#include "platform/settings/SettingsStore.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <cmath>

namespace kelbrin {

namespace {

constexpr const char* kPlayModeItems[4] = {"mnuPlayR", "mnuPlayZa", "mnuPlayS", "mnuPlayAll"};

// Runs `f` when the watched object sees a double-click or a right-button release.
class LabelMouse final : public QObject {
public:
    LabelMouse(QObject* parent, std::function<void()> dbl, std::function<void()> right)
        : QObject(parent), m_dbl(std::move(dbl)), m_right(std::move(right)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonDblClick) {
            m_dbl();
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
            m_right();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_dbl, m_right;
};

} // namespace

TrackPanel::TrackPanel(frmDazudizi& window)
    : QObject(&window), m_window(window), m_frame(*window.fraAudio()),
      m_preview(*this, window.Objects().session, window.Objects().settings,
                window.Objects().outputs) {
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(250);
    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer2->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(m_timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
    m_timer1->start();
    m_range = new TrackPanelRange(window, m_frame, m_preview);
    m_tempo = new TrackPanelTempo(window, m_frame, m_preview, [this] { refresh(); });
    connectControls();
    Retranslate();
}

TrackPanel::~TrackPanel() = default;

QAction* TrackPanel::item(const char* name) const { return m_window.Menus().item(QLatin1String(name)); }

QString TrackPanel::deviceName() const { return m_frame.cboDevice->currentText(); }

bool TrackPanel::mainWindowVisible() const { return m_window.isVisible(); }

bool TrackPanel::framesUnit() const {
    const QAction* frames = item("mnuUnits_Jednostki(0)");
    return frames && frames->isChecked();
}

void TrackPanel::connectControls() {
    connectButtons();
    connectBars();
    connectMenuItems();
    connectFields();
}

std::function<void()> TrackPanel::after(std::function<void()> action) {
    return [this, action] {
        action();
        refresh();
    };
}

// The preview's buttons and the panel's two menus.
void TrackPanel::connectButtons() {
    TrackPanelFrame& f = m_frame;
    connect(f.cmdPlay2, &QPushButton::clicked, this, [this] { cmdPlay2_Click(); });
    connect(f.cmdPause2, &QPushButton::clicked, this, [this] { cmdPause2_Click(); });
    connect(f.cmdStop2, &QPushButton::clicked, this, [this] { cmdStop2_Click(); });
    for (int i = 0; i < 4; ++i)
        connect(f.cmdMove2[i], &QPushButton::clicked, this, [this, i] { cmdMove2_Click(i); });
    connect(f.cmdTest[0], &QPushButton::clicked, this, [this] { mnuTest_B_Click(); });
    connect(f.cmdTest[1], &QPushButton::clicked, this, [this] { mnuTest_E_Click(); });
    connect(f.cmdMenu2, &QPushButton::clicked, this, [this] {
        if (QMenu* m = m_window.Menus().menu(QStringLiteral("mnuMark")))
            m->popup(QCursor::pos());
    });
    f.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&f, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // Only the panel's bare background offers the options: a right click
        // on one of its controls belongs to that control.
        if (m_frame.childAt(at))
            return;
        if (QMenu* m = m_window.Menus().menu(QStringLiteral("mnuOption")))
            m->popup(m_frame.mapToGlobal(at));
    });
}

// The volume, balance, speed and seek bars, and the labels of two of them.
void TrackPanel::connectBars() {
    TrackPanelFrame& f = m_frame;
    connect(f.VScrVolume, &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_filling) {
            m_preview.VScrVolume_Change(v);
            refresh();
        }
    });
    connect(f.HScrBalance, &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_filling) {
            m_preview.HScrBalance_Change(v);
            refresh();
        }
    });
    connect(f.HScrSpeed, &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_filling) {
            m_preview.HScrSpeed_Change(v);
            refresh();
        }
    });
    connect(f.HScrSeek, &QScrollBar::valueChanged, this, [this](int v) {
        if (!m_filling)
            m_preview.HScrSeek_Scroll(v);
    });

    f.lblBal->installEventFilter(new LabelMouse(
        this, after([this] { m_preview.mnuBalans_Set_Click(); }), [this] {
            if (QMenu* m = m_window.Menus().menu(QStringLiteral("mnuBalans")))
                m->popup(QCursor::pos());
        }));
    f.lblSpeed->installEventFilter(new LabelMouse(
        this, after([this] { m_preview.mnuSpeed2_Set_Click(); }), [this] {
            if (QMenu* m = m_window.Menus().menu(QStringLiteral("mnuSpeed2")))
                m->popup(QCursor::pos());
        }));
}

void TrackPanel::connectMenuItems() {
    auto wire = [this](const char* name, std::function<void()> action) {
        if (QAction* a = item(name)) {
            connect(a, &QAction::triggered, this, [action] { action(); });
            a->setEnabled(true);
        }
    };
    for (int mode = 0; mode < 4; ++mode)
        wire(kPlayModeItems[mode], [this, mode] { SetPlayMode(mode); });
    wire("mnuTest_B", [this] { mnuTest_B_Click(); });
    wire("mnuTest_E", [this] { mnuTest_E_Click(); });
    wire("mnuOption_Scan", [this] { mnuOption_Scan_Click(); });
    wire("mnuOption_Scan_B", [this] { mnuOption_Scan_B_Click(); });
    wire("mnuBalans_Set", after([this] { m_preview.mnuBalans_Set_Click(); }));
    wire("mnuSpeed2_Set", after([this] { m_preview.mnuSpeed2_Set_Click(); }));
    if (QAction* loop = item("mnuPLoop"))
        loop->setEnabled(true);
}

// The device box and the tag fields.
void TrackPanel::connectFields() {
    TrackPanelFrame& f = m_frame;
    // The device box: the user's choice becomes the track's device, and a
    // preview in progress moves over to it.
    connect(f.cboDevice, &QComboBox::activated, this, [this] {
        if (m_filling || !m_frame.isEnabled())
            return;
        m_preview.cboDevice_Click(m_frame.cboDevice->currentText());
        refresh();
    });

    // Tag fields: only the user's edits reach the track.
    const std::pair<QLineEdit*, TagField> tags[] = {{f.txtTitle, TagField::Title},
                                                    {f.txtArtist, TagField::Artist},
                                                    {f.txtAlbum, TagField::Album},
                                                    {f.txtYear, TagField::Year},
                                                    {f.txtComment, TagField::Comment}};
    for (const auto& [edit, field] : tags) {
        SelectAllTextOnFocus(edit);
        connect(edit, &QLineEdit::textEdited, this, [this, field = field](const QString& text) {
            if (!m_filling)
                EditTagField(m_preview.Cpoz.get(), field, text);
        });
    }
    // The year box keeps the focus until it holds four digits or nothing.
    HoldFocusUntil(f.txtYear, [this] {
        const QString year = m_frame.txtYear->text();
        return !m_preview.Cpoz || year.isEmpty() || YearIsValid(year);
    });
    connect(f.cboGenre, &QComboBox::activated, this, [this](int index) {
        if (!m_filling)
            EditGenre(m_preview.Cpoz.get(), m_frame.cboGenre->itemData(index).toInt());
    });
}

void TrackPanel::Retranslate() {
    m_frame.cmdTest[0]->setText(GetText(2193));
    m_frame.cmdTest[1]->setText(GetText(2194));
    ApplyTooltips();
    if (m_preview.Cpoz) {
        m_range->Show();
        showCaption();
    }
    refresh();
}

void TrackPanel::ApplyTooltips() {
    m_frame.cmdUndo2->setToolTip(GetText(1159));
    m_frame.cmdReset->setToolTip(GetText(3195));
    m_frame.cmdBPM->setToolTip(GetText(3196));
}

void TrackPanel::PokazMnie_FA(std::shared_ptr<cPozycjaMP3> track) {
    if (!track)
        return;
    // The first look at the output devices may stop on a box saying there is
    // none; the panel stays as it was (hidden, or showing its last track)
    // until then, so the box never stands over a panel that is not filled.
    EnsureSoundCards(m_window.Objects().outputs, ShowBusyPointer);
    m_frame.show();
    m_window.Form_Resize();
    m_frame.lblTime2->clear();
    m_preview.Load(std::move(track));
    m_tempo->Load();
    fillDevices();
    postPokazMnie();
}

void TrackPanel::ReleasePreview() {
    m_preview.Release();
    m_timer2->stop();
    refresh();
}

void TrackPanel::ShowDevice() {
    if (m_preview.Cpoz)
        fillDevices();
}

void TrackPanel::fillDevices() {
    const cPozycjaMP3& t = *m_preview.Cpoz;
    QComboBox* box = m_frame.cboDevice;
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(m_window.Objects().outputs.SoundCards);
    box->setCurrentIndex(m_window.Objects().outputs.SoundCards.indexOf(t.strDevice));
    const bool own = !m_window.Objects().outputs.UseDefaultRenderer;
    m_frame.fraDevice->setEnabled(own);
    box->setEnabled(own);
}

void TrackPanel::fillGenre() {
    const cPozycjaMP3& t = *m_preview.Cpoz;
    QComboBox* box = m_frame.cboGenre;
    const QSignalBlocker block(box);
    const int wanted = t.lngGenre != 0 ? t.lngGenre : 12;
    int index = box->findData(wanted);
    if (index < 0 && t.lngGenre != 0) {
        // A stored genre without a name stays selectable under its number.
        box->addItem(QString::number(t.lngGenre), t.lngGenre);
        index = box->count() - 1;
    }
    if (index >= 0)
        box->setCurrentIndex(index);
}

void TrackPanel::showCaption() {
    const cPozycjaMP3& t = *m_preview.Cpoz;
    m_caption = GetText(3202) + QLatin1Char(' ') + t.strLabel;
    m_duration = GetText(2113) + QLatin1Char(' ') + m_range->editor().mnuTime;
}

void TrackPanel::postPokazMnie() {
    const cPozycjaMP3& t = *m_preview.Cpoz;
    TrackPanelFrame& f = m_frame;
    m_filling = true;
    f.setEnabled(false);
    f.setProperty("Tag", QStringLiteral("ustawianie"));
    // The comment shown becomes the default comment of new tracks, as a typed
    // one does: a track's comment is offered again to the next split.
    if (t.strComment != f.txtComment->text())
        SaveSetting(settingkeys::kTAG_Def, t.strComment);
    for (QLineEdit* e : {f.txtAlbum, f.txtTitle, f.txtArtist, f.txtComment, f.txtYear}) {
        const QSignalBlocker block(e);
        e->setText(e == f.txtAlbum     ? t.strAlbum
                   : e == f.txtTitle   ? t.strTitle
                   : e == f.txtArtist  ? t.strAutor
                   : e == f.txtComment ? t.strComment
                                       : t.strYear);
        // A tag longer than its box shows from its first letter.
        e->setCursorPosition(0);
    }
    fillGenre();
    m_range->Load(m_preview.Cpoz);
    showCaption();
    f.setProperty("Tag", QString());
    f.setEnabled(true);
    m_filling = false;
    refresh();
}

void TrackPanel::refresh() {
    TrackPanelFrame& f = m_frame;
    const bool was = m_filling;
    m_filling = true;
    auto set = [](QScrollBar* b, int v) {
        const QSignalBlocker block(b);
        b->setValue(v);
    };
    set(f.VScrVolume, m_preview.volumeBar);
    set(f.HScrBalance, m_preview.balanceBar);
    set(f.HScrSpeed, m_preview.speedBar);
    set(f.HScrSeek, m_preview.seekBar);
    f.lblBal->setText(GetText(2159) + QLatin1Char(' ') + QString::number(m_preview.balanceBar));
    f.lblSpeed->setText(GetText(2160) + QLatin1Char(' ') + QString::number(m_preview.speedBar) +
                        QStringLiteral(" %"));
    f.txtBPM->setProperty("Tag", QString::number(m_preview.bpmTag));
    f.txtBPM->setText(m_preview.bpmCaption());
    f.lblSync->setEnabled(m_preview.bpmTag > 0);
    f.SetCaption(m_caption, m_duration);

    const std::pair<const char*, bool> checks[] = {{"mnuTest_B", m_preview.mnuTest_B},
                                                   {"mnuTest_E", m_preview.mnuTest_E},
                                                   {"mnuOption_Scan", m_preview.mnuOption_Scan},
                                                   {"mnuOption_Scan_B", m_preview.mnuOption_Scan_B}};
    for (const auto& [name, on] : checks)
        if (QAction* a = item(name))
            a->setChecked(on);
    if (const auto& t = m_preview.Cpoz; t && t->lngSpOdtw >= 0 && t->lngSpOdtw <= 3)
        for (int mode = 0; mode < 4; ++mode)
            if (QAction* a = item(kPlayModeItems[mode]))
                a->setChecked(mode == t->lngSpOdtw);
    for (int i = 0; i < 2; ++i) {
        QPalette p = f.cmdTest[i]->palette();
        // 0xC0C000 as a COLORREF: blue and green full, no red.
        p.setColor(QPalette::Button, m_preview.testLit[i] ? QColor(0x00, 0xC0, 0xC0)
                                                          : f.palette().color(QPalette::Button));
        f.cmdTest[i]->setPalette(p);
    }
    if (m_preview.scanTimerOn && !m_timer2->isActive())
        m_timer2->start();
    else if (!m_preview.scanTimerOn)
        m_timer2->stop();
    m_filling = was;
}

void TrackPanel::cmdPlay2_Click() {
    m_preview.cmdPlay2_Click();
    refresh();
}
void TrackPanel::cmdPause2_Click() {
    m_preview.cmdPause2_Click();
    refresh();
}
void TrackPanel::cmdStop2_Click() {
    m_preview.cmdStop2_Click();
    refresh();
}
void TrackPanel::cmdMove2_Click(int index) {
    m_preview.cmdMove2_Click(index);
    refresh();
}
void TrackPanel::mnuTest_B_Click() {
    m_preview.mnuTest_B_Click();
    refresh();
}
void TrackPanel::mnuTest_E_Click() {
    m_preview.mnuTest_E_Click();
    refresh();
}
void TrackPanel::mnuOption_Scan_Click() {
    m_preview.mnuOption_Scan_Click();
    refresh();
}
void TrackPanel::mnuOption_Scan_B_Click() {
    m_preview.mnuOption_Scan_B_Click();
    refresh();
}
void TrackPanel::SetPlayMode(int mode) {
    m_preview.SetPlayMode(mode);
    refresh();
}

void TrackPanel::cmdMark_Click(int index) { m_range->cmdMark_Click(index); }
void TrackPanel::cmdUndo2_Click() { m_range->cmdUndo2_Click(); }
void TrackPanel::cmdBPM_Click() { m_tempo->cmdBPM_Click(); }
void TrackPanel::cmdReset_Click() { m_tempo->cmdReset_Click(); }

void TrackPanel::Timer1_Timer() {
    if (const QAction* loop = item("mnuPLoop"))
        m_preview.mnuPLoop = loop->isChecked();
    const auto text = m_preview.Timer1_Timer();
    if (text)
        m_frame.lblTime2->setText(*text);
    const QSignalBlocker block(m_frame.HScrSeek);
    m_frame.HScrSeek->setValue(m_preview.seekBar);
}

void TrackPanel::Timer2_Timer() {
    m_preview.Timer2_Timer();
    refresh();
}

} // namespace kelbrin
