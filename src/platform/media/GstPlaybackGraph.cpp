#include "GstPlaybackGraph.h"

#include "GstMediaDuration.h"
#include "GstSetup.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QTimer>

#include <gst/audio/audio.h>
#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace kelbrin {

namespace {

constexpr GstClockTime kPrerollTimeout = 10 * GST_SECOND;
constexpr int kLengthWaitMs = 1000;
// Queries read the bus too (a playing graph is asked every pass), so this
// only bounds the delay of an error or end seen by nobody asking.
constexpr int kBusPollMs = 250;
// A position asked for again this soon is the one just read: the player
// asks twice in a pass, and each query walks the pipeline.
constexpr gint64 kPositionReuseUs = 1000;

gint64 Nanoseconds(double seconds) { return static_cast<gint64>(std::llround(seconds * GST_SECOND)); }

// decodebin's decoded pad goes to the first converter; only the first audio
// stream is played.
void OnDecodedPad(GstElement*, GstPad* pad, gpointer converter) {
    GstPad* sinkPad = gst_element_get_static_pad(GST_ELEMENT(converter), "sink");
    if (!gst_pad_is_linked(sinkPad)) {
        GstCaps* caps = gst_pad_get_current_caps(pad);
        if (!caps)
            caps = gst_pad_query_caps(pad, nullptr);
        const GstStructure* s = caps ? gst_caps_get_structure(caps, 0) : nullptr;
        if (s && g_str_has_prefix(gst_structure_get_name(s), "audio/"))
            gst_pad_link(pad, sinkPad);
        if (caps)
            gst_caps_unref(caps);
    }
    gst_object_unref(sinkPad);
}

GstPadProbeReturn OnSinkBuffer(GstPad* pad, GstPadProbeInfo* info, gpointer tapPointer) {
    auto* tap = static_cast<AudioTap*>(tapPointer);
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstCaps* caps = gst_pad_get_current_caps(pad);
    GstAudioInfo audio;
    const bool known = caps && gst_audio_info_from_caps(&audio, caps);
    if (caps)
        gst_caps_unref(caps);
    GstMapInfo map;
    if (!known || !buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
        return GST_PAD_PROBE_OK;
    AudioBlock block;
    block.channels = GST_AUDIO_INFO_CHANNELS(&audio);
    block.sampleRate = GST_AUDIO_INFO_RATE(&audio);
    if (GST_BUFFER_PTS_IS_VALID(buffer))
        block.position = static_cast<double>(GST_BUFFER_PTS(buffer)) / GST_SECOND;
    const GstAudioFormat format = GST_AUDIO_INFO_FORMAT(&audio);
    auto convert = [&](auto sample, double scale) {
        using T = decltype(sample);
        const gsize count = map.size / sizeof(T);
        block.samples.resize(static_cast<int>(count));
        for (gsize i = 0; i < count; ++i) {
            T value;
            std::memcpy(&value, map.data + i * sizeof(T), sizeof(T));
            block.samples[static_cast<int>(i)] = static_cast<float>(value / scale);
        }
    };
    switch (format) {
    case GST_AUDIO_FORMAT_F32LE: convert(float(), 1.0); break;
    case GST_AUDIO_FORMAT_F64LE: convert(double(), 1.0); break;
    case GST_AUDIO_FORMAT_S16LE: convert(gint16(), 32768.0); break;
    case GST_AUDIO_FORMAT_S32LE: convert(gint32(), 2147483648.0); break;
    default: break; // other layouts are reported without samples
    }
    gst_buffer_unmap(buffer, &map);
    (*tap)(block);
    return GST_PAD_PROBE_OK;
}

// The length that the stream's parser works out from the file's size, or -1.
gint64 ParserLength(GstElement* pipeline, gint64 fileBytes) {
    gint64 length = -1;
    GstIterator* it = gst_bin_iterate_recurse(GST_BIN(pipeline));
    GValue item = G_VALUE_INIT;
    while (length <= 0 && gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        auto* element = GST_ELEMENT(g_value_get_object(&item));
        GstElementFactory* factory = gst_element_get_factory(element);
        const gchar* klass = factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : nullptr;
        if (klass && std::strstr(klass, "Parser")) {
            if (GstPad* pad = gst_element_get_static_pad(element, "src")) {
                if (!gst_pad_query_convert(pad, GST_FORMAT_BYTES, fileBytes, GST_FORMAT_TIME, &length))
                    length = -1;
                gst_object_unref(pad);
            }
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return length;
}

GstElement* Make(const char* factory, const char* name) { return gst_element_factory_make(factory, name); }

} // namespace

std::shared_ptr<GstPlaybackGraph> GstPlaybackGraph::Build(const QString& file, GstElement* sink,
                                                          const AudioTap& tap, QString* why,
                                                          double lengthSeconds) {
    std::shared_ptr<GstPlaybackGraph> graph(new GstPlaybackGraph());
    if (!graph->prepare(file, sink, tap, why, lengthSeconds))
        return nullptr;
    return graph;
}

bool GstPlaybackGraph::prepare(const QString& file, GstElement* sink, const AudioTap& tap, QString* why,
                               double lengthSeconds) {
    const auto fail = [&](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (const QString reason = adoptSink(file, sink); !reason.isEmpty())
        return fail(reason);
    GstElement* convert = nullptr;
    if (const QString reason = assemble(file, sink, &convert); !reason.isEmpty())
        return fail(reason);
    attachTap(sink, tap);
    if (gst_element_set_state(m_pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return fail(QStringLiteral("the file does not play on this output"));
    if (lengthSeconds > 0) {
        // The length is known: the pipeline prerolls on its own threads while
        // the caller goes on; settings wait for it (see settle()).
        m_duration = m_stop = lengthSeconds;
        m_prerolled = false;
        startBusTimer();
        return true;
    }
    if (const QString reason = awaitDecodedAudio(convert); !reason.isEmpty())
        return fail(reason);
    if (const QString reason = learnDuration(file); !reason.isEmpty())
        return fail(reason);
    m_stop = m_duration;
    startBusTimer();
    return true;
}

QString GstPlaybackGraph::adoptSink(const QString& file, GstElement* sink) {
    if (sink && g_object_is_floating(sink))
        gst_object_ref_sink(sink); // from here on we own exactly one reference
    if (!EnsureGstreamer()) {
        if (sink)
            gst_object_unref(sink);
        return QStringLiteral("GStreamer cannot start");
    }
    if (!sink)
        return QStringLiteral("no output sink");
    if (!QFileInfo(file).isFile()) {
        gst_object_unref(sink);
        return QStringLiteral("no such file: ") + file;
    }
    return QString();
}

QString GstPlaybackGraph::assemble(const QString& file, GstElement* sink, GstElement** decodedInput) {
    m_pipeline = gst_pipeline_new("playback");
    GstElement* source = Make("filesrc", "source");
    GstElement* decoder = Make("decodebin", "decoder");
    GstElement* convert = Make("audioconvert", "convert");
    m_panorama = Make("audiopanorama", "balance");
    m_volumeElement = Make("volume", "volume");
    GstElement* convertOut = Make("audioconvert", "convert-out");
    GstElement* resample = Make("audioresample", "resample");
    GstElement* parts[] = {source, decoder, convert, m_panorama, m_volumeElement, convertOut, resample};
    for (GstElement* part : parts) {
        if (!part) {
            for (GstElement* other : parts)
                if (other)
                    gst_object_unref(gst_object_ref_sink(other));
            m_panorama = m_volumeElement = nullptr;
            gst_object_unref(sink);
            return QStringLiteral("a GStreamer element is missing");
        }
    }
    g_object_set(source, "location", QFile::encodeName(QFileInfo(file).absoluteFilePath()).constData(), nullptr);
    gst_util_set_object_arg(G_OBJECT(m_panorama), "method", "simple");
    gst_bin_add_many(GST_BIN(m_pipeline), source, decoder, convert, m_panorama, m_volumeElement, convertOut,
                     resample, sink, nullptr);
    gst_object_unref(sink); // the pipeline holds it now
    m_sink = sink;
    m_bus = gst_pipeline_get_bus(GST_PIPELINE(m_pipeline));

    if (!gst_element_link(source, decoder) ||
        !gst_element_link_many(convert, m_panorama, m_volumeElement, convertOut, resample, sink, nullptr))
        return QStringLiteral("the elements do not link");
    g_signal_connect(decoder, "pad-added", G_CALLBACK(OnDecodedPad), convert);
    *decodedInput = convert;
    return QString();
}

void GstPlaybackGraph::attachTap(GstElement* sink, const AudioTap& tap) {
    if (!tap)
        return;
    m_tap = std::make_shared<AudioTap>(tap);
    GstPad* pad = gst_element_get_static_pad(sink, "sink");
    if (pad) {
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, OnSinkBuffer, m_tap.get(), nullptr);
        gst_object_unref(pad);
    }
}

QString GstPlaybackGraph::awaitDecodedAudio(GstElement* decodedInput) {
    if (!waitForPreroll())
        return QStringLiteral("the file does not play on this output");
    GstPad* decoded = gst_element_get_static_pad(decodedInput, "sink");
    const bool linked = gst_pad_is_linked(decoded);
    gst_object_unref(decoded);
    drainBus();
    if (!linked || m_failed)
        return QStringLiteral("no audio stream was decoded");
    return QString();
}

QString GstPlaybackGraph::learnDuration(const QString& file) {
    // A stream without a length header (MP2, MP3 without an info frame)
    // knows its length only once the parser has read some frames, which it
    // goes on doing while the pipeline waits prerolled.
    gint64 length = -1;
    for (int waited = 0; waited < kLengthWaitMs; waited += 10) {
        if (gst_element_query_duration(m_pipeline, GST_FORMAT_TIME, &length) && length > 0)
            break;
        g_usleep(10 * 1000);
    }
    if (length <= 0) {
        // The parser can still turn the file's size into time at the rate it
        // has seen.
        length = ParserLength(m_pipeline, QFileInfo(file).size());
    }
    if (length > 0) {
        m_duration = static_cast<double>(length) / GST_SECOND;
        return QString();
    }
    // Still nothing: the discoverer reads the whole stream.
    m_duration = GstMediaDurationReader().durationSeconds(file).value_or(0.0);
    if (m_duration <= 0)
        return QStringLiteral("the file has no known length");
    return QString();
}

namespace {
// One timer reads the buses of all of a thread's graphs: a timer each would
// wake the event loop four times a second for every track of a project,
// playing or not.
struct BusWatch {
    QList<GstPlaybackGraph*> graphs;
    QTimer* timer = nullptr;
};
thread_local BusWatch busWatch;
} // namespace

void GstPlaybackGraph::startBusTimer() {
    if (busWatch.graphs.contains(this))
        return;
    busWatch.graphs.append(this);
    if (!busWatch.timer) {
        busWatch.timer = new QTimer;
        QObject::connect(busWatch.timer, &QTimer::timeout, [] {
            // Reading a bus calls nothing outside the graph: the list stays.
            for (GstPlaybackGraph* graph : std::as_const(busWatch.graphs))
                graph->drainBus();
        });
        busWatch.timer->start(kBusPollMs);
    }
}

void GstPlaybackGraph::stopBusTimer() {
    busWatch.graphs.removeOne(this);
    if (busWatch.graphs.isEmpty() && busWatch.timer) {
        delete busWatch.timer;
        busWatch.timer = nullptr;
    }
}

GstPlaybackGraph::~GstPlaybackGraph() {
    stopBusTimer();
    if (m_pipeline) {
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_object_unref(m_pipeline);
    }
    if (m_bus)
        gst_object_unref(m_bus);
}

bool GstPlaybackGraph::waitForPreroll() const {
    return gst_element_get_state(m_pipeline, nullptr, nullptr, kPrerollTimeout) == GST_STATE_CHANGE_SUCCESS;
}

void GstPlaybackGraph::drainBus() const {
    // Reading the bus can finish the first preroll, which then applies the
    // settings made meanwhile: a change of the graph, not of what it means.
    const_cast<GstPlaybackGraph*>(this)->readBus();
}

void GstPlaybackGraph::readBus() {
    if (!m_bus)
        return;
    bool prerolledNow = false;
    while (GstMessage* message = gst_bus_pop(m_bus)) {
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
            m_ended = true;
            m_seekPending = false;
            break;
        case GST_MESSAGE_ERROR:
            m_failed = true;
            m_ended = true;
            m_seekPending = false;
            break;
        case GST_MESSAGE_ASYNC_DONE:
            if (!m_prerolled && GST_MESSAGE_SRC(message) == GST_OBJECT(m_pipeline))
                prerolledNow = true;
            else
                m_seekPending = false;
            break;
        default:
            break;
        }
        gst_message_unref(message);
    }
    if (prerolledNow)
        settle();
}

void GstPlaybackGraph::settle() {
    m_prerolled = true;
    if (m_failed)
        return;
    // The position, stop time and rate set while it prerolled take effect
    // in one seek; a graph left at its start with nothing changed needs none.
    if (m_seekWanted) {
        m_seekWanted = false;
        seekFrom(m_lastPosition);
    } else {
        applyPipelineState();
    }
}

bool GstPlaybackGraph::failed() const {
    drainBus();
    return m_failed;
}

QStringList GstPlaybackGraph::elementFactories() const {
    QStringList names;
    GstIterator* it = gst_bin_iterate_recurse(GST_BIN(m_pipeline));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
        auto* element = GST_ELEMENT(g_value_get_object(&item));
        if (GstElementFactory* factory = gst_element_get_factory(element))
            names.append(QString::fromUtf8(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory))));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(it);
    return names;
}

void GstPlaybackGraph::applyPipelineState() {
    m_positionReadUs = kNeverRead;
    if (!m_prerolled)
        return; // settle() applies it
    const bool sounding = m_state == GraphState::Running && !m_ended;
    gst_element_set_state(m_pipeline, sounding ? GST_STATE_PLAYING : GST_STATE_PAUSED);
}

void GstPlaybackGraph::run() {
    drainBus();
    const bool held = m_state != GraphState::Running;
    m_state = GraphState::Running;
    if (held && m_prerolled && !m_ended && !m_failed && GST_IS_AUDIO_BASE_SINK(m_sink))
        reopenOutput();
    else
        applyPipelineState();
}

void GstPlaybackGraph::reopenOutput() {
    // A ring-buffer sink (PulseAudio's, also on PipeWire's PulseAudio
    // service) held prerolled goes on queueing its stream while it waits,
    // and is then heard as long after its start as it waited: a track
    // prerolled at a run's start was heard the run's duration late. Opened
    // afresh at its start, the output's stream begins with the first sample,
    // as a pipeline started from nothing does; the decoder and the file stay
    // as they were, and the flushing seek takes up again where the graph
    // stands (its heard position, so a resumed pause repeats nothing).
    // PipeWire's own sink queues nothing while prerolled, and taken down to
    // ready while prerolled it hangs: it is left alone.
    const double from = m_seekPending ? m_seekTarget : currentPosition();
    gst_element_set_state(m_sink, GST_STATE_READY);
    gst_element_set_state(m_sink, GST_STATE_PAUSED);
    seekFrom(from); // running: it seeks and sets the pipeline playing
}

void GstPlaybackGraph::pause() {
    m_lastPosition = currentPosition();
    m_state = GraphState::Paused;
    applyPipelineState();
}

void GstPlaybackGraph::stop() {
    m_lastPosition = currentPosition();
    m_state = GraphState::Stopped;
    applyPipelineState();
}

double GstPlaybackGraph::currentPosition() const {
    drainBus();
    if (m_ended)
        return m_stop;
    if (!m_prerolled)
        return std::clamp(m_lastPosition, 0.0, m_stop);
    if (m_seekPending)
        return m_seekTarget;
    const gint64 now = g_get_monotonic_time();
    if (now - m_positionReadUs >= kPositionReuseUs) {
        gint64 position = -1;
        // The sink answers for the pipeline, which would only ask its one
        // sink, through an iterator and a copy of the query, on every pass.
        if (gst_element_query_position(m_sink, GST_FORMAT_TIME, &position) && position >= 0)
            m_lastPosition = static_cast<double>(position) / GST_SECOND;
        m_positionReadUs = now;
    }
    return std::clamp(m_lastPosition, 0.0, m_stop);
}

void GstPlaybackGraph::seekFrom(double seconds) {
    drainBus();
    if (m_failed && !m_prerolled) {
        // It failed before it ever played: it stays at its end.
        m_lastPosition = std::clamp(seconds, 0.0, m_duration);
        return;
    }
    m_failed = false;
    m_positionReadUs = kNeverRead;
    m_seekTarget = std::clamp(seconds, 0.0, m_duration);
    m_lastPosition = m_seekTarget;
    if (m_seekTarget >= m_stop) {
        // Nothing left to play: at the end at once, and silent.
        m_ended = true;
        m_seekPending = false;
        applyPipelineState();
        return;
    }
    m_ended = false;
    if (!m_prerolled) {
        m_seekWanted = true; // settle() seeks once the pipeline can
        return;
    }
    const bool toTheEnd = m_stop >= m_duration;
    // A seek needs a prerolled pipeline; a paused one keeps its place.
    if (m_state != GraphState::Running)
        gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    // To the end is a stop set to "none": a stop type of none would keep the
    // segment's earlier stop, so a graph once stopped short (the begin test)
    // ended there again, and refused every seek past it.
    m_seekPending = gst_element_seek(m_pipeline, m_rate, GST_FORMAT_TIME,
                                     GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                     GST_SEEK_TYPE_SET, Nanoseconds(m_seekTarget), GST_SEEK_TYPE_SET,
                                     toTheEnd ? gint64(GST_CLOCK_TIME_NONE) : Nanoseconds(m_stop));
    // A paused seek settles while the caller goes on; until it has, the
    // position reads as its target.
    applyPipelineState();
}

void GstPlaybackGraph::setCurrentPosition(double seconds) { seekFrom(seconds); }

void GstPlaybackGraph::setStopTime(double seconds) {
    const double from = currentPosition();
    m_stop = std::clamp(seconds, 0.0, m_duration);
    seekFrom(from);
}

void GstPlaybackGraph::setRate(double rate) {
    if (!(rate > 0) || rate == m_rate)
        return;
    const double from = currentPosition();
    m_rate = rate;
    seekFrom(from);
}

void GstPlaybackGraph::setVolume(int hundredthsDb) {
    m_volume = std::clamp(hundredthsDb, -10000, 0);
    g_object_set(m_volumeElement, "volume", GainOfVolume(m_volume), nullptr);
}

void GstPlaybackGraph::setBalance(int hundredthsDb) {
    m_balance = std::clamp(hundredthsDb, -10000, 10000);
    // Simple panning keeps one side and scales the other by 1 - |pan|, so the
    // attenuation in 1/100 dB becomes a pan of 1 - gain.
    const double pan = m_balance == 0 ? 0.0
                       : m_balance > 0 ? 1.0 - GainOfVolume(-m_balance)
                                       : -(1.0 - GainOfVolume(m_balance));
    g_object_set(m_panorama, "panorama", static_cast<gfloat>(pan), nullptr);
}

} // namespace kelbrin
