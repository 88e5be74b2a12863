#pragma once
// BuildPlaybackGraph: the one way every player gets a graph for a file.

#include <QString>
#include <memory>

namespace kelbrin {

class PlaybackGraph;
struct AudioOutputs;

// A stopped graph for `file` on the output named `device`, or nullptr.
// With `useDefault` or the outputs' UseDefaultRenderer set, the system's default output is
// used and the name ignored. Otherwise a blank name, and in any case a graph
// that cannot be built (missing file, no decoder, an output that will not
// open), show text 3162 with the information icon and give nullptr.
// `lengthSeconds`, when above 0, is the file's length as the frame index
// gives it: the graph takes it as its duration and is built without waiting
// for the media framework to learn it (see MediaPlatform).
std::shared_ptr<PlaybackGraph> BuildPlaybackGraph(const AudioOutputs& outputs, const QString& file,
                                                  const QString& device, bool useDefault,
                                                  double lengthSeconds = 0);

} // namespace kelbrin
