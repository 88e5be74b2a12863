#pragma once
// The capture side's view of the recording handshake in the shared settings
// store. The encoder server runs in another process, so every read picks up
// its latest writes first, and every write is made visible at once.

#include <QString>
#include <cstdint>

namespace kelbrin::handshake {

inline const QString kCall = QStringLiteral("RecCall");
inline const QString kWritten = QStringLiteral("RecSW");
inline const QString kConverted = QStringLiteral("RecConv");
inline const QString kLoop = QStringLiteral("RecLoop");
inline const QString kTime = QStringLiteral("RecTime");
inline const QString kStop = QStringLiteral("RecStop");
inline const QString kFilePath = QStringLiteral("RecFilePath");

// The value's leading number, rounded; `missing` when the key is absent.
std::int32_t ReadNumber(const QString& key, std::int32_t missing);
void WriteNumber(const QString& key, std::int64_t value);

} // namespace kelbrin::handshake
