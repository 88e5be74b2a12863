#include "SaveHost.h"

#include "core/app/TextCatalog.h"

namespace kelbrin {

int SaveHost::Ask(int textNumber, int style, const QStringList& pairs) {
    return ShowCatalogMessage(textNumber, style, pairs);
}

} // namespace kelbrin
