#pragma once
// Test stand-in for the mixers: devices described by the test, and a count of
// every call so a test can tell that nothing was asked.

#include "platform/mixer/MixerSystem.h"

#include <QMap>

namespace kelbrin {

struct FakeMixerDeviceData {
    bool opens = true;
    QMap<int, MixerLine> destinations;          // by destination number
    QMap<std::uint32_t, QList<MixerControl>> controls; // by line id
    QMap<std::uint32_t, QList<std::int32_t>> values;   // by control id
};

class FakeMixerSystem final : public MixerSystem {
public:
    int deviceCount() override {
        ++calls;
        return int(devices.size());
    }

    std::unique_ptr<MixerDevice> open(int index) override {
        ++calls;
        if (index < 0 || index >= devices.size() || !devices[index].opens)
            return nullptr;
        ++opened;
        return std::make_unique<Device>(*this, devices[index]);
    }

    QList<FakeMixerDeviceData> devices;
    int calls = 0;
    int opened = 0;
    int closed = 0;

private:
    class Device final : public MixerDevice {
    public:
        Device(FakeMixerSystem& owner, const FakeMixerDeviceData& data) : m_owner(owner), m_data(data) {}
        ~Device() override { ++m_owner.closed; }
        std::optional<MixerLine> destinationLine(int destination) override {
            ++m_owner.calls;
            if (!m_data.destinations.contains(destination))
                return std::nullopt;
            return m_data.destinations.value(destination);
        }
        std::optional<MixerLine> lineOfComponentType(std::uint32_t componentType) override {
            ++m_owner.calls;
            for (const MixerLine& line : m_data.destinations)
                if (line.componentType == componentType)
                    return line;
            return std::nullopt;
        }
        QList<MixerControl> lineControls(std::uint32_t lineId) override {
            ++m_owner.calls;
            return m_data.controls.value(lineId);
        }
        std::optional<QList<std::int32_t>> controlValues(std::uint32_t controlId, int channels) override {
            ++m_owner.calls;
            if (!m_data.values.contains(controlId))
                return std::nullopt;
            QList<std::int32_t> v = m_data.values.value(controlId);
            v.resize(channels);
            return v;
        }

    private:
        FakeMixerSystem& m_owner;
        FakeMixerDeviceData m_data;
    };
};

} // namespace kelbrin
