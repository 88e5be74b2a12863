#include "RangeListColumns.h"

#include "core/document/cPozycjaMP3.h"
#include "core/editor/TrackListRow.h"

#include <algorithm>

namespace kelbrin {

RangeColumns TrackRangeColumns(const cPozycjaMP3& track) {
    const QStringList texts = TrackListRowTexts(track);
    RangeColumns c{texts.value(1), texts.value(2), texts.value(3)};
    if (!track.blnJednostka) {
        // A range that ends before it begins holds no frames.
        const std::int64_t frames = std::int64_t(track.lngRamkaDo) - track.lngRamkaOd;
        c.length = QString::number(std::max<std::int64_t>(0, frames));
    }
    return c;
}

} // namespace kelbrin
