#include "SourceWriteReport.h"

#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"

namespace kelbrin {

void ReportSourceWrite(const SourceWriteResult& result, const QString& path) {
    const QString frame = QString::number(result.failedFrame);
    switch (result.status) {
    case SourceWriteStatus::Done:
    case SourceWriteStatus::Stopped:
        break;
    case SourceWriteStatus::Missing:
        ShowText(6500, mb::Exclamation, QStringLiteral("|1"), path);
        break;
    case SourceWriteStatus::CannotOpen:
        ShowText(6501, mb::Exclamation, QStringLiteral("|1"), path, QStringLiteral("|2"),
                 result.error);
        break;
    case SourceWriteStatus::Failed:
        ShowText(6502, mb::Critical, QStringLiteral("|1"), path, QStringLiteral("|2"),
                 result.error);
        break;
    case SourceWriteStatus::FileChanged:
        ShowText(6505, mb::Exclamation, QStringLiteral("|1"), path, QStringLiteral("|2"), frame);
        break;
    case SourceWriteStatus::OutsideFile:
        ShowText(6506, mb::Exclamation, QStringLiteral("|1"), frame, QStringLiteral("|2"), path);
        break;
    }
    if (result.skippedProtected > 0)
        ShowText(6504, mb::Information, QStringLiteral("|1"),
                 QString::number(result.skippedProtected));
}

} // namespace kelbrin
