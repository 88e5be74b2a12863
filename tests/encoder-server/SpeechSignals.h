#pragma once
// Generated blocks for the speech detector's tests: tones, silence and
// "talk" (short tone bursts with pauses), in the recorder's sample layouts.

#include "encoder-server/speech/PcmLayout.h"

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <cmath>
#include <functional>

namespace kelbrin::test {

// One stretch of a generated recording.
struct Stretch {
    enum Kind { Silence, Tone, Talk } kind;
    double seconds;
};

// The sample of channel 0 at time t (seconds) of a stretch, on the 16-bit scale.
inline int StretchSample(Stretch::Kind kind, double t, int amplitude = 20000) {
    const double tone = amplitude * std::sin(2 * M_PI * 440.0 * t);
    switch (kind) {
    case Stretch::Silence:
        return 0;
    case Stretch::Tone:
        return int(tone);
    case Stretch::Talk: // 60 ms bursts, 60 ms pauses
        return std::fmod(t, 0.12) < 0.06 ? int(tone) : 0;
    }
    return 0;
}

// Writes one sample in the layout's format (8-bit unsigned or 16-bit signed).
inline void AppendSample(QByteArray& out, const PcmLayout& layout, int value) {
    value = std::clamp(value, -32768, 32767);
    if (layout.bitsPerSample == 8) {
        out.append(char(std::clamp(128 + value / 256, 0, 255)));
    } else {
        out.append(char(value & 0xFF));
        out.append(char((value >> 8) & 0xFF));
    }
}

// The whole recording as one byte stream; `right` gives the other channels.
inline QByteArray MakeRecording(const PcmLayout& layout, const QList<Stretch>& stretches,
                                const std::function<int(double)>& right = {}) {
    QByteArray out;
    double start = 0;
    for (const Stretch& s : stretches) {
        const qint64 frames = qint64(s.seconds * layout.sampleRate);
        for (qint64 f = 0; f < frames; ++f) {
            const double t = start + double(f) / layout.sampleRate;
            AppendSample(out, layout, StretchSample(s.kind, t - start));
            for (int c = 1; c < layout.channels; ++c)
                AppendSample(out, layout, right ? right(t) : StretchSample(s.kind, t - start));
        }
        start += s.seconds;
    }
    return out;
}

// Where segments truly open (talk gives way to steady sound or silence) and
// close (talk begins again), in seconds from the start. A recording that
// opens without talk has a segment from its first moment.
struct TalkEdges {
    QList<double> starts;
    QList<double> ends;
};

inline TalkEdges EdgesOf(const QList<Stretch>& stretches) {
    TalkEdges edges;
    if (!stretches.isEmpty() && stretches.first().kind != Stretch::Talk)
        edges.starts.append(0);
    double t = 0;
    for (qsizetype i = 1; i < stretches.size(); ++i) {
        t += stretches[i - 1].seconds;
        const bool wasTalk = stretches[i - 1].kind == Stretch::Talk;
        const bool isTalk = stretches[i].kind == Stretch::Talk;
        if (wasTalk && !isTalk)
            edges.starts.append(t);
        else if (!wasTalk && isTalk)
            edges.ends.append(t);
    }
    return edges;
}

} // namespace kelbrin::test
