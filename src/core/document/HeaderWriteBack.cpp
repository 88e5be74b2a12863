#include "HeaderWriteBack.h"

#include "HeaderRewrite.h"
#include "InPlaceFile.h"
#include "cPozycjaPlikow.h"

namespace kelbrin {

SourceWriteResult WriteBackHeaders(const cPozycjaPlikow& file, SourceWriteHost& host) {
    SourceWriteResult result;
    InPlaceFile out(file.strFileName, InPlaceFile::Mode::ReadWrite);
    if (!OpenedForWrite(out, result))
        return result;
    const std::int32_t frames = file.Daj_Naglowek_Ilosc();
    host.Begin(frames);
    for (std::int32_t i = 1; i <= frames; ++i) {
        if (StopAtProgressStep(host, i, result))
            break;
        const std::uint8_t byte2 = file.Daj_Naglowek_Header2(i);
        if (!IsFrameEdited(byte2))
            continue;
        const FrameHeaderBytes header{byte2, file.Daj_Naglowek_Header3(i),
                                      file.Daj_Naglowek_Header4(i)};
        const HeaderWriteStatus status =
            RewriteFrameHeader(out, file.Daj_Naglowek_Offset(i) - 1, header, false);
        if (status == HeaderWriteStatus::Written) {
            ++result.framesWritten;
        } else if (status == HeaderWriteStatus::SkippedProtected) {
            ++result.skippedProtected;
        } else if (status != HeaderWriteStatus::Unchanged) {
            result.status = status == HeaderWriteStatus::OutsideFile
                                ? SourceWriteStatus::OutsideFile
                                : SourceWriteStatus::Failed;
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
