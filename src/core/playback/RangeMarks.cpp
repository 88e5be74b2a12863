// The mark buttons: the begin or the end of the panel track set from where the
// preview is playing.
#include "RangeEditor.h"

#include "PlayMath.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/document/MpegHeader.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "platform/media/PlaybackGraph.h"

#include <algorithm>
#include <cmath>

namespace kelbrin {

std::optional<std::int32_t> FrameAtSeconds(const cPozycjaPlikow& file, double seconds) {
    const std::int32_t rate = HeaderSampleRate(file);
    if (rate <= 0)
        return std::nullopt;
    const std::int64_t sample = RoundHalfEven(double(rate) * seconds);
    const int perFrame = mpeg::SamplesPerFrame(file.btyFrame2);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sample / perFrame, 0, INT32_MAX));
}

TimeParts SplitSeconds(double seconds) {
    if (!(seconds > 0))
        return {};
    // A time meant as whole milliseconds may lie a hair below them in binary.
    const auto ms = static_cast<std::int64_t>(std::floor(seconds * 1000.0 + 1e-6));
    TimeParts p;
    p.minutes = static_cast<std::int32_t>(std::min<std::int64_t>(ms / 60000, INT32_MAX));
    p.seconds = static_cast<std::int32_t>(ms / 1000 % 60);
    p.milliseconds = static_cast<std::int32_t>(ms % 1000);
    return p;
}

void RangeEditor::cmdMark_Click(int index, PlaybackGraph* preview, bool testB, bool testE,
                                bool oldAlgorithm) {
    if (!preview || !Cpoz || index < 0 || index > 1)
        return;
    PushRangeUndo();
    const double t = static_cast<double>(RoundHalfEven(preview->currentPosition() * 1000.0)) / 1000.0;
    if (testB)
        preview->setStopTime(preview->currentPosition() + 3.0);
    if (testE && preview->stopTime() > 3.0)
        preview->setCurrentPosition(preview->stopTime() - 3.0);
    const double trackTime =
        RescaleFromPlayerTime(t, Cpoz->dblDuration, preview->duration(), oldAlgorithm);
    if (framesChecked)
        if (const auto file = source())
            markFrame(index, *file, trackTime);
    markTime(index, trackTime);
    {
        GuardOff guard(enabled);
        const std::int32_t fields[6] = {Cpoz->lngPoczatek_M, Cpoz->lngPoczatek_S, Cpoz->lngPoczatek_SS,
                                        Cpoz->lngKoniec_M,   Cpoz->lngKoniec_S,   Cpoz->lngKoniec_SS};
        for (int i = 0; i < 6; ++i)
            SetTimeText(i, QString::number(fields[i]));
    }
    m_host.UpdateTrackListRow(*Cpoz);
}

void RangeEditor::markFrame(int index, const cPozycjaPlikow& file, double seconds) {
    const auto frame = FrameAtSeconds(file, seconds);
    if (!frame)
        return;
    const QString text = QString::number(*frame);
    // The other side moves along when the mark would pass it.
    const int other = 1 - index;
    const std::int32_t otherFrame = ValLong(txtRamka[other]);
    if (index == 0 ? otherFrame < *frame : otherFrame > *frame)
        SetFrameText(other, text);
    {
        GuardOff guard(enabled);
        SetFrameText(index, text);
    }
    // The track keeps what the box kept: a frame past the source's last is
    // refused there.
    (index == 0 ? Cpoz->lngRamkaOd : Cpoz->lngRamkaDo) = ValLong(txtRamka[index]);
}

void RangeEditor::markTime(int index, double seconds) {
    const TimeParts p = SplitSeconds(seconds);
    auto setBegin = [&] {
        Cpoz->lngPoczatek_M = p.minutes;
        Cpoz->lngPoczatek_S = p.seconds;
        Cpoz->lngPoczatek_SS = p.milliseconds;
    };
    auto setEnd = [&] {
        Cpoz->lngKoniec_M = p.minutes;
        Cpoz->lngKoniec_S = p.seconds;
        Cpoz->lngKoniec_SS = p.milliseconds;
    };
    if (index == 0) {
        setBegin();
        if (RangeEndSeconds(*Cpoz) < seconds)
            setEnd();
    } else {
        if (RangeBeginSeconds(*Cpoz) > seconds)
            setBegin();
        setEnd();
    }
    Cpoz->blnZmodyfikowana = true;
}

} // namespace kelbrin
