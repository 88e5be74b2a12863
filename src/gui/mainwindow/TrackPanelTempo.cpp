#include "TrackPanelTempo.h"

#include "TrackPanelFrame.h"
#include "frmDazudizi.h"
#include "core/document/cPozycjeMP3.h"
#include "gui/app/Translation.h"
#include "platform/media/Clock.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace kelbrin {

TrackPanelTempo::TrackPanelTempo(frmDazudizi& window, TrackPanelFrame& frame, PreviewPlayer& preview,
                                 std::function<void()> changed)
    : QObject(&window), m_window(window), m_syncLabel(frame.lblSync), m_tempoBox(frame.Frame2),
      m_tempo(preview, ProgramClock()), m_changed(std::move(changed)) {
    connect(frame.cmdBPM, &QPushButton::clicked, this, [this] { cmdBPM_Click(); });
    connect(frame.cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    frame.lblSync->setMouseTracking(true);
    frame.lblSync->installEventFilter(this);
    frame.Frame2->setMouseTracking(true);
    frame.Frame2->installEventFilter(this);
}

void TrackPanelTempo::Load() {
    m_tempo.tap.Reset();
    QMenu* menu = m_window.Menus().menu(QStringLiteral("mnuS"));
    if (!menu)
        return;
    menu->clear();
    const cPozycjeMP3* tracks = m_window.cPozycje().get();
    for (std::int32_t i = 1; tracks && i <= tracks->Count(); ++i) {
        QAction* item = menu->addAction(QString());
        item->setObjectName(QStringLiteral("mnuSync(%1)").arg(i - 1));
        item->setProperty("Tag", QString::number(tracks->Item(i)->lngNrPozycji));
        const int index = i - 1;
        connect(item, &QAction::triggered, this, [this, index] { mnuSync_Click(index); });
    }
}

void TrackPanelTempo::cmdBPM_Click() {
    // Typing in a box is not tapping.
    if (qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        return;
    m_tempo.cmdBPM_Click();
    m_changed();
}

void TrackPanelTempo::cmdReset_Click() {
    m_tempo.cmdReset_Click();
    m_changed();
}

void TrackPanelTempo::lblSync_Click() {
    QMenu* menu = m_window.Menus().menu(QStringLiteral("mnuS"));
    if (!menu || !m_tempo.canMatch())
        return;
    const cPozycjeMP3 none;
    const cPozycjeMP3& tracks = m_window.cPozycje() ? *m_window.cPozycje() : none;
    for (QAction* item : menu->actions()) {
        const QString caption = SyncItemCaption(tracks, item->property("Tag").toInt());
        // A track deleted since the panel was filled is no longer offered.
        item->setVisible(!caption.isEmpty());
        if (!caption.isEmpty())
            item->setText(caption);
    }
    menu->popup(QCursor::pos());
}

void TrackPanelTempo::mnuSync_Click(int index) {
    QMenu* menu = m_window.Menus().menu(QStringLiteral("mnuS"));
    if (!menu || index < 0 || index >= menu->actions().size() || !m_window.cPozycje())
        return;
    const std::int32_t number = menu->actions().at(index)->property("Tag").toInt();
    if (m_tempo.mnuSync_Click(*m_window.cPozycje(), number))
        m_changed();
}

void TrackPanelTempo::highlight(bool on) {
    QFont font = m_syncLabel->font();
    if (font.underline() == on)
        return;
    font.setUnderline(on);
    m_syncLabel->setFont(font);
}

bool TrackPanelTempo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_syncLabel) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
            ShowHint(m_syncLabel->property("Tag").toString());
            highlight(m_syncLabel->isEnabled());
        } else if (event->type() == QEvent::Leave) {
            highlight(false);
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            lblSync_Click();
            return true;
        }
    } else if (watched == m_tempoBox && event->type() == QEvent::MouseMove) {
        highlight(false);
        ShowHint(m_tempoBox->property("Tag").toString());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelbrin
