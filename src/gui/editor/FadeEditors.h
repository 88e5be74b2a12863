#pragma once
// The open fade editors, one per transition, found again by the pair's track
// numbers (ending, starting). Labels can repeat and change; numbers are for
// life, so a renamed track still finds its editor and two pairs with the same
// labels never share one.

#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace kelbrin {

class cPozycjaMP3;

class FadeEditors {
public:
    using Factory = std::function<QWidget*(std::shared_ptr<cPozycjaMP3> ending,
                                           std::shared_ptr<cPozycjaMP3> starting)>;
    // Makes the fade editor window (frmFade::PokazMnie). The fade commands
    // are offered only while there is one.
    Factory create;
    bool available() const { return bool(create); }

    // Brings back the open editor of the pair (restored if minimized and
    // focused), or opens a new one. Returns the window, or null.
    QWidget* Open(std::shared_ptr<cPozycjaMP3> ending, std::shared_ptr<cPozycjaMP3> starting);
    QWidget* Find(std::int32_t ending, std::int32_t starting) const;
    // Every editor still open.
    QList<QWidget*> openEditors() const;

private:
    QHash<std::pair<std::int32_t, std::int32_t>, QPointer<QWidget>> m_open;
};

} // namespace kelbrin
