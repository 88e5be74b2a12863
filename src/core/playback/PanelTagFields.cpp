#include "PanelTagFields.h"

#include "core/document/cPozycjaMP3.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

bool EditTagField(cPozycjaMP3* track, TagField field, const QString& text) {
    if (!track)
        return false;
    QString* target = nullptr;
    switch (field) {
    case TagField::Title: target = &track->strTitle; break;
    case TagField::Artist: target = &track->strAutor; break;
    case TagField::Album: target = &track->strAlbum; break;
    case TagField::Year: target = &track->strYear; break;
    case TagField::Comment: target = &track->strComment; break;
    }
    if (*target != text) {
        *target = text;
        track->blnZmodyfikowana = true;
    }
    if (field == TagField::Comment)
        SaveSetting(settingkeys::kTAG_Def, text);
    return true;
}

bool EditGenre(cPozycjaMP3* track, std::int32_t genre) {
    if (!track)
        return false;
    if (track->lngGenre != genre) {
        track->lngGenre = genre;
        track->blnZmodyfikowana = true;
    }
    return true;
}

bool YearIsValid(const QString& text) {
    if (text.size() != 4)
        return false;
    for (QChar c : text)
        if (!c.isDigit() || c.unicode() > 127)
            return false;
    return true;
}

} // namespace kelbrin
