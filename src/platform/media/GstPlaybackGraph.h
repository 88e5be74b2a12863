#pragma once
// The playback graph on GStreamer: one pipeline per graph,
//   filesrc ! decodebin ! audioconvert ! audiopanorama (simple) ! volume
//           ! audioconvert ! audioresample ! <the output's sink>
// Without a known length, building waits until the pipeline has prerolled
// and the stream's length is known, so a graph that exists can play: an
// unplayable file, a missing decoder or a sink that will not open make Build
// fail instead. With the length given (the editor's frame index has it),
// building only starts the pipeline: it prerolls on GStreamer's threads,
// and the position, stop time, rate and run state set meanwhile are applied
// when it is ready (a file that then fails to play ends at once). Seeks never
// wait either: until one has settled the position reads as its target.
//
// Bus messages (end of stream, errors, finished seeks) are read on the Qt
// thread: by a timer all graphs of the thread share, and before every query.

#include "PlaybackGraph.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;

namespace kelbrin {

// A block of samples as it reaches the output (for tests that measure what is
// played). Runs on GStreamer's streaming thread.
struct AudioBlock {
    QVector<float> samples; // interleaved, full scale 1.0
    int channels = 0;
    int sampleRate = 0;
    double position = -1;   // media time of the first sample, seconds (-1 unknown)
};
using AudioTap = std::function<void(const AudioBlock&)>;

class GstPlaybackGraph final : public QObject, public PlaybackGraph {
public:
    // Takes ownership of `sink` (a floating or owned reference). `tap`, when
    // set, sees every block that reaches the sink. Returns nullptr, with the
    // reason in *why, when the graph cannot be built.
    static std::shared_ptr<GstPlaybackGraph> Build(const QString& file, GstElement* sink,
                                                   const AudioTap& tap = {}, QString* why = nullptr,
                                                   double lengthSeconds = 0);
    ~GstPlaybackGraph() override;

    void run() override;
    void pause() override;
    void stop() override;
    GraphState state() const override { return m_state; }

    double duration() const override { return m_duration; }
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double stopTime() const override { return m_stop; }
    void setStopTime(double seconds) override;
    double rate() const override { return m_rate; }
    void setRate(double rate) override;

    int volume() const override { return m_volume; }
    void setVolume(int hundredthsDb) override;
    int balance() const override { return m_balance; }
    void setBalance(int hundredthsDb) override;

    // True once a stream error stopped the graph (it then stays at its end).
    bool failed() const override;
    // The factory names of every element in the pipeline, decodebin's
    // children included (to see which decoder and sink play).
    QStringList elementFactories() const;

private:
    GstPlaybackGraph() = default;
    bool prepare(const QString& file, GstElement* sink, const AudioTap& tap, QString* why, double lengthSeconds);
    // The steps of building; each gives the reason it failed, or an empty text.
    // Takes the one reference to `sink` and checks GStreamer and the file.
    QString adoptSink(const QString& file, GstElement* sink);
    // Makes and links the elements; *decodedInput is the converter that the
    // decoder's audio pad feeds.
    QString assemble(const QString& file, GstElement* sink, GstElement** decodedInput);
    void attachTap(GstElement* sink, const AudioTap& tap);
    // Waits for the preroll and checks that an audio stream reached the converter.
    QString awaitDecodedAudio(GstElement* decodedInput);
    // The stream's length from the pipeline, its parser or the discoverer.
    QString learnDuration(const QString& file);
    void startBusTimer();
    void stopBusTimer();
    void drainBus() const;
    void readBus();
    void settle();
    void seekFrom(double seconds);
    // Starts the output's stream anew at the graph's position (see run()).
    void reopenOutput();
    void applyPipelineState();
    bool waitForPreroll() const;

    GstElement* m_pipeline = nullptr;
    GstElement* m_sink = nullptr; // held by the pipeline
    GstElement* m_volumeElement = nullptr;
    GstElement* m_panorama = nullptr;
    GstBus* m_bus = nullptr;
    std::shared_ptr<AudioTap> m_tap;

    GraphState m_state = GraphState::Stopped;
    double m_duration = 0;
    double m_stop = 0;
    double m_rate = 1.0;
    int m_volume = 0;
    int m_balance = 0;
    // Changed while reading bus messages, which queries do too.
    mutable bool m_ended = false;      // the stop time has been reached
    mutable bool m_failed = false;
    mutable bool m_seekPending = false; // a seek while running has not settled yet
    mutable double m_lastPosition = 0;
    static constexpr long long kNeverRead = -(1LL << 62);
    mutable long long m_positionReadUs = kNeverRead; // when m_lastPosition was read from the pipeline
    bool m_prerolled = true;   // false until a graph built without waiting has prerolled
    bool m_seekWanted = false; // a seek waits for the preroll
    double m_seekTarget = 0;
};

} // namespace kelbrin
