#pragma once
// The windows around the track graph editor as a test sees them: what the
// editor asks of them is written down in `calls`.

#include "core/document/cPozycjaMP3.h"
#include "gui/editor/EditorPartners.h"

#include <QStringList>

namespace kelbrin::test {

class FakeTrackWindows final : public TrackWindows {
public:
    QStringList calls;
    bool panelThere = true; // false: the track panel is not there yet
    bool held = false;

    void addTrack() override { calls << QStringLiteral("add"); }
    bool canOpenProperties() const override { return panelThere; }
    void openProperties(std::shared_ptr<cPozycjaMP3> track) override {
        calls << QStringLiteral("properties %1").arg(track->lngNrPozycji);
    }
    void playPreview() override { calls << QStringLiteral("preview"); }
    bool tracksHeld() override { return held; }
};

} // namespace kelbrin::test
