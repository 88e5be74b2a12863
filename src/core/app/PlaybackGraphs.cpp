#include "PlaybackGraphs.h"

#include "AudioOutputs.h"
#include "MessageService.h"
#include "TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "platform/media/MediaPlatform.h"
#include "platform/media/PlaybackGraph.h"

namespace kelbrin {

namespace {
using texts::kNoGraphText;

std::shared_ptr<PlaybackGraph> NoGraph() {
    ShowMessage(GetText(kNoGraphText), mb::Information, QString(), kNoGraphText);
    return nullptr;
}
} // namespace

std::shared_ptr<PlaybackGraph> BuildPlaybackGraph(const AudioOutputs& outputs, const QString& file,
                                                  const QString& device, bool useDefault,
                                                  double lengthSeconds) {
    QString output = device;
    if (useDefault || outputs.UseDefaultRenderer)
        output = kDefaultOutputName;
    else if (device.trimmed().isEmpty())
        return NoGraph();
    auto graph = lengthSeconds > 0 ? Media().createGraphOfLength(file, output, lengthSeconds)
                                   : Media().createGraph(file, output);
    if (!graph)
        return NoGraph();
    return graph;
}

} // namespace kelbrin
