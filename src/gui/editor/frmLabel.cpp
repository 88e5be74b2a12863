#include "frmLabel.h"

#include "core/app/MessageService.h"
#include "core/document/cPozycjaMP3.h"
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

frmLabel* frmLabel::PokazMnie(std::shared_ptr<cPozycjaMP3> track,
                              std::function<void(const cPozycjaMP3&)> stored, QWidget* parent) {
    // One label dialog at a time: an open one keeps its own track.
    if (g_label)
        g_label->close();
    auto* w = new frmLabel(parent);
    g_label = w;
    w->m_track = std::move(track);
    w->m_stored = std::move(stored);
    w->m_cancel = false;
    w->txtText->setText(w->m_track ? w->m_track->strLabel : QString());
    w->show();
    w->txtText->setFocus();
    SelectAllText(w->txtText);
    return w;
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
    if (!m_track)
        return;
    try {
        m_track->blnLabelEdited = true;
        m_track->strLabel = CleanLabel(txtText->text());
        m_track->blnZmodyfikowana = true;
        if (m_stored)
            m_stored(*m_track);
    } catch (const std::exception& e) {
        ShowErrorBox(5, QString::fromUtf8(e.what()), QStringLiteral("frmLabel.Form_Unload"));
    }
}

} // namespace kelbrin
