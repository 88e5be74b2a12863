#include "AlsaMixerSystem.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstdlib>

namespace kelbrin {

namespace {

QList<int> CardNumbers() {
    QList<int> cards;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0)
        cards.append(card);
    return cards;
}

QString CardName(int card) {
    char* name = nullptr;
    if (snd_card_get_name(card, &name) != 0 || !name)
        return QStringLiteral("hw:%1").arg(card);
    const QString text = QString::fromUtf8(name);
    std::free(name);
    return text;
}

enum ControlKind { Volume = 0, Switch = 1 };

// Control ids: element index, destination and kind packed together.
std::uint32_t ControlId(int element, int destination, ControlKind kind) {
    return std::uint32_t(element) * 4 + std::uint32_t(destination) * 2 + kind;
}

class AlsaMixerDevice final : public MixerDevice {
public:
    AlsaMixerDevice(snd_mixer_t* handle, int device, QString cardName)
        : m_handle(handle), m_device(device), m_cardName(std::move(cardName)) {
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(m_handle); e; e = snd_mixer_elem_next(e))
            if (snd_mixer_selem_is_active(e))
                m_elements.append(e);
    }
    ~AlsaMixerDevice() override { snd_mixer_close(m_handle); }

    std::optional<MixerLine> destinationLine(int destination) override {
        if (destination != mixer::kPlaybackDestination && destination != mixer::kCaptureDestination)
            return std::nullopt;
        const bool capture = destination == mixer::kCaptureDestination;
        MixerLine line;
        line.shortName = capture ? QStringLiteral("Capture") : QStringLiteral("Playback");
        line.name = m_cardName + QLatin1Char(' ') + line.shortName;
        line.lineId = (std::uint32_t(m_device) << 16) | std::uint32_t(destination);
        line.componentType = capture ? mixer::CaptureDestination : mixer::PlaybackDestination;
        for (snd_mixer_elem_t* e : m_elements) {
            const int controls = hasVolume(e, capture) + hasSwitch(e, capture);
            if (controls == 0)
                continue;
            ++line.connections;
            line.controls += controls;
            line.channels = std::max(line.channels, channelCount(e, capture));
        }
        return line;
    }

    std::optional<MixerLine> lineOfComponentType(std::uint32_t componentType) override {
        if (componentType == mixer::CaptureDestination)
            return destinationLine(mixer::kCaptureDestination);
        if (componentType == mixer::PlaybackDestination)
            return destinationLine(mixer::kPlaybackDestination);
        return std::nullopt;
    }

    QList<MixerControl> lineControls(std::uint32_t lineId) override {
        QList<MixerControl> controls;
        if ((lineId >> 16) != std::uint32_t(m_device))
            return controls;
        const int destination = int(lineId & 0xFFFF);
        const bool capture = destination == mixer::kCaptureDestination;
        const QString direction = capture ? QStringLiteral("Capture") : QStringLiteral("Playback");
        for (int i = 0; i < m_elements.size(); ++i) {
            const QString element = QString::fromUtf8(snd_mixer_selem_get_name(m_elements[i]));
            if (hasVolume(m_elements[i], capture))
                controls.append({ControlId(i, destination, Volume),
                                 element + QLatin1Char(' ') + direction + QStringLiteral(" Volume"),
                                 element.left(16)});
            if (hasSwitch(m_elements[i], capture))
                controls.append({ControlId(i, destination, Switch),
                                 element + QLatin1Char(' ') + direction + QStringLiteral(" Switch"),
                                 element.left(16)});
        }
        return controls;
    }

    std::optional<QList<std::int32_t>> controlValues(std::uint32_t controlId, int channels) override {
        const int index = int(controlId / 4);
        if (index >= m_elements.size() || channels < 1)
            return std::nullopt;
        snd_mixer_elem_t* e = m_elements[index];
        const bool capture = ((controlId / 2) % 2) == std::uint32_t(mixer::kCaptureDestination);
        const auto kind = ControlKind(controlId % 2);
        const bool mono = capture ? snd_mixer_selem_is_capture_mono(e) : snd_mixer_selem_is_playback_mono(e);
        QList<std::int32_t> values;
        for (int c = 0; c < channels; ++c) {
            const auto channel = mono ? SND_MIXER_SCHN_MONO : snd_mixer_selem_channel_id_t(c);
            int result = 0;
            std::int32_t value = 0;
            if (kind == Volume) {
                long volume = 0;
                result = capture ? snd_mixer_selem_get_capture_volume(e, channel, &volume)
                                 : snd_mixer_selem_get_playback_volume(e, channel, &volume);
                value = std::int32_t(volume);
            } else {
                int on = 0;
                result = capture ? snd_mixer_selem_get_capture_switch(e, channel, &on)
                                 : snd_mixer_selem_get_playback_switch(e, channel, &on);
                value = on;
            }
            if (result < 0)
                return std::nullopt;
            values.append(value);
        }
        return values;
    }

private:
    static int hasVolume(snd_mixer_elem_t* e, bool capture) {
        return capture ? snd_mixer_selem_has_capture_volume(e) : snd_mixer_selem_has_playback_volume(e);
    }
    static int hasSwitch(snd_mixer_elem_t* e, bool capture) {
        return capture ? snd_mixer_selem_has_capture_switch(e) : snd_mixer_selem_has_playback_switch(e);
    }
    static int channelCount(snd_mixer_elem_t* e, bool capture) {
        int count = 0;
        for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
            const auto channel = snd_mixer_selem_channel_id_t(c);
            if (capture ? snd_mixer_selem_has_capture_channel(e, channel)
                        : snd_mixer_selem_has_playback_channel(e, channel))
                ++count;
        }
        return std::max(count, 1);
    }

    snd_mixer_t* m_handle;
    int m_device;
    QString m_cardName;
    QList<snd_mixer_elem_t*> m_elements;
};

} // namespace

int AlsaMixerSystem::deviceCount() {
    return int(CardNumbers().size());
}

std::unique_ptr<MixerDevice> AlsaMixerSystem::open(int index) {
    const QList<int> cards = CardNumbers();
    if (index < 0 || index >= cards.size())
        return nullptr;
    const int card = cards[index];
    snd_mixer_t* handle = nullptr;
    if (snd_mixer_open(&handle, 0) < 0 || !handle)
        return nullptr;
    const QByteArray name = QStringLiteral("hw:%1").arg(card).toLatin1();
    if (snd_mixer_attach(handle, name.constData()) < 0 || snd_mixer_selem_register(handle, nullptr, nullptr) < 0
        || snd_mixer_load(handle) < 0) {
        snd_mixer_close(handle);
        return nullptr;
    }
    return std::make_unique<AlsaMixerDevice>(handle, index, CardName(card));
}

} // namespace kelbrin
