#pragma once
// Runs a batch script from start to end: reads and checks the whole script
// first (a faulty script changes nothing), resets the project, opens and scans
// every listed source, builds one track per destination line, hands them to
// the export and resets the project again. A source that cannot be opened
// ends the run before anything is written.

#include <QHash>
#include <QString>
#include <cstdint>

namespace kelbrin {

class ProjectWindow;
struct ScriptDescription;

class ScriptRunner {
public:
    explicit ScriptRunner(ProjectWindow& window) : m_window(window) {}

    // Always false: a script leaves no project behind.
    bool Run(const QString& path);

private:
    bool openSources(const ScriptDescription& script, const QString& scriptFolder);
    void buildTracks(const ScriptDescription& script);

    ProjectWindow& m_window;
    // A source listed again under another id: the id it was first listed with.
    QHash<std::int32_t, std::int32_t> m_sameSourceAs;
};

} // namespace kelbrin
