#pragma once
// The ID3v1 fields of the track panel. An edit goes straight into the panel
// track and marks it changed; an edited comment is also kept as the default
// comment of new tracks (the setting TAG_Def). Without a track nothing
// happens; filling the boxes from a track stores nothing in the track.

#include <QString>
#include <cstdint>

namespace kelbrin {

class cPozycjaMP3;

enum class TagField { Title, Artist, Album, Year, Comment };

// Stores `text` in the field; false when there is no track.
bool EditTagField(cPozycjaMP3* track, TagField field, const QString& text);
// Stores the genre number picked in the genre box.
bool EditGenre(cPozycjaMP3* track, std::int32_t genre);
// The year box may be left: exactly 4 characters, all of them digits.
bool YearIsValid(const QString& text);

} // namespace kelbrin
