// Planning the largest splits the split dialog makes at once: a source cut
// every minute into the most pieces allowed (999), and a segment list of a
// long recording (4,000 pieces), in a project that already holds the pieces
// of an earlier split of the same name. All pieces of one run share the
// output name box's text, so each needs a name of its own.
//
//   bench_split
//
// Target: each plan within one turn of the event loop, under 50 ms, however
// many names of the same pattern the project already holds.

#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/export/SplitPlan.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/settings/SettingsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>

using namespace kelbrin;

namespace {

double planMilliseconds(SplitRequest request, const SplitContext& context, int pieces) {
    request.sourcePath = QStringLiteral("/recordings/long.mp3");
    request.outputName = QStringLiteral("Recording.mp3");
    request.duration = pieces * 60.0;
    request.sourceLength = request.duration;
    QElapsedTimer timer;
    timer.start();
    const SplitPlan plan = PlanSplit(request, context);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (plan.tracks.size() != pieces)
        std::fprintf(stderr, "planned %lld pieces, not %d\n",
                     static_cast<long long>(plan.tracks.size()), pieces);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SetSettingsStore(std::make_unique<MemorySettingsStore>());
    for (const int pieces : {999, 4000}) {
        // The project holds the pieces of an earlier split of the same name.
        auto earlier = std::make_shared<cPozycjeMP3>();
        for (int i = 1; i <= pieces; ++i) {
            auto t = std::make_shared<cPozycjaMP3>();
            t->lngNrPozycji = i;
            t->strFileName = i == 1 ? QStringLiteral("Recording.mp3")
                                    : QStringLiteral("Recording-%1.mp3").arg(i);
            earlier->Add(std::move(t));
        }
        SplitContext context;
        context.tracks = earlier;
        context.nextTrackNo = pieces + 1;

        SplitRequest minutes;
        minutes.mode = SplitMode::EveryMinutes;
        minutes.minutes = 1;
        SplitRequest segments;
        segments.mode = SplitMode::SegmentList;
        for (int i = 0; i < pieces; ++i)
            segments.segments.append({i * 60.0 + 1, i * 60.0 + 50});

        if (pieces <= kMaxSplitPieces)
            std::printf("every minute, %4d pieces: %8.1f ms\n", pieces,
                        planMilliseconds(minutes, context, pieces));
        std::printf("segment list, %4d pieces: %8.1f ms\n", pieces,
                    planMilliseconds(segments, context, pieces));
    }
    return 0;
}
