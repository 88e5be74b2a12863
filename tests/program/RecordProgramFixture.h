#pragma once
// "kelbrin -rec" the way a scheduled job runs it: unattended, in a home of its
// own, on a private session bus (or a small disk of its own), with a test
// source in place of the sound card and the real encoder server.
#include "support/TestEnvironment.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QtEndian>
#include <gtest/gtest.h>

#include "ProgramHome.h"

namespace kelbrin::test {

class RecordProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        home = test::MakeTempDir("rec-home");
        env = test::ProgramHome(home, {"config/Pelorin", "records", "buffer"});
        records = home + "/records/";
        test::WriteFile(home + "/config/Pelorin/Kelbrin.conf",
                        "[Kelbrin]\nRecDir=" + records.toUtf8() + "\nTempRecDir=" + home.toUtf8() +
                            "/buffer/\nDestPath=" + home.toUtf8() + "\nEngineType=1\n");
        env.insert("KELBRIN_AUTO_ANSWER", "yes");
        env.insert("KELBRIN_CAPTURE_SOURCE", "audiotestsrc is-live=true wave=sine freq=440");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home);
    }
    void TearDown() override {
        process.kill();
        process.waitForFinished(5000);
    }
    // Runs `command` in a shell inside its own session bus; true when it ended in time.
    bool runOnSessionBus(const QString& command, int ms) {
        process.start("dbus-run-session", {"--", "sh", "-c", command});
        if (!process.waitForStarted(5000))
            return false;
        const bool ended = process.waitForFinished(ms);
        stderrText = QString::fromUtf8(process.readAllStandardError());
        return ended;
    }
    static QString quoted(const QString& path) { return "'" + path + "'"; }
    // A shell line that registers the server and records for up to a minute
    // on the session bus; `meanwhile` runs beside the recording.
    QString recordingLine(const QString& meanwhile = QString()) const {
        const QString record = quoted(kelbrin) + " -rec 1";
        if (meanwhile.isEmpty())
            return quoted(capturon) + " /RegServer && " + record;
        return quoted(capturon) + " /RegServer && { " + record + " & k=$!; " + meanwhile + "; wait $k; }";
    }
    // Runs `line` on a session bus with `folder` on a small tmpfs (`limits`
    // are its mount options), in a mount namespace of its own (the mount goes
    // with it); false when it did not end in time or this system allows no
    // such namespace.
    bool runOnSmallDisk(const QString& folder, const QString& line, int ms, const QString& limits = "size=2m") {
        const QString inner = test::WriteFile(home + "/on-bus.sh", line.toUtf8());
        const QString outer = test::WriteFile(
            home + "/small-disk.sh",
            ("mount -t tmpfs -o " + limits + ",mode=0700 tmpfs " + quoted(folder) + " && exec dbus-run-session -- sh " + quoted(inner))
                .toUtf8());
        const QString probe = home + "/probe";
        QDir().mkpath(probe);
        for (const QStringList& unshare : {QStringList{"-m"}, QStringList{"-r", "-m"}}) {
            QProcess check;
            check.start("unshare", unshare + QStringList{"sh", "-c", "mount -t tmpfs -o size=1m tmpfs " + quoted(probe)});
            if (!check.waitForFinished(10000) || check.exitStatus() != QProcess::NormalExit || check.exitCode() != 0)
                continue;
            process.start("unshare", unshare + QStringList{"sh", outer});
            if (!process.waitForStarted(5000))
                return false;
            const bool ended = process.waitForFinished(ms);
            stderrText = QString::fromUtf8(process.readAllStandardError());
            return ended;
        }
        mountsRefused = true;
        return false;
    }
    // Kills, after a run that did not end, the processes whose ids the run
    // listed in `pids`: a stopped server outlives its bus.
    void killListed(const QString& pids) {
        QFile list(pids);
        if (list.open(QIODevice::ReadOnly))
            for (const QByteArray& pid : list.readAll().split('\n'))
                if (pid.trimmed().toInt() > 0)
                    QProcess::execute("kill", {"-9", QString::fromLatin1(pid.trimmed())});
        process.waitForFinished(10000);
    }
    bool needsServer() const { return QFileInfo(capturon).isExecutable(); }
    // Records IMA ADPCM, 22050 Hz mono: 512-byte blocks of 1017 samples.
    void useImaAdpcm() {
        addSettings("EngineType=0\n");
        QByteArray format = QByteArray::fromHex("110001002256000000000000000204000200f903");
        qToLittleEndian<quint32>(11100, format.data() + 8);
        test::WriteFile(home + "/config/Pelorin/formatex.ini", format.leftJustified(68, '\0'));
    }
    // A shell line that waits until the recording's `extension` file is there and `seconds` more.
    QString whenRecording(const QString& extension, int seconds) const {
        return "until ls " + quoted(records) + " | grep -q " + extension + "; do sleep 0.2; done; sleep " +
               QString::number(seconds);
    }
    void addSettings(const QByteArray& lines) {
        QFile conf(home + "/config/Pelorin/Kelbrin.conf");
        ASSERT_TRUE(conf.open(QIODevice::Append));
        conf.write(lines);
    }
    QString projectPath() const { return records + "Record " + QDate::currentDate().toString("MM_dd") + ".kbe"; }
    static QString probe(const QString& file, const QString& entries) {
        QProcess ffprobe;
        ffprobe.start("ffprobe", {"-v", "error", "-show_entries", entries, "-of", "csv=p=0", file});
        ffprobe.waitForFinished(30000);
        return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
    }
    // The file decoded by ffmpeg to 16-bit mono.
    static QByteArray decoded(const QString& file) {
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", {"-v", "error", "-i", file, "-ac", "1", "-f", "s16le", "-"});
        ffmpeg.waitForFinished(60000);
        return ffmpeg.readAllStandardOutput();
    }
    // The largest step between neighbouring samples after the first `skip`:
    // the test sine keeps it small, a gap or a click makes it large.
    static int largestStep(const QByteArray& pcm, qsizetype skip) {
        const auto* s = reinterpret_cast<const qint16*>(pcm.constData());
        int largest = 0;
        for (qsizetype i = skip + 1; i < pcm.size() / 2; ++i)
            largest = std::max(largest, std::abs(int(s[i]) - int(s[i - 1])));
        return largest;
    }

    // A shell expression for the process id of the server on the session bus.
    static QString serverPid() {
        return "$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "
               "org.freedesktop.DBus.GetConnectionUnixProcessID string:org.pelorin.Capturon | awk '/uint32/ {print $2}')";
    }
    // A shell line that kills the server outright once the WAVE file it writes holds `bytes`.
    QString killServerOnceWaveHolds(qint64 bytes) const {
        return "until [ \"$(cat " + quoted(records) + "*.wav 2>/dev/null | wc -c)\" -gt " + QString::number(bytes) +
               " ]; do sleep 0.2; done; kill -9 " + serverPid();
    }
    // The buffer file kept with the sound the server never encoded, named in the editor's message.
    void expectUnencodedSoundKept() const {
        const QStringList kept = QDir(home + "/buffer").entryList({"Bufor*kept*.tmp"}, QDir::Files);
        ASSERT_EQ(kept.size(), 1) << QDir(home + "/buffer").entryList().join(", ").toStdString();
        EXPECT_GT(QFileInfo(home + "/buffer/" + kept[0]).size(), 0);
        EXPECT_TRUE(stderrText.contains("[7350]") && stderrText.contains(home + "/buffer/" + kept[0]))
            << stderrText.toStdString();
    }

    // The recording's counts as the editor and the server left them in the store.
    qint64 stored(const char* key) const {
        QSettings conf(home + "/config/Pelorin/Kelbrin.conf", QSettings::IniFormat);
        return conf.value(QStringLiteral("Kelbrin/") + QLatin1String(key)).toLongLong();
    }
    // The bytes of blocks [from, to) of the buffer: whole blocks, but for the
    // shorter ones the store lists ("block:bytes ...").
    qint64 blockBytes(qint64 from, qint64 to) const {
        QSettings conf(home + "/config/Pelorin/Kelbrin.conf", QSettings::IniFormat);
        const QString parts = conf.value("Kelbrin/RecPartBlocks").toStringList().join(' ');
        const qint64 whole = stored("RecBlockSize");
        qint64 bytes = 0;
        for (qint64 block = from; block < to; ++block) {
            qint64 held = whole;
            for (const QString& entry : parts.split(' ', Qt::SkipEmptyParts))
                if (entry.section(':', 0, 0).toLongLong() == block)
                    held = entry.section(':', 1).toLongLong();
            bytes += held;
        }
        return bytes;
    }

    QString home, records, stderrText;
    bool mountsRefused = false;
    QProcessEnvironment env;
    QProcess process;
    const QString kelbrin = test::RuntimeDir() + "/kelbrin";
    const QString capturon = test::RuntimeDir() + "/capturon";
};

} // namespace kelbrin::test
