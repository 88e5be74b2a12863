#include "FadeEditors.h"

#include "core/document/cPozycjaMP3.h"

namespace kelbrin {

QWidget* FadeEditors::Find(std::int32_t ending, std::int32_t starting) const {
    QWidget* w = m_open.value({ending, starting});
    return w && w->isEnabled() ? w : nullptr;
}

QList<QWidget*> FadeEditors::openEditors() const {
    QList<QWidget*> open;
    for (const QPointer<QWidget>& w : m_open)
        if (w)
            open.append(w);
    return open;
}

QWidget* FadeEditors::Open(std::shared_ptr<cPozycjaMP3> ending, std::shared_ptr<cPozycjaMP3> starting) {
    if (!ending || !starting)
        return nullptr;
    const std::pair<std::int32_t, std::int32_t> key{ending->lngNrPozycji, starting->lngNrPozycji};
    if (QWidget* open = Find(key.first, key.second)) {
        if (open->isMinimized())
            open->showNormal();
        open->raise();
        open->activateWindow();
        return open;
    }
    if (!create)
        return nullptr;
    QWidget* w = create(std::move(ending), std::move(starting));
    if (w)
        m_open.insert(key, w);
    return w;
}

} // namespace kelbrin
