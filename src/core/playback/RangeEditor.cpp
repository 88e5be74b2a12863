#include "RangeEditor.h"
#include "PlayMath.h"

#include "core/app/MessageService.h"
#include "core/app/NumericInput.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/MpegHeader.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjaPlikow.h"
#include "core/export/SplitSource.h"

#include <algorithm>

namespace kelbrin {

namespace {

using texts::kAskScan;

std::int32_t& TimeField(cPozycjaMP3& t, int index) {
    std::int32_t* fields[6] = {&t.lngPoczatek_M, &t.lngPoczatek_S, &t.lngPoczatek_SS,
                               &t.lngKoniec_M,   &t.lngKoniec_S,   &t.lngKoniec_SS};
    return *fields[index];
}

std::int32_t& FrameField(cPozycjaMP3& t, int side) { return side == 0 ? t.lngRamkaOd : t.lngRamkaDo; }

bool IsSeconds(int index) { return index % 3 == 1; }
bool IsMilliseconds(int index) { return index % 3 == 2; }

// The eight range fields of a track, in the undo record's order.
struct Range {
    std::int32_t time[6];
    std::int32_t frames[2];
};

Range RangeOf(cPozycjaMP3& t) {
    Range r{};
    for (int i = 0; i < 6; ++i)
        r.time[i] = TimeField(t, i);
    r.frames[0] = t.lngRamkaOd;
    r.frames[1] = t.lngRamkaDo;
    return r;
}

void Restore(cPozycjaMP3& t, const Range& r) {
    for (int i = 0; i < 6; ++i)
        TimeField(t, i) = r.time[i];
    t.lngRamkaOd = r.frames[0];
    t.lngRamkaDo = r.frames[1];
}

QString MinutesSeconds(double seconds) {
    const std::int64_t r = RoundHalfEven(seconds);
    return QStringLiteral("%1 : %2").arg(r / 60).arg(r % 60);
}

} // namespace

RangeEditor::RangeEditor(RangeEditorHost& host, const EditorSession& session)
    : m_host(host), m_session(session) {}

int RangeEditor::SpinnerMin(int index) { return IsMilliseconds(index) ? -1 : 0; }

int RangeEditor::SpinnerMax(int index) {
    return IsMilliseconds(index) ? 1000 : IsSeconds(index) ? 59 : kMaxMinutes;
}

std::shared_ptr<cPozycjaPlikow> RangeEditor::source() const {
    return Cpoz ? FindOpenFile(m_session, Cpoz->strFileNameSource) : nullptr;
}

void RangeEditor::Load(std::shared_ptr<cPozycjaMP3> track) {
    Cpoz = std::move(track);
    RangeUndo.Reset();
    m_stepping = false;
    if (!Cpoz)
        return;
    GuardOff guard(enabled);
    tag = QStringLiteral("ustawianie");
    mnuUnits_Jednostki_Click(Cpoz->blnJednostka ? 1 : 0);
    txtRamka[0] = QString::number(Cpoz->lngRamkaOd);
    txtRamka[1] = QString::number(Cpoz->lngRamkaDo);
    lngSourceFrames = Cpoz->lngRamkaDo;
    showTimeFields();
    // An unindexed source leaves the track's own end as the bound, so the
    // frame boxes cannot be forced to 0.
    if (const auto file = source(); file && file->Daj_Naglowek_Ilosc() > 0)
        lngSourceFrames = file->Daj_Naglowek_Ilosc();
    tag.clear();
}

void RangeEditor::showTimeFields() {
    if (!Cpoz)
        return;
    for (int i = 0; i < 6; ++i) {
        const std::int32_t v = TimeField(*Cpoz, i);
        Text1[i] = QString::number(v);
        VscrTime[i] = std::clamp(v, SpinnerMin(i), SpinnerMax(i));
    }
}

void RangeEditor::touched() {
    Cpoz->blnAwlaysTop = true;
}

// ---- Writes -----------------------------------------------------------------

void RangeEditor::SetTimeText(int index, const QString& text) {
    if (index < 0 || index > 5 || Text1[index] == text)
        return;
    Text1[index] = text;
    Text1_Change(index);
}

void RangeEditor::SetFrameText(int side, const QString& text) {
    if (side < 0 || side > 1 || txtRamka[side] == text)
        return;
    txtRamka[side] = text;
    txtRamka_Change(side);
}

void RangeEditor::SetSpinner(int index, int value) {
    if (index < 0 || index > 5)
        return;
    value = std::clamp(value, SpinnerMin(index), SpinnerMax(index));
    if (VscrTime[index] == value)
        return;
    const int previous = VscrTime[index];
    VscrTime[index] = value;
    VscrTime_Change(index, previous);
}

// ---- Change handling ------------------------------------------------------------

void RangeEditor::Text1_Change(int index) {
    if (enabled && visible)
        PushRangeUndo();
    const SanitizedNumber clean =
        SanitizeNumericText(Text1[index], static_cast<int>(Text1[index].size()), false, false);
    if (clean.text != Text1[index])
        SetTimeText(index, clean.text);
    if (IsSeconds(index) && ValLong(Text1[index]) > 59)
        SetTimeText(index, QStringLiteral("59"));
    const std::int32_t value = ValLong(Text1[index]);
    {
        // The spinner follows the box without running its own handling.
        GuardOff guard(enabled);
        VscrTime[index] = std::clamp(value, SpinnerMin(index), SpinnerMax(index));
    }
    if (!Cpoz)
        return;
    if (visible) {
        std::int32_t& field = TimeField(*Cpoz, index);
        if (field != value) {
            field = value;
            Cpoz->blnZmodyfikowana = true;
        }
        if (tag.isEmpty())
            touched();
    }
    m_host.UpdateTrackListRow(*Cpoz);
    if (enabled && visible && !framesShown)
        m_host.FocusTimeBox(index);
}

void RangeEditor::txtRamka_Change(int side) {
    if (enabled && visible)
        PushRangeUndo();
    const SanitizedNumber clean =
        SanitizeNumericText(txtRamka[side], static_cast<int>(txtRamka[side].size()), false, false);
    if (clean.text != txtRamka[side])
        SetFrameText(side, clean.text);
    if (ValLong(txtRamka[side]) > lngSourceFrames)
        SetFrameText(side, QString::number(lngSourceFrames));
    if (!Cpoz)
        return;
    const std::int32_t value = ValLong(txtRamka[side]);
    if (FrameField(*Cpoz, side) != value) {
        FrameField(*Cpoz, side) = value;
        Cpoz->blnZmodyfikowana = true;
    }
    const auto file = source();
    const std::int32_t rate = file && file->Daj_Naglowek_Ilosc() >= 1 ? HeaderSampleRate(*file) : 0;
    if (rate > 0) {
        // The time of the frame, to the nearest millisecond, worked out on
        // the numbers themselves.
        const int samples = mpeg::SamplesPerFrame(file->btyFrame2);
        const std::int64_t ms = RoundHalfEven(double(samples) * value / rate * 1000.0);
        const int first = side * 3;
        TimeField(*Cpoz, first) = static_cast<std::int32_t>(std::min<std::int64_t>(ms / 60000, INT32_MAX));
        TimeField(*Cpoz, first + 1) = static_cast<std::int32_t>(ms / 1000 % 60);
        TimeField(*Cpoz, first + 2) = static_cast<std::int32_t>(ms % 1000);
        // The time boxes show what the track now holds, so that switching
        // to seconds or stepping a spinner starts from the new time.
        showTimeFields();
        touched();
    }
    m_host.UpdateTrackListRow(*Cpoz);
}

void RangeEditor::VscrTime_Change(int index, int previous) {
    if (!enabled)
        return;
    if (!IsMilliseconds(index)) {
        SetTimeText(index, QString::number(VscrTime[index]));
        return;
    }
    if (framesShown) {
        stepFrame(index, previous);
        return;
    }
    if (VscrTime[index] >= 1000)
        carry(index);
    else if (VscrTime[index] <= -1)
        borrow(index);
    SetTimeText(index, QString::number(VscrTime[index]));
}

void RangeEditor::stepFrame(int index, int previous) {
    if (m_stepping)
        return;
    m_stepping = true;
    const int side = index / 3;
    const bool down = previous >= VscrTime[index];
    // The spinner goes back where it was: it only tells the direction, and
    // so never runs into an end where it would stop answering.
    VscrTime[index] = previous;
    const std::int32_t current = ValLong(txtRamka[side]);
    std::int64_t next = std::int64_t(current) + (down ? -1 : 1);
    if (next < 0)
        next = 0; // nothing comes before the first frame
    if (!down && next > lngSourceFrames)
        next = current;
    SetFrameText(side, QString::number(next));
    m_stepping = false;
}

void RangeEditor::writeMilliseconds(int index, std::int32_t value) {
    SetTimeText(index, QString::number(value));
    VscrTime[index] = value;
}

void RangeEditor::carry(int index) {
    const int minutes = index - 2;
    const int seconds = index - 1;
    const std::int32_t s = ValLong(Text1[seconds]);
    const std::int32_t m = ValLong(Text1[minutes]);
    if (s >= 59) {
        if (m >= kMaxMinutes) {
            // The latest time the boxes can hold: the step stops there.
            writeMilliseconds(index, 999);
            return;
        }
        SetTimeText(minutes, QString::number(m + 1));
        SetTimeText(seconds, QStringLiteral("0"));
    } else {
        SetTimeText(seconds, QString::number(s + 1));
    }
    writeMilliseconds(index, 0);
}

void RangeEditor::borrow(int index) {
    const int minutes = index - 2;
    const int seconds = index - 1;
    const std::int32_t s = ValLong(Text1[seconds]);
    const std::int32_t m = ValLong(Text1[minutes]);
    if (s > 0) {
        SetTimeText(seconds, QString::number(s - 1));
    } else if (m > 0) {
        SetTimeText(minutes, QString::number(m - 1));
        SetTimeText(seconds, QStringLiteral("59"));
    } else {
        // Nothing comes before 0:00.000: the step stops there.
        writeMilliseconds(index, 0);
        return;
    }
    writeMilliseconds(index, 999);
}

// ---- Unit menu --------------------------------------------------------------------

void RangeEditor::mnuUnits_Jednostki_Click(int index) {
    if (!Cpoz || index < 0 || index > 1)
        return;
    auto file = source();
    auto showSeconds = [this, &file] {
        unitCaption = 2129;
        framesShown = false;
        framesChecked = false;
        secondsChecked = true;
        if (file)
            mnuTime = MinutesSeconds(file->sngCzasTrwania);
        showTimeFields();
    };
    if (index == 1) {
        showSeconds();
        Cpoz->blnJednostka = true;
        return;
    }
    // A range held in time goes on in frames from where its times are.
    const bool fromTime = Cpoz->blnJednostka && tag.isEmpty();
    if (file) {
        if (file->Daj_Naglowek_Ilosc() == 0) {
            const int answer = ShowMessage(GetText(kAskScan, QStringLiteral("|1"), file->strFileName),
                                           mb::YesNo | mb::Question, QString(), kAskScan);
            if (answer != mb::Yes || !m_host.RescanSource(file) || !file) {
                // The range stays in seconds, which is what the menu shows.
                showSeconds();
                return;
            }
        }
        lngSourceFrames = file->Daj_Naglowek_Ilosc();
        Cpoz->dblDuration = file->sngCzasTrwania;
        mnuTime = QString::number(lngSourceFrames);
        if (fromTime)
            takeFramesFromTimes(*file);
    }
    unitCaption = 2130;
    framesShown = true;
    framesChecked = true;
    secondsChecked = false;
    Cpoz->blnJednostka = false;
}

void RangeEditor::takeFramesFromTimes(const cPozycjaPlikow& file) {
    std::int32_t frames[2];
    for (int side = 0; side < 2; ++side) {
        const double seconds = side == 0 ? RangeBeginSeconds(*Cpoz) : RangeEndSeconds(*Cpoz);
        // A frame's time is kept to the nearest millisecond, so half a
        // millisecond more still finds the frame it came from.
        const auto frame = FrameAtSeconds(file, seconds + 0.0005);
        if (!frame)
            return;
        frames[side] = std::min(*frame, lngSourceFrames);
    }
    if (frames[0] != Cpoz->lngRamkaOd || frames[1] != Cpoz->lngRamkaDo) {
        if (enabled && visible)
            PushRangeUndo();
        Cpoz->lngRamkaOd = frames[0];
        Cpoz->lngRamkaDo = frames[1];
        Cpoz->blnZmodyfikowana = true;
    }
    for (int side = 0; side < 2; ++side)
        txtRamka[side] = QString::number(frames[side]);
}

// ---- Undo -------------------------------------------------------------------------

void RangeEditor::PushRangeUndo() {
    if (Cpoz)
        RangeUndo.Push(*Cpoz);
}

void RangeEditor::cmdUndo2_Click() {
    if (!Cpoz || !RangeUndo.Pop(*Cpoz))
        return;
    const Range restored = RangeOf(*Cpoz);
    {
        GuardOff guard(enabled);
        for (int side = 0; side < 2; ++side)
            SetFrameText(side, QString::number(restored.frames[side]));
        for (int i = 0; i < 6; ++i)
            SetTimeText(i, QString::number(restored.time[i]));
    }
    // A frame box's handling works out the times from the frame; the record
    // holds the times as they were, and those are what come back.
    Restore(*Cpoz, restored);
    Cpoz->blnZmodyfikowana = true;
    for (int side = 0; side < 2; ++side)
        txtRamka[side] = QString::number(restored.frames[side]);
    showTimeFields();
    m_host.UpdateTrackListRow(*Cpoz);
}

} // namespace kelbrin
