#include "Ffprobe.h"

#include "core/app/Numbers.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace kelbrin::test {

QList<FfprobePacket> FfprobePackets(const QString& path) {
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {"-v", "error", "-select_streams", "a:0", "-show_entries",
                   "packet=pos,size,duration_time", "-of", "compact=p=0", path});
    if (!ffprobe.waitForFinished(60000) || ffprobe.exitCode() != 0) {
        ADD_FAILURE() << "ffprobe failed on " << path.toStdString();
        return {};
    }
    QList<FfprobePacket> packets;
    const QStringList lines = QString::fromUtf8(ffprobe.readAllStandardOutput()).split('\n');
    for (const QString& line : lines) {
        if (!line.contains(QLatin1String("pos=")))
            continue;
        FfprobePacket packet;
        for (const QString& field : line.split('|', Qt::SkipEmptyParts)) {
            const QString key = field.section('=', 0, 0);
            const QString value = field.section('=', 1);
            if (key == QLatin1String("pos"))
                packet.pos = value.toLongLong();
            else if (key == QLatin1String("size"))
                packet.size = value.toLongLong();
            else if (key == QLatin1String("duration_time"))
                packet.duration = Val(value);
        }
        packets.append(packet);
    }
    return packets;
}

double TotalDuration(const QList<FfprobePacket>& packets) {
    double total = 0;
    for (const auto& p : packets)
        total += p.duration;
    return total;
}

} // namespace kelbrin::test
