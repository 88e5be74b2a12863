#pragma once
// The update check: the version text at the address in the setting UpgAdres
// ("version,size[,...]") against the running program.

#include "InternetFetch.h"

#include <QList>
#include <QString>
#include <optional>

namespace kelbrin {

// The product's own version file, when UpgAdres is not set.
constexpr const char* kDefaultUpdateAddress = "https://kelbrin.example.org/version.txt";

struct RemoteBuild {
    // "major.minor.revision" as fields; the older single-number form, the
    // three numbers written one after another, is kept whole in `joined`.
    QList<qint64> fields;
    std::optional<qint64> joined;
    qint64 size = 0;
};

struct LocalBuild {
    QString version; // "major.minor.revision"
    qint64 size = -1; // bytes of the program file
};

// The version text read strictly: at least two fields, the version made of
// digits (with dots between fields), the size a whole number. Nothing for
// any other text.
std::optional<RemoteBuild> ParseVersionText(const QString& text);

// A newer build exists when the sizes differ or the remote version is
// greater, compared field by field (missing fields count as 0).
bool IsNewerBuild(const RemoteBuild& remote, const LocalBuild& local);

enum class UpdateVerdict { Failed, Newer, Current };

// Info > Check for updates: fetches, compares and tells the user (3230 with
// the product's address, 3232, or 3231 for any failure).
UpdateVerdict CheckForUpdates(const FetchSession& session, const LocalBuild& local);

} // namespace kelbrin
