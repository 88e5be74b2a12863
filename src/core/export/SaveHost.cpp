#include "SaveHost.h"

#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"

namespace kelbrin {

int SaveHost::Ask(int textNumber, int style, const QStringList& pairs) {
    return ShowCatalogMessage(textNumber, style, pairs);
}

int SaveHost::AskReplace(const QString& path) {
    using texts::kFileExists;
    using texts::kReplaceQuestion;
    return ShowMessage(GetText(kFileExists, QStringLiteral("|1"), path) + QLatin1Char('\r') +
                           GetText(kReplaceQuestion),
                       mb::YesNo | mb::Question, QString(), kFileExists);
}

} // namespace kelbrin
