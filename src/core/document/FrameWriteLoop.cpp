#include "FrameWriteLoop.h"

#include "HeaderWriteBack.h"
#include "InPlaceFile.h"
#include "SourceStamp.h"
#include "cPozycjaPlikow.h"

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

// The first frame whose header the file no longer holds where the index says
// (0: none). A frame not edited holds exactly the bytes the index keeps; an
// edited one may have been given a new place by the user, which its own write
// checks.
std::int32_t FirstMovedFrame(InPlaceFile& out, const cPozycjaPlikow& file) {
    for (std::int32_t k = 1; k <= file.Daj_Naglowek_Ilosc(); ++k) {
        if (file.blnExtraArray && IsFrameEdited(file.Daj_Naglowek_Header2(k)))
            continue;
        const QByteArray bytes = out.readAt(file.Daj_Naglowek_Offset(k) - 1, 4);
        if (bytes.size() != 4 || static_cast<std::uint8_t>(bytes.at(0)) != 0xFF)
            return k;
        const auto byte = [&bytes](int i) { return static_cast<std::uint8_t>(bytes.at(i)); };
        if (!file.blnExtraArray) {
            if ((byte(1) & 0xE0) != 0xE0)
                return k;
        } else if (byte(1) != file.Daj_Naglowek_Header2(k) ||
                   byte(2) != file.Daj_Naglowek_Header3(k) ||
                   byte(3) != file.Daj_Naglowek_Header4(k)) {
            return k;
        }
    }
    return 0;
}

} // namespace

SourceWriteResult WriteFramesInPlace(cPozycjaPlikow& file, SourceWriteHost& host,
                                     const FrameWrite& write) {
    SourceWriteResult result;
    const QString path = file.strFileName;
    InPlaceFile out(path, InPlaceFile::Mode::ReadWrite);
    if (!OpenedForWrite(out, result))
        return result;
    // Another program may have retagged, cut or rewritten the file since it
    // was scanned: its frames may now lie elsewhere, and a header written at
    // the index's place would land in the middle of the audio. Nothing is
    // written unless every frame is still where it was.
    if (file.stampRead.known() && SourceStamp::Of(path) != file.stampRead) {
        result.failedFrame = FirstMovedFrame(out, file);
        if (result.failedFrame > 0) {
            result.status = SourceWriteStatus::FramesMoved;
            return result;
        }
    }
    // A write that fails half-way takes back what it wrote: a file with new
    // headers in front and old ones behind is neither what it was nor what
    // the user asked for.
    out.keepOldBytes();
    const std::int32_t frames = file.Daj_Naglowek_Ilosc();
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
    const bool failed = result.status != SourceWriteStatus::Done &&
                        result.status != SourceWriteStatus::Stopped;
    if (failed) {
        result.putBack = out.putOldBytesBack();
        if (!result.putBack)
            result.error = out.error();
    } else if (!out.stillUnderItsName()) {
        // Removed or replaced (a program that saves by renaming a new file
        // over the old) while being written: the file now under the name
        // holds none of it.
        result.status = SourceWriteStatus::Replaced;
    }
    if (!out.close() && result.status == SourceWriteStatus::Done) {
        result.status = SourceWriteStatus::Failed;
        result.error = out.error();
    }
    // This write moved no frame: the index still describes the file as it is
    // now. After a failure it may not: someone may have cut the file.
    const bool whole =
        result.status == SourceWriteStatus::Done || result.status == SourceWriteStatus::Stopped;
    if (whole && file.stampRead.known())
        file.stampRead = SourceStamp::Of(path);
    host.End();
    return result;
}

} // namespace kelbrin
