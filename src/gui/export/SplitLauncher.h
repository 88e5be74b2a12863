#pragma once
// The split dialog as the track graph editor reaches it (paste as new, and
// any other request the editor makes through SplitDialog()).

#include "core/editor/SplitDialogLauncher.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

namespace kelbrin {

class SplitHost;

class SplitLauncher final : public SplitDialogLauncher {
public:
    using HostFactory = std::function<std::shared_ptr<SplitHost>()>;
    SplitLauncher(HostFactory makeHost, QWidget* parent);

    // The request's second flag opens the track's source first; its date is
    // a day count from 30 December 1899 (0 = now). The editor hears of every
    // track the dialog adds through the request's tracksAdded.
    void PokazMnie(const SplitDialogRequest& request) override;

private:
    HostFactory m_makeHost;
    QPointer<QWidget> m_parent;
};

} // namespace kelbrin
