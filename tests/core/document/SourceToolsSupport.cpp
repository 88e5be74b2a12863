#include "SourceToolsSupport.h"

#include "DocumentTestSupport.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace kelbrin::test {

QList<std::int64_t> DifferingBytes(const QByteArray& a, const QByteArray& b) {
    QList<std::int64_t> positions;
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        if (a.at(i) != b.at(i))
            positions.append(i);
    return positions;
}

Decoded DecodeWithFfmpeg(const QString& path, bool checkCrc) {
    QStringList args{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin")};
    if (checkCrc)
        args << QStringLiteral("-err_detect") << QStringLiteral("crccheck");
    args << QStringLiteral("-i") << path << QStringLiteral("-f") << QStringLiteral("s16le")
         << QStringLiteral("-");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    Decoded result;
    if (!ffmpeg.waitForFinished(120000)) {
        ADD_FAILURE() << "ffmpeg did not run";
        return result;
    }
    result.samples = ffmpeg.readAllStandardOutput();
    result.errors = QString::fromLocal8Bit(ffmpeg.readAllStandardError()).trimmed();
    result.exitCode = ffmpeg.exitCode();
    return result;
}

QString CopyOfMedia(const QString& name) {
    const QByteArray bytes = ReadWholeFile(MediaFile(name));
    EXPECT_FALSE(bytes.isEmpty()) << name.toStdString();
    return WriteTempFile(name, bytes);
}

} // namespace kelbrin::test
