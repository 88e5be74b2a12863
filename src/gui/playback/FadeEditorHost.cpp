#include "FadeEditorHost.h"

#include "core/app/ProgramObjects.h"
#include "core/document/Successors.h"
#include "core/document/cPozycjeMP3.h"
#include "core/editor/TrackGraph.h"
#include "frmFade.h"
#include "gui/editor/EditorController.h"
#include "gui/editor/TrackCommandSet.h"
#include "gui/mainwindow/frmDazudizi.h"

#include <QEvent>
#include <QPointer>
#include <stdexcept>

namespace kelbrin {

namespace {

// Follows the main window's minimizing.
class MinimizeFollower : public QObject {
public:
    MinimizeFollower(frmDazudizi& window, FadeEditors& editors)
        : QObject(&window), m_window(window), m_editors(editors) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && event->type() == QEvent::WindowStateChange) {
            if (m_window.isMinimized()) {
                m_minimized.clear();
                for (QWidget* w : m_editors.openEditors())
                    if (w->isVisible() && !w->isMinimized()) {
                        w->showMinimized();
                        m_minimized.append(w);
                    }
            } else {
                for (const QPointer<QWidget>& w : m_minimized)
                    if (w && w->isMinimized())
                        w->showNormal();
                m_minimized.clear();
            }
        }
        return false;
    }

private:
    frmDazudizi& m_window;
    FadeEditors& m_editors;
    QList<QPointer<QWidget>> m_minimized;
};

bool StillInProject(const cPozycjeMP3& tracks, const std::shared_ptr<cPozycjaMP3>& t) {
    return t && TrackByNumber(tracks, t->lngNrPozycji) == t;
}

} // namespace

void InstallFadeEditors(frmDazudizi& window) {
    FadeEditors& editors = window.Commands().fadeEditors;
    frmDazudizi* w = &window;
    editors.create = [w](std::shared_ptr<cPozycjaMP3> ending, std::shared_ptr<cPozycjaMP3> starting) -> QWidget* {
        std::weak_ptr<cPozycjaMP3> end = ending;
        auto sortSuccessors = [w, end] {
            const auto e = end.lock();
            cPozycjeMP3& tracks = w->Editor().tracks();
            const std::int32_t index = e ? ItemTracka(tracks, e->lngNrPozycji) : 0;
            if (index > 0)
                UpdateSuccessors(tracks, index, 0, successors::SortOnly);
        };
        return frmFade::PokazMnie(std::move(ending), std::move(starting), sortSuccessors,
                                  w->Objects().settings, w->Objects().outputs, w);
    };
    QObject::connect(&window.Editor(), &EditorController::tracksChanged, &window, [w, &editors] {
        const cPozycjeMP3& tracks = w->Editor().tracks();
        for (QWidget* editor : editors.openEditors())
            if (auto* fade = qobject_cast<frmFade*>(editor))
                if (!StillInProject(tracks, fade->cPozEnd) || !StillInProject(tracks, fade->cPozStart))
                    fade->close();
    });
    new MinimizeFollower(window, editors);
}

} // namespace kelbrin
