#include "SaveSourceCheck.h"

#include "core/document/FrameProbe.h"
#include "core/document/MpegHeader.h"
#include "core/document/SourceReader.h"
#include "core/document/cPozycjaPlikow.h"

namespace kelbrin {

namespace {

// The record's identity and flags, without anything read from the file.
cPozycjaPlikow identityOf(const cPozycjaPlikow& file) {
    cPozycjaPlikow copy;
    copy.lngNrPozycji = file.lngNrPozycji;
    copy.strFileName = file.strFileName;
    copy.sngCzasTrwania = file.sngCzasTrwania;
    copy.blnVBR = file.blnVBR;
    copy.blnZmodyfikowana = file.blnZmodyfikowana;
    copy.blnNoSave = file.blnNoSave;
    copy.blnExtraArray = file.blnExtraArray;
    copy.blnListaCiec = file.blnListaCiec;
    return copy;
}

} // namespace

bool HasReferenceHeader(const cPozycjaPlikow& file) {
    return file.btyFrame2 != 0 && file.lngD1Ramki > 0 && HeaderSampleRate(file) > 0;
}

bool ChangedSinceRead(const cPozycjaPlikow& file) {
    return file.stampRead.known() && SourceStamp::Of(file.strFileName) != file.stampRead;
}

void ForgetWhatWasRead(cPozycjaPlikow& file) {
    file = identityOf(file);
}

std::optional<cPozycjaPlikow> WithHeaderFromFile(const cPozycjaPlikow& file) {
    SourceReader reader(file.strFileName);
    if (!reader.isOpen())
        return std::nullopt;
    cPozycjaPlikow copy = identityOf(file);
    const ProbeResult probe = FrameProbe::Run(reader, copy);
    if (!probe.found || probe.readFailed || !HasReferenceHeader(copy))
        return std::nullopt;
    return copy;
}

} // namespace kelbrin
