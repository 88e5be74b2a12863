#pragma once
// The program's services swapped for fakes for as long as the object lives:
// the basic ones, a virtual clock and fake media on that clock. The services
// installed before come back when it goes.
#include "support/BasicServices.h"
#include "core/document/cPozycjaMP3.h"
#include "platform/media/FakeMediaPlatform.h"
#include "platform/media/VirtualClock.h"
#include "support/TestEnvironment.h"

#include <memory>

namespace kelbrin::test {

class FakeServices : public BasicServices {
public:
    explicit FakeServices(const QMap<QString, QString>& settings) : BasicServices(settings) {
        auto owned = std::make_unique<VirtualClock>(1000);
        clock = owned.get();
        previousClock = SetProgramClock(std::move(owned));
        auto fake = std::make_unique<FakeMediaPlatform>(*clock);
        media = fake.get();
        previousMedia = SetMediaPlatform(std::move(fake));
    }
    ~FakeServices() {
        SetMediaPlatform(std::move(previousMedia));
        SetProgramClock(std::move(previousClock));
    }
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    // A track `seconds` long, its box in a row by its number, its source a
    // file in `folder` whose length the fake media knows.
    std::shared_ptr<cPozycjaMP3> playableTrack(const QString& folder, std::int32_t number, int seconds) {
        auto t = std::make_shared<cPozycjaMP3>();
        t->lngNrPozycji = number;
        t->lngLeft = 1500 * number;
        t->lngTop = 1500;
        t->strLabel = QStringLiteral("T%1").arg(number);
        t->strFileNameSource = WriteFile(folder + QStringLiteral("/t%1.mp3").arg(number), "x");
        t->dblDuration = seconds;
        t->lngKoniec_S = seconds;
        media->durations[t->strFileNameSource] = seconds;
        return t;
    }

    VirtualClock* clock = nullptr;
    FakeMediaPlatform* media = nullptr;

private:
    std::unique_ptr<Clock> previousClock;
    std::unique_ptr<MediaPlatform> previousMedia;
};

} // namespace kelbrin::test
