#pragma once
// The editor's values as LoadSettings read them from the stored settings.
// A reader that keeps a copy (the drawing surface's mouse sensitivity) sets
// `onChange`, which the settings dialog calls when it alters a value at once.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace kelbrin {

struct LoadedSettings {
    QStringList LanguageSections; // the language file's section names, file order
    QString DestFolder;
    QString SourceFolder;
    bool UseOldAlgorithm = false;
    std::int32_t CopyChunkSize = 65535;
    std::int32_t MoveStep = 5;
    std::int32_t MouseSensitivity = 150;
    float OverTakeSeconds = 0.15f;

    std::function<void()> onChange;
    void announceChange() const {
        if (onChange)
            onChange();
    }
};

} // namespace kelbrin
