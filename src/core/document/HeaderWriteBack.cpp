#include "HeaderWriteBack.h"

#include "FrameWriteLoop.h"
#include "HeaderRewrite.h"
#include "cPozycjaPlikow.h"

namespace kelbrin {

SourceWriteResult WriteBackHeaders(cPozycjaPlikow& file, SourceWriteHost& host) {
    SourceWriteResult result = WriteFramesInPlace(
        file, host,
        [&file](InPlaceFile& out, std::int32_t i) {
            const std::uint8_t byte2 = file.Daj_Naglowek_Header2(i);
            if (!IsFrameEdited(byte2))
                return HeaderWriteStatus::Unchanged;
            const FrameHeaderBytes header{byte2, file.Daj_Naglowek_Header3(i),
                                          file.Daj_Naglowek_Header4(i)};
            return RewriteFrameHeader(out, file.Daj_Naglowek_Offset(i) - 1, header, false);
        });
    if (result.finished())
        file.headerEditsUnwritten = false;
    return result;
}

} // namespace kelbrin
