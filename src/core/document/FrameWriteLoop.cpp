#include "FrameWriteLoop.h"

#include "InPlaceFile.h"

namespace kelbrin {

namespace {

SourceWriteStatus FailureOf(HeaderWriteStatus status) {
    switch (status) {
    case HeaderWriteStatus::NotAHeader:
        return SourceWriteStatus::FileChanged;
    case HeaderWriteStatus::OutsideFile:
        return SourceWriteStatus::OutsideFile;
    default:
        return SourceWriteStatus::Failed;
    }
}

} // namespace

SourceWriteResult WriteFramesInPlace(const QString& path, std::int32_t frames,
                                     SourceWriteHost& host, const FrameWrite& write) {
    SourceWriteResult result;
    InPlaceFile out(path, InPlaceFile::Mode::ReadWrite);
    if (!OpenedForWrite(out, result))
        return result;
    host.Begin(frames);
    for (std::int32_t i = 1; i <= frames; ++i) {
        if (StopAtProgressStep(host, i, result))
            break;
        const HeaderWriteStatus status = write(out, i);
        if (status == HeaderWriteStatus::Written) {
            ++result.framesWritten;
        } else if (status == HeaderWriteStatus::SkippedProtected) {
            ++result.skippedProtected;
        } else if (status != HeaderWriteStatus::Unchanged) {
            result.status = FailureOf(status);
            result.failedFrame = i;
            result.error = out.error();
            break;
        }
    }
    if (!out.close() && result.status == SourceWriteStatus::Done) {
        result.status = SourceWriteStatus::Failed;
        result.error = out.error();
    }
    host.End();
    return result;
}

} // namespace kelbrin
