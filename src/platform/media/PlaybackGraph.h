#pragma once
// One playback graph: one media file on one audio output, with the controls
// the players need. Every player (the sequence player, the track panel's
// preview, the fade editor) holds its graphs through this interface; a track
// keeps its graph in MediaControl, MediaPosition and MediaBasicAudio, three
// references to the same object.
//
// Units: positions, stop time and duration in seconds of the file's own time
// (the media time, whatever the rate); volume in 1/100 dB, 0 full and -10000
// silent; balance -10000 (right silent) .. 10000 (left silent), the other
// channel's attenuation in 1/100 dB; rate a factor (2.0 twice as fast).
//
// Behaviour every implementation keeps:
// - A new graph is stopped at position 0 with the stop time at the end of the
//   file, rate 1, volume 0 and balance 0.
// - run() plays from the current position; pause() holds the position and can
//   be run again; stop() halts and also keeps the position (nothing rewinds).
// - Playing ends by itself at the stop time. From then on currentPosition()
//   returns exactly stopTime() (so "position equals stop time" is a reliable
//   test of "finished"), and state() still says Running, as it did before.
// - setCurrentPosition() works in any state; in the running state playing
//   goes on from the new position, also after the end had been reached.
// - Values are clamped: positions and the stop time to 0..duration(), the
//   volume to -10000..0, the balance to -10000..10000; a rate of 0 or less is
//   ignored.
// - Releasing the last reference ends playback at once and frees the output.
// - All calls come from the Qt thread and return at once; none blocks for
//   the length of the media.

namespace kelbrin {

enum class GraphState { Stopped, Paused, Running };

class PlaybackGraph {
public:
    virtual ~PlaybackGraph() = default;

    // The control interface.
    virtual void run() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual GraphState state() const = 0;

    // The position interface, seconds of media time.
    virtual double duration() const = 0;
    virtual double currentPosition() const = 0;
    virtual void setCurrentPosition(double seconds) = 0;
    virtual double stopTime() const = 0;
    virtual void setStopTime(double seconds) = 0;
    virtual double rate() const = 0;
    virtual void setRate(double rate) = 0;

    // The audio interface.
    virtual int volume() const = 0;
    virtual void setVolume(int hundredthsDb) = 0;
    virtual int balance() const = 0;
    virtual void setBalance(int hundredthsDb) = 0;

    // True once the media failed to play (a file that turned out not to
    // decode, a stream error): the graph then stands at its end, as if it
    // had finished.
    virtual bool failed() const { return false; }
};

// The linear gain of a volume in 1/100 dB: 10^(v/2000), and exactly 0 at
// -10000 or below.
double GainOfVolume(int hundredthsDb);

} // namespace kelbrin
