#pragma once
// Reads the text of a batch script (".kbs"): a "[Source Files]" section of
// "id:path" lines and a "[Destination Files]" section of lines
// "id:name:kind:start:end" (kind 0 frames, 2 minutes and seconds in two fields
// each, any other kind seconds in one field). Lines may end in CR LF, LF or
// CR (CRs before an LF belong to its end); a last line without an end counts.
// A range end of 0 runs to the end of the source; a negative bound or an end
// before the start is refused. Nothing is opened here.

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace kelbrin {

QStringList ScriptTextLines(const QString& text);

struct ScriptTime {
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    std::int32_t milliseconds = 0;
};

// One seconds field ("75.6", "62,5", "80"): whole seconds split into minutes
// and seconds; up to three digits after "." or "," give the milliseconds (one
// digit counts hundreds, two count tens, more than three are ignored).
// Nothing when the field is not such a number.
std::optional<ScriptTime> ParseScriptSeconds(const QString& field);

struct ScriptSource {
    int line = 0; // 1-based line of the text
    std::int32_t id = 0;
    QString path;
};

struct ScriptTrackLine {
    int line = 0;
    std::int32_t sourceId = 0;
    QString name; // already cleaned of separators and control characters
    bool inTime = true;
    ScriptTime start;
    ScriptTime end;
    std::int32_t frameFrom = 0;
    std::int32_t frameTo = 0;
};

struct ScriptDescription {
    QList<ScriptSource> sources;
    QList<ScriptTrackLine> tracks;
};

enum class ScriptReadStatus {
    Ok,
    NoSourceSection,      // no "[Source Files]" line
    NoDestinationSection, // no "[Destination Files]" line after the sources
    BadLine,              // a line whose numbers or fields cannot be read
    BadRange,             // a range with a negative bound or its end before its start
    BadName,              // an output name that names no file of its own
};

struct ScriptReadResult {
    ScriptReadStatus status = ScriptReadStatus::Ok;
    ScriptDescription script;
    int line = 0;     // the offending line, 1-based
    QString lineText; // its text
};

ScriptReadResult ParseScript(const QString& text);

} // namespace kelbrin
