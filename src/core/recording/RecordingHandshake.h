#pragma once
// The recording handshake between the editor's capture side and the encoder
// server, and the block layout of the buffer file they share.
//
// The editor appends whole blocks of raw PCM to the buffer file; the server
// reads them back in order and encodes them. Progress travels through the
// shared settings store, and every key has exactly one writer process:
//
//   editor (capture side and recorder window)   server
//   RecSession  id of the recording              RecConvSession  the id its counts belong to
//   RecSW       blocks written so far            RecConv         blocks encoded so far
//   RecRingBase block at offset 0 of the file    RecLoop         1 running, -1 ended
//   RecCall     0 (no longer needed: a block     RecEndReason    0, or the text number of why it ended
//               is counted only once it is whole)
//   RecPartBlocks "k:bytes ..." blocks shorter
//               than the block size (the part
//               captured before a stop or pause)
//   RecBlockSize  bytes of a whole block
//   RecEndRequest 1 go on, 0 finish, -1 abandon  RecFilePath     name of the output file being written
//                                                RecLastFile     name of the output file closed last
//                                                RecConvFile     that file with its folder, and
//                                                RecConvBeyond   the size it has at most without
//                                                                the block after those counted
//                                                RecStartRefusal why the last INIT failed
//   RecTime, RecStop (the recorder window's own)
//
// The counts only grow during a recording, so a read that comes late only
// delays: the editor empties the buffer file only when the server has
// acknowledged every block written, and the server reads only blocks the
// editor has counted. A missing key never reads as a stop. Each side writes its
// values again when it finds the store holding something else, so a value that
// a concurrent rewrite of the store lost comes back at the next poll.
//
// Order of a recording: the editor calls CaptureHandshake::reset() when the
// capture device opens and before the server's INIT; INIT calls
// ServerHandshake::begin(). Then the editor calls appendBlock() for every filled
// buffer, and requestFinish() (or requestAbandon()) to end; it waits until
// serverEnded() before UNINIT.

#include "platform/settings/SettingsStore.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

class QFileDevice;

namespace kelbrin {

namespace handshake {
// Editor's keys.
inline const QString kSession = QStringLiteral("RecSession");
inline const QString kWritten = QStringLiteral("RecSW");
inline const QString kRingBase = QStringLiteral("RecRingBase");
inline const QString kWriting = QStringLiteral("RecCall");
inline const QString kPartBlocks = QStringLiteral("RecPartBlocks");
inline const QString kBlockSize = QStringLiteral("RecBlockSize");
inline const QString kEndRequest = QStringLiteral("RecEndRequest");
inline const QString kTime = QStringLiteral("RecTime");
inline const QString kStop = QStringLiteral("RecStop");
// Server's keys.
inline const QString kConverted = QStringLiteral("RecConv");
inline const QString kConvertedSession = QStringLiteral("RecConvSession");
inline const QString kLoop = QStringLiteral("RecLoop");
inline const QString kEndReason = QStringLiteral("RecEndReason");
inline const QString kFilePath = QStringLiteral("RecFilePath");
inline const QString kLastFile = QStringLiteral("RecLastFile"); // the file closed last
inline const QString kConvertedFile = QStringLiteral("RecConvFile");
inline const QString kConvertedBeyond = QStringLiteral("RecConvBeyond");
// Why the last INIT failed: "number<TAB>text" of the message the server showed.
inline const QString kStartRefusal = QStringLiteral("RecStartRefusal");

// RecEndRequest values.
constexpr int kGoOn = 1;
constexpr int kFinish = 0;  // encode what is waiting, finish the files, end
constexpr int kAbandon = -1; // end after the current block without the backlog

// RecLoop values.
constexpr int kLoopRunning = 1;
constexpr int kLoopEnded = -1;

// RecEndReason values besides the text numbers of failures.
constexpr int kEndedAsAsked = 0;
} // namespace handshake

// The blocks the last recording wrote that its server never acknowledged, as
// the store holds them: more than 0 when an editor killed mid-recording (or a
// server gone with it) left sound in the buffer file that nothing encoded.
qint64 UnacknowledgedBlocks(SettingsStore& store = Settings());

// Where sound lies in the buffer file: the byte offset and length of each
// block, in order.
using BufferExtents = QList<std::pair<qint64, qint64>>;

// The blocks of the last recording that its server never acknowledged, where
// they lie in the buffer file, as the store holds them. Nothing when the store
// cannot tell (it names no block size).
std::optional<BufferExtents> UnencodedExtents(SettingsStore& store = Settings());

// Byte offset of block `block` in the buffer file last emptied at block `ringBase`.
inline qint64 BufferBlockOffset(qint64 block, qint64 ringBase, qint64 blockSize) {
    return (block - ringBase) * blockSize;
}

// The editor's side: one object per recording, kept across pauses.
class CaptureHandshake {
public:
    explicit CaptureHandshake(SettingsStore& store = Settings());

    // The capture device opened: a new recording with a new session id, no
    // blocks, an empty ring and no end request. Call before the server's INIT.
    void reset();

    // Appends one block to the buffer file (opened for writing): a whole one of
    // `blockSize` bytes, or the shorter part captured before a stop or a pause,
    // whose length is published with it. Blocks keep their places at multiples
    // of the block size. When the server has acknowledged every block written
    // so far, the file is emptied first and the block goes to offset 0. Returns
    // false, counting nothing, when the file could not be written; the caller
    // reports that.
    bool appendBlock(QFileDevice& file, const char* data, qint64 size, qint64 blockSize);
    bool appendBlock(QFileDevice& file, const char* data, qint64 size) {
        return appendBlock(file, data, size, size);
    }

    qint64 blocksWritten() const { return m_written; }
    qint64 ringBase() const { return m_ringBase; }
    quint32 session() const { return m_session; }

    // Blocks the server has encoded in this recording (0 until it reports).
    qint64 blocksAcknowledged();
    qint64 backlog() { return m_written - blocksAcknowledged(); }

    void requestFinish();
    void requestAbandon();

    // True once the server has ended its loop for this recording.
    bool serverEnded();
    // Why the server ended: 0 as asked, else the text number of a failure.
    int endReason();

private:
    using KeyValues = QList<std::pair<QString, QString>>;
    // The keys this side owns, with the values it last set.
    KeyValues owned() const;
    void publish();
    void syncAndReassert();
    void requestEnd(int request);

    SettingsStore& m_store;
    quint32 m_session = 0;
    qint64 m_written = 0;
    qint64 m_ringBase = 0;
    int m_endRequest = handshake::kGoOn;
    qint64 m_blockSize = 0;
    QList<std::pair<qint64, qint64>> m_parts; // block, bytes: the short ones still in the file
};

// The server's side: one object per recording.
class ServerHandshake {
public:
    // What the editor has published, as of the last poll.
    struct EditorState {
        qint64 written = 0;
        qint64 ringBase = 0;
        int endRequest = handshake::kGoOn;
        QList<std::pair<qint64, qint64>> parts; // block, bytes: the blocks shorter than the block size
        // The bytes block `block` holds.
        qint64 blockBytes(qint64 block, qint64 blockSize) const;
    };

    explicit ServerHandshake(SettingsStore& store = Settings());

    // INIT: adopts the editor's session, counts from 0, reports running.
    void begin();
    // Reads the editor's keys afresh (and restores this side's keys when the
    // store lost them). Keys of another session read as nothing written.
    EditorState poll();
    // Calls `published` whenever the editor may have published something new,
    // while the returned watch lives; null when the store cannot tell (then
    // only polling finds it).
    std::unique_ptr<SettingsWatch> watchEditor(std::function<void()> published) {
        return m_store.watch(std::move(published));
    }

    // The next block to encode (= blocks encoded so far).
    qint64 nextBlock() const { return m_converted; }
    // One more block is encoded and written; the count reaches the editor now.
    // `beyond` is the most bytes the output file can hold without the next
    // block's own sound (what it holds, and what the encoder still holds of
    // the blocks counted); -1 when that is not known.
    void acknowledge(qint64 beyond = -1);

    // The output file now being written: its name without folder, its path,
    // and `beyond` as for acknowledge.
    void setOutputFile(const QString& name, const QString& path = QString(), qint64 beyond = -1);
    // The loop has ended and its files are finished.
    void finish(int reason = handshake::kEndedAsAsked);
    bool running() const { return m_loop == handshake::kLoopRunning; }

private:
    using KeyValues = QList<std::pair<QString, QString>>;
    KeyValues owned() const;
    void publish();

    SettingsStore& m_store;
    quint32 m_session = 0;
    qint64 m_converted = 0;
    qint64 m_published = 0; // the count the store was last given
    int m_loop = handshake::kLoopRunning;
    int m_endReason = handshake::kEndedAsAsked;
    QString m_outputFile;
    QString m_outputPath;
    qint64 m_beyond = -1;
};

} // namespace kelbrin
