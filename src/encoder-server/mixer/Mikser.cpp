#include "Mikser.h"

#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <algorithm>

namespace kelbrin {

namespace {

// Names are read up to their first NUL, as the mixer hands them out.
QString UpToNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

void ListDevice(MixerDevice& device) {
    const auto destination = device.destinationLine(mixer::kCaptureDestination);
    if (!destination)
        return;
    ShowMessage(UpToNul(destination->name), mb::OkOnly);
    if (destination->connections < 1)
        return;
    const auto line = device.lineOfComponentType(destination->componentType);
    if (!line)
        return;
    ShowCatalogMessage(6830, mb::OkOnly,
                       {QStringLiteral("|1"), UpToNul(line->name), QStringLiteral("|2"), UpToNul(line->shortName),
                        QStringLiteral("|3"), QString::number(line->lineId, 16).toUpper(),
                        QStringLiteral("|4"), QString::number(line->componentType),
                        QStringLiteral("|5"), QString::number(line->controls),
                        QStringLiteral("|6"), QString::number(line->connections)});
    for (const MixerControl& control : device.lineControls(line->lineId)) {
        ShowMessage(UpToNul(control.name) + QLatin1Char(',') + UpToNul(control.shortName), mb::OkOnly);
        const auto values = device.controlValues(control.controlId, std::max(1, line->channels));
        if (values && !values->isEmpty())
            ShowMessage(QString::number(values->first()), mb::OkOnly);
    }
}

} // namespace

bool MixerDiagnosticsOn() {
    return ValLong(GetSetting(settingkeys::kRecHeight, QStringLiteral("0"))) > 0;
}

void ListMixers(MixerSystem& mixers) {
    const int count = mixers.deviceCount();
    for (int i = 0; i < count; ++i) {
        // Closing the device is the end of its object.
        if (auto device = mixers.open(i))
            ListDevice(*device);
    }
}

} // namespace kelbrin
