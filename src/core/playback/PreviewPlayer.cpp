#include "PreviewPlayer.h"

#include "PreviewPoints.h"
#include "core/app/AudioOutputs.h"
#include "core/app/LoadedSettings.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/app/PlaybackGraphs.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/cPozycjaMP3.h"
#include "platform/media/PlaybackGraph.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>

namespace kelbrin {

namespace {

double RangeSeconds(std::int32_t m, std::int32_t s, std::int32_t ms) { return m * 60.0 + s + ms * 0.001; }

// Clears the busy flag on every way out of a handler that set it.
struct BusyScope {
    bool& flag;
    explicit BusyScope(bool& f) : flag(f) { flag = true; }
    ~BusyScope() { flag = false; }
};

} // namespace

PreviewPlayer::PreviewPlayer(PreviewHost& host, const EditorSession& session,
                             const LoadedSettings& settings, const AudioOutputs& outputs)
    : m_host(host), m_session(session), m_settings(settings), m_outputs(outputs) {}

PreviewPlayer::~PreviewPlayer() { Release(); }

void PreviewPlayer::Release() {
    if (MediaControl)
        MediaControl->stop();
    MediaControl.reset();
    lngTimPoints.clear();
    lngOffs = -2;
    blnPause2 = false;
    testLit[0] = testLit[1] = false;
}

void PreviewPlayer::Load(std::shared_ptr<cPozycjaMP3> track) {
    Release();
    Cpoz = std::move(track);
    if (!Cpoz)
        return;
    // Shown as stored: nothing is written back into the track here.
    volumeBar = -static_cast<int>(std::llabs(RoundHalfEven(Cpoz->lngVolume / 100.0)));
    volumeBar = std::max(-100, volumeBar);
    balanceBar = std::clamp(Cpoz->lngBalance, -10000, 10000);
    speedBar = static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(Cpoz->sngRate * 100.0), 0, 200));
    bpmTag = Cpoz->lngBPM;
    matchedTempo.reset();
}

QString PreviewPlayer::bpmCaption() const {
    if (matchedTempo && matchedTempo->speed == speedBar && matchedTempo->stored == bpmTag)
        return QString::number(matchedTempo->target);
    return QString::number(static_cast<std::int64_t>(std::trunc(double(bpmTag) * speedBar / 100.0)));
}

PlaybackGraph* PreviewPlayer::trackAudio() const {
    if (!Cpoz || !m_host.mainWindowVisible())
        return nullptr;
    return Cpoz->MediaBasicAudio.get();
}

double PreviewPlayer::graphBegin() const {
    if (!Cpoz || !MediaControl)
        return 0;
    return RescaleToPlayerTime(
        RangeSeconds(Cpoz->lngPoczatek_M, Cpoz->lngPoczatek_S, Cpoz->lngPoczatek_SS),
        Cpoz->dblDuration, MediaControl->duration(), m_settings.UseOldAlgorithm);
}

double PreviewPlayer::graphEnd() const {
    if (!Cpoz || !MediaControl)
        return 0;
    return RescaleToPlayerTime(
        RangeSeconds(Cpoz->lngKoniec_M, Cpoz->lngKoniec_S, Cpoz->lngKoniec_SS), Cpoz->dblDuration,
        MediaControl->duration(), m_settings.UseOldAlgorithm);
}

bool PreviewPlayer::buildGraph(bool useDefault) {
    if (MediaControl && !Cpoz->blnDeviceChanged)
        return true;
    if (MediaControl)
        MediaControl->stop();
    MediaControl.reset();
    if (!QFileInfo(Cpoz->strFileNameSource).isFile()) {
        ShowMessage(GetText(3025, QStringLiteral("|1"), Cpoz->strFileNameSource), 0, QString(), 3025);
        return false;
    }
    MediaControl = BuildPlaybackGraph(m_outputs, Cpoz->strFileNameSource, m_host.deviceName(),
                                      useDefault, Cpoz->dblDuration);
    return MediaControl != nullptr;
}

void PreviewPlayer::loadPoints() {
    const auto points = LoadPreviewPoints(Cpoz->strFileNameSource, GetSetting(settingkeys::kOpenType, QStringLiteral("0")).toInt());
    if (!points) {
        lngTimPoints.clear();
        lngOffs = -2;
        return;
    }
    lngTimPoints = *points;
    lngOffs = -1;
}

void PreviewPlayer::startOnGraph() {
    loadPoints();
    PlayPreviewRange();
    MediaControl->run();
    MediaControl->setRate(speedBar == 0 ? 0.01 : speedBar / 100.0);
    MediaControl->setBalance(balanceBar);
    MediaControl->setVolume(-std::abs(volumeBar * 100));
}

void PreviewPlayer::cmdPlay2_Click() {
    if (!Cpoz)
        return;
    testLit[0] = testLit[1] = false;
    mnuOption_Scan = mnuOption_Scan_B = mnuTest_B = mnuTest_E = false;
    {
        BusyScope busy(blnPanelBusy);
        bool useDefault = false;
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                if (!buildGraph(useDefault))
                    return;
                startOnGraph();
                break;
            } catch (const std::exception&) {
                if (attempt == 0) {
                    // Once more on the plain default output.
                    useDefault = true;
                    MediaControl.reset();
                    continue;
                }
                ShowMessage(GetText(texts::kNoGraphText), mb::Information, QString(), texts::kNoGraphText);
                MediaControl.reset();
                return;
            }
        }
    }
    blnPause2 = false;
    VScrVolume_Change(volumeBar);
    HScrBalance_Change(balanceBar);
}

void PreviewPlayer::PlayPreviewRange() {
    if (!Cpoz || !MediaControl)
        return;
    PlaybackGraph& g = *MediaControl;
    switch (Cpoz->lngSpOdtw) {
    case 0:
        g.setStopTime(graphEnd());
        g.setCurrentPosition(graphBegin());
        break;
    // The stop time first: a position at or past the old stop time (the
    // begin test's, say) would read as that stop time when the new one is set.
    case 1:
        g.setStopTime(g.duration());
        g.setCurrentPosition(graphEnd());
        break;
    case 2:
        g.setStopTime(g.duration());
        g.setCurrentPosition(graphBegin());
        break;
    case 3:
        g.setCurrentPosition(0);
        g.setStopTime(g.duration());
        break;
    default:
        break;
    }
}

void PreviewPlayer::cmdPause2_Click() {
    if (!MediaControl)
        return;
    if (blnPause2)
        MediaControl->run();
    else
        MediaControl->pause();
    blnPause2 = !blnPause2;
}

void PreviewPlayer::cmdStop2_Click() {
    testLit[0] = testLit[1] = false;
    if (MediaControl)
        MediaControl->stop();
}

void PreviewPlayer::SetPlayMode(int mode) {
    if (!Cpoz || mode < 0 || mode > 3)
        return;
    Cpoz->lngSpOdtw = mode;
    cmdPlay2_Click();
}

void PreviewPlayer::VScrVolume_Change(int value) {
    volumeBar = std::clamp(value, -100, 0);
    if (!Cpoz)
        return;
    const std::int32_t volume = -std::abs(volumeBar * 100);
    if (Cpoz->lngVolume != volume) {
        Cpoz->lngVolume = volume;
        Cpoz->blnZmodyfikowana = true;
    }
    if (PlaybackGraph* own = trackAudio())
        own->setVolume(volumeBar * 100);
    if (MediaControl)
        MediaControl->setVolume(volumeBar * 100);
}

void PreviewPlayer::HScrBalance_Change(int value) {
    balanceBar = std::clamp(value, -10000, 10000);
    if (!Cpoz)
        return;
    if (Cpoz->lngBalance != balanceBar) {
        Cpoz->lngBalance = balanceBar;
        Cpoz->blnZmodyfikowana = true;
    }
    if (PlaybackGraph* own = trackAudio())
        own->setBalance(-balanceBar);
    if (MediaControl)
        MediaControl->setBalance(-balanceBar);
}

void PreviewPlayer::HScrSpeed_Change(int value) {
    if (value == 0)
        return;
    speedBar = std::clamp(value, 1, 200);
    if (!Cpoz)
        return;
    const auto rate = static_cast<float>(speedBar / 100.0);
    if (Cpoz->sngRate != rate) {
        Cpoz->sngRate = rate;
        Cpoz->blnZmodyfikowana = true;
    }
    if (m_host.mainWindowVisible() && Cpoz->MediaPosition)
        Cpoz->MediaPosition->setRate(speedBar / 100.0);
    if (MediaControl)
        MediaControl->setRate(speedBar / 100.0);
}

void PreviewPlayer::HScrSeek_Scroll(int value) {
    if (blnPanelBusy)
        return;
    seekBar = std::clamp(value, 0, kSeekMax);
    BusyScope busy(blnPanelBusy);
    if (MediaControl)
        MediaControl->setCurrentPosition(double(seekBar) / kSeekMax * MediaControl->duration());
}

std::optional<QString> PreviewPlayer::Timer1_Timer() {
    if (!MediaControl || blnPanelBusy || !Cpoz)
        return QString();
    if (MediaControl->failed()) {
        // A source that does not decode (rewritten since it was added, say)
        // stands at its end at once: the graph goes, and the user is told
        // once, as when it could not be built.
        Release();
        ShowMessage(GetText(texts::kNoGraphText), mb::Information, QString(), texts::kNoGraphText);
        return QString();
    }
    PlaybackGraph& g = *MediaControl;
    const double p = g.currentPosition();
    const double s = g.stopTime();
    if (mnuTest_B && p >= s)
        g.setCurrentPosition(graphBegin());
    if (mnuTest_E && p >= s && p - 3 <= s) {
        g.setStopTime(graphEnd());
        if (g.stopTime() > 3) {
            g.setCurrentPosition(g.stopTime() - 3);
            return std::nullopt;
        }
    }
    if (p + m_settings.OverTakeSeconds >= s && !mnuTest_B && !mnuTest_E && mnuPLoop)
        PlayPreviewRange();

    const double d = g.duration();
    if (p != s && d > 0)
        seekBar = static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(p / d * kSeekMax), 0, kSeekMax));
    const double t = RescaleFromPlayerTime(std::round(p * 1000.0) / 1000.0, Cpoz->dblDuration, d,
                                           m_settings.UseOldAlgorithm);
    return PreviewTimeText(m_session, t, m_host.framesUnit(), Cpoz->strFileNameSource);
}

void PreviewPlayer::Timer2_Timer() {
    if (blnPanelBusy)
        return;
    BusyScope busy(blnPanelBusy);
    if (!MediaControl) {
        scanTimerOn = false;
        mnuOption_Scan = mnuOption_Scan_B = false;
        return;
    }
    PlaybackGraph& g = *MediaControl;
    if (mnuOption_Scan || mnuOption_Scan_B) {
        const double step = m_settings.MoveStep;
        const double n = g.currentPosition() + (mnuOption_Scan_B ? -step : step);
        g.setCurrentPosition(n > 0 ? n : 0);
    }
    if (g.currentPosition() == g.stopTime()) {
        scanTimerOn = false;
        mnuOption_Scan = mnuOption_Scan_B = false;
    }
}

void PreviewPlayer::mnuOption_Scan_B_Click() {
    if (!MediaControl)
        cmdPlay2_Click();
    if (mnuOption_Scan) {
        mnuOption_Scan_Click();
        return;
    }
    mnuOption_Scan_B = !mnuOption_Scan_B;
    mnuOption_Scan = false;
    if (mnuTest_B)
        mnuTest_B_Click();
    if (mnuTest_E)
        mnuTest_E_Click();
    scanTimerOn = mnuOption_Scan_B;
}

void PreviewPlayer::mnuOption_Scan_Click() {
    if (mnuOption_Scan_B) {
        mnuOption_Scan_B_Click();
        return;
    }
    mnuOption_Scan = !mnuOption_Scan;
    mnuOption_Scan_B = false;
    if (mnuTest_B)
        mnuTest_B_Click();
    if (mnuTest_E)
        mnuTest_E_Click();
    scanTimerOn = mnuOption_Scan;
}

void PreviewPlayer::mnuTest_B_Click() {
    if (!MediaControl)
        cmdPlay2_Click();
    mnuTest_B = !mnuTest_B;
    mnuTest_E = mnuOption_Scan_B = mnuOption_Scan = false;
    if (!MediaControl)
        return;
    PlaybackGraph& g = *MediaControl;
    if (mnuTest_B) {
        g.setCurrentPosition(graphBegin());
        g.setStopTime(g.currentPosition() + 3);
        testLit[0] = true;
        testLit[1] = false;
    } else {
        const double p = g.currentPosition();
        cmdPlay2_Click();
        if (MediaControl)
            MediaControl->setCurrentPosition(p);
    }
}

void PreviewPlayer::mnuTest_E_Click() {
    if (!MediaControl)
        cmdPlay2_Click();
    mnuTest_E = !mnuTest_E;
    mnuTest_B = mnuOption_Scan_B = mnuOption_Scan = false;
    if (!MediaControl)
        return;
    PlaybackGraph& g = *MediaControl;
    if (mnuTest_E) {
        testLit[1] = true;
        testLit[0] = false;
        g.setStopTime(graphEnd());
        if (g.stopTime() > 3)
            g.setCurrentPosition(g.stopTime() - 3);
    } else {
        const double p = g.currentPosition();
        cmdPlay2_Click();
        if (MediaControl)
            MediaControl->setCurrentPosition(p);
    }
}

void PreviewPlayer::cmdMove2_Click(int index) {
    if (blnPanelBusy || index < 0 || index > 3)
        return;
    BusyScope busy(blnPanelBusy);
    if (!MediaControl)
        return;
    PlaybackGraph& g = *MediaControl;
    const double p = g.currentPosition();
    if (index <= 1 && lngOffs != -2 && !lngTimPoints.isEmpty()) {
        const std::int32_t upper = static_cast<std::int32_t>(lngTimPoints.size()) - 1;
        // Bounded: at most one pass round the list.
        for (std::int32_t guard = 0; guard <= upper + 1; ++guard) {
            if (index == 0 && lngOffs > 0)
                --lngOffs;
            else if (lngOffs < upper && index > 0)
                ++lngOffs;
            else
                lngOffs = 0;
            const double q = lngTimPoints[lngOffs];
            if (lngOffs == upper || index == 0 || p <= q) {
                g.setCurrentPosition(q);
                return;
            }
        }
        return;
    }
    const double step = index == 0   ? -m_settings.MoveStep
                        : index == 1 ? m_settings.MoveStep
                        : index == 2 ? -5
                                     : 5;
    const double n = p + step;
    g.setCurrentPosition(n > 0 ? n : 0);
}

void PreviewPlayer::mnuBalans_Set_Click() {
    if (Cpoz && Cpoz->MediaBasicAudio)
        Cpoz->MediaBasicAudio->setBalance(0);
    if (MediaControl)
        MediaControl->setBalance(0);
    if (balanceBar != 0)
        HScrBalance_Change(0);
}

void PreviewPlayer::mnuSpeed2_Set_Click() {
    if (Cpoz && Cpoz->MediaPosition)
        Cpoz->MediaPosition->setRate(1.0);
    if (MediaControl)
        MediaControl->setRate(1.0);
    if (speedBar != 100)
        HScrSpeed_Change(100);
}

} // namespace kelbrin
