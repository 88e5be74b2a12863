#pragma once
// The open-files collection. The document-model work fills this out.
#include <QList>
#include <memory>

namespace kelbrin {

class cPozycjaPlikow {};

class cPozycjePlikow {
public:
    int Count() const { return static_cast<int>(m_items.size()); }

private:
    QList<std::shared_ptr<cPozycjaPlikow>> m_items;
};

} // namespace kelbrin
