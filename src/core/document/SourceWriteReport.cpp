#include "SourceWriteReport.h"

#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/app/WriteFaultTexts.h"

namespace kelbrin {

void ReportSourceWrite(const SourceWriteResult& result, const QString& path) {
    const QString frame = QString::number(result.failedFrame);
    // A write of frame headers that failed at a frame has taken back what it
    // wrote before it, or says that it could not.
    const bool failedAtFrame = result.failedFrame > 0 &&
                               (result.status == SourceWriteStatus::Failed ||
                                result.status == SourceWriteStatus::FileChanged ||
                                result.status == SourceWriteStatus::OutsideFile);
    if (failedAtFrame && !result.putBack) {
        ShowText(texts::kHeadersNotPutBack, mb::Critical, QStringLiteral("|1"), path,
                 QStringLiteral("|2"), frame, QStringLiteral("|3"), result.error);
        return;
    }
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
        if (!failedAtFrame) { // one block, such as a tag
            ShowText(6502, mb::Critical, QStringLiteral("|1"), path, QStringLiteral("|2"),
                     result.error);
            break;
        }
        ShowText(texts::kWriteFailedPutBack, mb::Critical, QStringLiteral("|1"), path,
                 QStringLiteral("|2"), frame, QStringLiteral("|3"), result.error);
        break;
    case SourceWriteStatus::FileChanged:
        ShowText(texts::kChangedPutBack, mb::Exclamation, QStringLiteral("|1"), path,
                 QStringLiteral("|2"), frame);
        break;
    case SourceWriteStatus::FramesMoved:
        ShowText(texts::kFramesMoved, mb::Exclamation, QStringLiteral("|1"), path,
                 QStringLiteral("|2"), frame);
        break;
    case SourceWriteStatus::OutsideFile:
        ShowText(texts::kOutsidePutBack, mb::Exclamation, QStringLiteral("|1"), frame,
                 QStringLiteral("|2"), path);
        break;
    case SourceWriteStatus::Replaced:
        ShowText(texts::kReplacedWhileWritten, mb::Exclamation, QStringLiteral("|1"), path);
        break;
    }
    if (result.skippedProtected > 0)
        ShowText(6504, mb::Information, QStringLiteral("|1"),
                 QString::number(result.skippedProtected));
}

} // namespace kelbrin
