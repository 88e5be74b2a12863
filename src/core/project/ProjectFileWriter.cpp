#include "ProjectFileWriter.h"

#include "ByteFields.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"

namespace kelbrin {

namespace {

std::int32_t storedSourceId(const cPozycjePlikow& files, const QString& path) {
    for (std::int32_t i = files.Count(); i >= 1; --i)
        if (files.Item(i)->strFileName == path)
            return i;
    return 0;
}

} // namespace

std::optional<QByteArray> BuildProjectBytes(const ProjectHeader& header,
                                            const cPozycjePlikow& files, const cPozycjeMP3& tracks,
                                            const AnsiCodec& codec) {
    if (files.Count() > project_format::kMaxSourceId)
        return std::nullopt;
    ByteWriter out(codec);
    ProjectHeader h = header;
    h.version = project_format::kWrittenVersion;
    h.trackCount = tracks.Count();
    h.sourceCount = files.Count();
    WriteHeader(out, h);
    for (std::int32_t i = 1; i <= files.Count(); ++i) {
        const cPozycjaPlikow& f = *files.Item(i);
        StoredSource s;
        s.path = f.strFileName;
        s.vbr = f.blnVBR;
        s.id = static_cast<std::int16_t>(i);
        s.duration = f.sngCzasTrwania;
        s.noSave = f.blnNoSave;
        WriteSourceRecord(out, s);
    }
    for (std::int32_t i = 1; i <= tracks.Count(); ++i) {
        const cPozycjaMP3& t = *tracks.Item(i);
        WriteTrackRecord(out, t, storedSourceId(files, t.strFileNameSource));
    }
    return out.bytes();
}

} // namespace kelbrin
