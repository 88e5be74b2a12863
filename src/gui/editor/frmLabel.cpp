#include "frmLabel.h"

#include "core/app/MessageService.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "core/editor/TrackCommands.h"
#include "core/app/TextCatalog.h"
#include "gui/app/SelectAllText.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>
#include <exception>

namespace kelbrin {

namespace {
QPointer<frmLabel> g_label;
}

frmLabel::frmLabel(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmLabel"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(GetText(2019).remove(QLatin1Char('&')));
    auto* layout = new QVBoxLayout(this);
    txtText = new QLineEdit(this);
    txtText->setObjectName(QStringLiteral("txtText"));
    txtText->setMinimumWidth(280);
    txtText->installEventFilter(this);
    SelectAllTextOnFocus(txtText);
    layout->addWidget(txtText);
}

frmLabel* frmLabel::Instance() { return g_label; }

frmLabel* frmLabel::PokazMnie(std::int32_t trackNumber, TracksGetter tracks,
                              std::function<void(const cPozycjaMP3&)> stored, QWidget* parent) {
    // One label dialog at a time: an open one keeps its own track.
    if (g_label)
        g_label->close();
    auto* w = new frmLabel(parent);
    g_label = w;
    w->m_number = trackNumber;
    w->m_tracks = std::move(tracks);
    w->m_collection = w->m_tracks ? w->m_tracks() : nullptr;
    w->m_stored = std::move(stored);
    w->m_cancel = false;
    const auto t = w->track();
    w->txtText->setText(t ? t->strLabel : QString());
    w->show();
    w->txtText->setFocus();
    SelectAllText(w->txtText);
    return w;
}

std::shared_ptr<cPozycjaMP3> frmLabel::track() const {
    const cPozycjeMP3* now = m_tracks ? m_tracks() : nullptr;
    // Another project may reuse the number for another track.
    if (!now || now != m_collection)
        return nullptr;
    return TrackByNumber(*now, m_number);
}

void frmLabel::CheckTrack() {
    if (track())
        return;
    m_cancel = true;
    close();
}

bool frmLabel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtText) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape) {
                m_cancel = true;
                close();
                return true;
            }
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                close();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmLabel::closeEvent(QCloseEvent* event) {
    if (!m_cancel)
        store();
    m_cancel = true; // a second close stores nothing again
    QWidget::closeEvent(event);
}

void frmLabel::store() {
    const auto t = track();
    if (!t)
        return;
    try {
        t->blnLabelEdited = true;
        t->strLabel = CleanLabel(txtText->text());
        t->blnZmodyfikowana = true;
        if (m_stored)
            m_stored(*t);
    } catch (const std::exception& e) {
        ShowErrorBox(5, QString::fromUtf8(e.what()), QStringLiteral("frmLabel.Form_Unload"));
    }
}

} // namespace kelbrin
