#include "SaveHost.h"

#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"

namespace kelbrin {

int SaveHost::Ask(int textNumber, int style, const QStringList& pairs) {
    return ShowCatalogMessage(textNumber, style, pairs);
}

int SaveHost::AskReplace(const QString& path) {
    constexpr int kExists = 3011;
    constexpr int kReplace = 3022;
    return ShowMessage(GetText(kExists, QStringLiteral("|1"), path) + QLatin1Char('\r') +
                           GetText(kReplace),
                       mb::YesNo | mb::Question, QString(), kExists);
}

} // namespace kelbrin
