#pragma once
// The open-files collection: every source file the editor has opened, in
// opening order. Positions are 1-based, with the same rules as the track
// collection.

#include "cPozycjaPlikow.h"

#include <QList>
#include <cstdint>
#include <memory>

namespace kelbrin {

class cPozycjePlikow {
public:
    void Add(std::shared_ptr<cPozycjaPlikow> file);
    std::int32_t Count() const;
    // Nothing for a position of 0 or less; std::out_of_range above Count.
    std::shared_ptr<cPozycjaPlikow> Item(std::int32_t position) const;
    // Nothing above Count; std::out_of_range for 0 or less.
    void Remove(std::int32_t position);

private:
    QList<std::shared_ptr<cPozycjaPlikow>> m_items;
};

} // namespace kelbrin
