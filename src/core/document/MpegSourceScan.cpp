#include "MpegSourceScan.h"

#include "FrameProbe.h"
#include "FrameScan.h"
#include "FrameScanHost.h"
#include "MpegHeader.h"
#include "RateSampler.h"
#include "SourceReader.h"
#include "TrailingTags.h"
#include "cPozycjaMP3.h"
#include "cPozycjaPlikow.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelbrin {

namespace {

std::int64_t wholePart(double value) {
    if (!(value > 0))
        return 0;
    const double limit = static_cast<double>(std::numeric_limits<std::int64_t>::max());
    return value >= limit ? std::numeric_limits<std::int64_t>::max()
                          : static_cast<std::int64_t>(std::floor(value));
}

double seconds(std::int32_t minutes, std::int32_t secs, std::int32_t millis) {
    return minutes * 60.0 + secs + millis * 0.001;
}

using texts::kFormatChanged;

void showReadFailure(const QString& path) {
    ShowText(3301, mb::Information, QStringLiteral("|1"), path);
}

// "m:ss.mmm"
QString minutesSecondsText(double seconds) {
    const auto millis = static_cast<std::int64_t>(std::llround(std::max(seconds, 0.0) * 1000.0));
    return QStringLiteral("%1:%2.%3")
        .arg(millis / 60000)
        .arg(millis / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(millis % 1000, 3, 10, QLatin1Char('0'));
}

void showFormatChange(const cPozycjaPlikow& file, const QString& path) {
    const std::int32_t frames = file.Daj_Naglowek_Ilosc();
    const double end = HeaderSampleRate(file) > 0 ? FramesToSeconds(file, frames) : 0;
    ShowText(kFormatChanged, mb::Information, QStringLiteral("|1"), path, QStringLiteral("|2"),
             minutesSecondsText(end));
}

// The audio's end: the file's, or the start of the tags behind the frames. -1
// when the tags' place cannot be read.
std::int64_t audioEnd(SourceReader& reader) {
    return AudioEndBeforeTags(reader.size(),
                              [&](std::int64_t position, char* to, std::int64_t count) {
                                  return reader.readAt(position, to, count) == count;
                              });
}

// Frames of a constant-bit-rate stream between the first frame and the audio
// end, from the mean frame length, in seconds.
float constantRateDuration(const cPozycjaPlikow& file, std::int64_t audioBytes, bool padded) {
    const double mean = mpeg::MeanFrameLength(file.btyFrame2, file.btyFrame3, padded);
    const std::int32_t rate = HeaderSampleRate(file);
    if (mean <= 0 || rate <= 0 || file.lngD1Ramki <= 0)
        return file.sngCzasTrwania;
    const double frames = static_cast<double>(RoundHalfEven(audioBytes / mean));
    return static_cast<float>(frames * mpeg::SamplesPerFrame(file.btyFrame2) / rate);
}

} // namespace

ScanLimits LimitsFromTrack(const cPozycjaMP3& track, const cPozycjaPlikow& file, bool noTimeLimit,
                           std::int64_t fileSize) {
    ScanLimits limits;
    if (!track.blnJednostka) {
        limits.neededFrame = std::max(track.lngRamkaOd == 0 ? 1 : track.lngRamkaOd,
                                      track.lngRamkaDo == 0 ? 1 : track.lngRamkaDo);
        return limits;
    }
    if (file.blnVBR || noTimeLimit)
        return limits;
    const double start = seconds(track.lngPoczatek_M, track.lngPoczatek_S, track.lngPoczatek_SS);
    const double end = seconds(track.lngKoniec_M, track.lngKoniec_S, track.lngKoniec_SS);
    const double framesPerSecond =
        static_cast<double>(HeaderSampleRate(file)) / mpeg::SamplesPerFrame(file.btyFrame2);
    const std::int64_t frame = std::max<std::int64_t>(
        {wholePart(start * framesPerSecond), wholePart(end * framesPerSecond), 1});
    limits.neededFrame = static_cast<std::int32_t>(
        std::min<std::int64_t>(frame, std::numeric_limits<std::int32_t>::max()));
    // Without a duration yet there is nothing to scale the range by.
    if (file.sngCzasTrwania > 0) {
        const double duration = file.sngCzasTrwania;
        limits.neededPosition =
            std::max(wholePart(start / duration * fileSize), wholePart(end / duration * fileSize));
    }
    return limits;
}

bool ScanMpegSource(FrameScanHost& host, cPozycjaPlikow& file, const QString& path,
                    bool& buildIndex, const cPozycjaMP3* track, bool noTimeLimit) {
    SourceReader reader(path);
    if (!reader.isOpen()) {
        showReadFailure(path);
        return false;
    }
    // A run that builds the index reads the whole file: the probe's first
    // block already starts the reading ahead.
    reader.readAhead((buildIndex || file.blnVBR) && !file.blnLoadedFull);
    const std::int64_t size = reader.size();
    if (size == 0) {
        ShowText(3140, mb::Information, QStringLiteral("|1"), path);
        return false;
    }
    const ProbeResult probe = FrameProbe::Run(reader, file);
    if (probe.readFailed) {
        showReadFailure(path);
        return false;
    }
    if (!probe.found) {
        ShowMessage(GetText(3026) + QLatin1Char('\r') + path, mb::Information, QString(), 3026);
        return false;
    }

    FrameScanRequest request;
    request.firstFrame = probe.firstFramePosition;
    request.reference2 = probe.byte2;
    request.reference3 = probe.byte3;
    request.trackGiven = track != nullptr;
    if (track) {
        const ScanLimits limits = LimitsFromTrack(*track, file, noTimeLimit, size);
        request.neededFrame = limits.neededFrame;
        request.neededPosition = limits.neededPosition;
    }
    host.MaxProgress(size);
    host.UstawProgress(0);
    request.audioEnd = audioEnd(reader);
    if (request.audioEnd < 0) {
        host.ZerujProgress();
        showReadFailure(path);
        return false;
    }

    // A file known to vary has no other length than its frame count.
    if (file.blnVBR)
        buildIndex = true;
    // A complete index has nothing left to add.
    const bool alreadyComplete = buildIndex && file.blnLoadedFull && file.Daj_Naglowek_Ilosc() > 0;
    FrameScanResult scan;
    if (!alreadyComplete)
        scan = FrameScan(reader, file, host, request).Run(buildIndex);

    // A walk that did not cover the whole audio has seen too little to call
    // the bit rate constant or the format unchanged: frames sampled across the
    // file decide, and what they find needs the whole index.
    const bool walkedAll = buildIndex && scan.outcome == FrameScanOutcome::Complete;
    if (!alreadyComplete && !file.blnVBR && !walkedAll &&
        (scan.outcome == FrameScanOutcome::Complete || scan.outcome == FrameScanOutcome::Partial)) {
        const RateSample sample = RateSampler::Run(reader, request.firstFrame, request.audioEnd,
                                                   request.reference2, request.reference3);
        if (sample.readFailed) {
            host.ZerujProgress();
            showReadFailure(path);
            return false;
        }
        if (sample.variable || sample.otherFormat || scan.formatChangeAt > 0) {
            file.blnVBR = sample.variable;
            buildIndex = true;
            if (sample.variable && track) {
                const ScanLimits limits = LimitsFromTrack(*track, file, noTimeLimit, size);
                request.neededFrame = limits.neededFrame;
                request.neededPosition = limits.neededPosition;
            } else if (!sample.variable) {
                // Where the format changes is known only once every frame before it is indexed.
                request.neededFrame = 0;
                request.neededPosition = 0;
            }
            scan = FrameScan(reader, file, host, request).Run(buildIndex);
        }
    }
    host.ZerujProgress();
    if (scan.outcome == FrameScanOutcome::Stopped)
        return false;
    if (scan.outcome == FrameScanOutcome::ReadFailed) {
        showReadFailure(path);
        return false;
    }
    // Frames read before the cut may no longer be in the file: an index that
    // held them would place tracks in audio that is gone.
    if (scan.outcome == FrameScanOutcome::Shrunk) {
        ShowText(texts::kSourceShrank, mb::Information, QStringLiteral("|1"), path);
        return false;
    }
    // Every later scan of the record (a track's range, the export) finds the
    // same change; once is enough to say so.
    if (scan.formatChangeAt > 0 && !file.formatChangeShown) {
        showFormatChange(file, path);
        file.formatChangeShown = true;
    }

    const bool loadedFull = scan.outcome == FrameScanOutcome::Complete;
    if (file.blnVBR || buildIndex)
        file.blnLoadedFull = loadedFull;
    const std::int64_t audioBytes =
        std::max<std::int64_t>(request.audioEnd - (request.firstFrame - 1), 0);
    if (!buildIndex) {
        file.sngCzasTrwania = constantRateDuration(file, audioBytes, scan.paddedFrameSeen);
    } else if (!track) {
        file.sngCzasTrwania = FramesToSeconds(file, file.Daj_Naglowek_Ilosc());
    } else if (file.sngCzasTrwania <= 0) {
        // A track-driven first open must not leave the file without a length.
        if (loadedFull)
            file.sngCzasTrwania = FramesToSeconds(file, file.Daj_Naglowek_Ilosc());
        else if (!file.blnVBR)
            file.sngCzasTrwania = constantRateDuration(file, audioBytes, scan.paddedFrameSeen);
    }
    return true;
}

} // namespace kelbrin
