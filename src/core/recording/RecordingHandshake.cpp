#include "RecordingHandshake.h"

#include "core/app/Numbers.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>

namespace kelbrin {

using namespace handshake;

namespace {

qint64 ReadCount(SettingsStore& store, const QString& key, qint64 missing) {
    const QString text = store.read(key, QString());
    if (text.isEmpty())
        return missing;
    return RoundHalfEven(Val(text));
}

quint32 ReadSession(SettingsStore& store, const QString& key) {
    return static_cast<quint32>(ReadCount(store, key, 0));
}

QString Text(qint64 value) { return QString::number(value); }

using KeyValues = QList<std::pair<QString, QString>>;

QString PartsText(const QList<std::pair<qint64, qint64>>& parts) {
    QStringList entries;
    for (const auto& [block, bytes] : parts)
        entries.append(QStringLiteral("%1:%2").arg(block).arg(bytes));
    return entries.join(QLatin1Char(' '));
}

QList<std::pair<qint64, qint64>> ParseParts(const QString& text) {
    QList<std::pair<qint64, qint64>> parts;
    for (const QString& entry : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype colon = entry.indexOf(QLatin1Char(':'));
        bool blockOk = false;
        bool bytesOk = false;
        const qint64 block = entry.left(colon).toLongLong(&blockOk);
        const qint64 bytes = entry.mid(colon + 1).toLongLong(&bytesOk);
        if (colon > 0 && blockOk && bytesOk && bytes >= 0)
            parts.append({block, bytes});
    }
    return parts;
}

void WriteAll(SettingsStore& store, const KeyValues& values) {
    for (const auto& [key, value] : values)
        store.write(key, value);
}

// Writes the values the store does not hold; true when any was written.
bool Reassert(SettingsStore& store, const KeyValues& values) {
    bool wrote = false;
    for (const auto& [key, value] : values) {
        if (!store.contains(key) || store.read(key, QString()) != value) {
            store.write(key, value);
            wrote = true;
        }
    }
    return wrote;
}

// The blocks of this recording in its server's files. The server counts a
// block only after its write: one killed between the two left the block in the
// file uncounted, and the file longer than the counted blocks can make it.
qint64 EncodedBlocks(SettingsStore& store) {
    if (ReadSession(store, kConvertedSession) != ReadSession(store, kSession))
        return 0;
    qint64 encoded = std::max<qint64>(0, ReadCount(store, kConverted, 0));
    if (ReadCount(store, kLoop, kLoopRunning) != kLoopEnded) {
        const qint64 beyond = ReadCount(store, kConvertedBeyond, -1);
        const QString file = store.read(kConvertedFile, QString());
        if (beyond >= 0 && !file.isEmpty() && QFileInfo(file).size() > beyond)
            ++encoded;
    }
    return encoded;
}

} // namespace

qint64 UnacknowledgedBlocks(SettingsStore& store) {
    store.sync();
    const qint64 written = ReadCount(store, kWritten, 0);
    return std::max<qint64>(0, written - EncodedBlocks(store));
}

std::optional<BufferExtents> UnencodedExtents(SettingsStore& store) {
    store.sync();
    const qint64 blockSize = ReadCount(store, kBlockSize, 0);
    if (blockSize <= 0)
        return std::nullopt;
    const qint64 written = ReadCount(store, kWritten, 0);
    const qint64 ringBase = std::clamp<qint64>(ReadCount(store, kRingBase, 0), 0, std::max<qint64>(0, written));
    // The file was emptied only of blocks the server had encoded: those
    // before the ring's base are gone from it either way.
    const qint64 acknowledged = std::clamp<qint64>(EncodedBlocks(store), ringBase, written);
    ServerHandshake::EditorState state;
    state.parts = ParseParts(store.read(kPartBlocks, QString()));
    BufferExtents extents;
    for (qint64 block = acknowledged; block < written; ++block)
        extents.append({BufferBlockOffset(block, ringBase, blockSize), state.blockBytes(block, blockSize)});
    return extents;
}

// ---- editor side ----

CaptureHandshake::CaptureHandshake(SettingsStore& store) : m_store(store) {}

CaptureHandshake::KeyValues CaptureHandshake::owned() const {
    return {{kSession, Text(m_session)},
            {kWritten, Text(m_written)},
            {kRingBase, Text(m_ringBase)},
            {kWriting, QStringLiteral("0")},
            {kEndRequest, Text(m_endRequest)},
            {kPartBlocks, PartsText(m_parts)},
            {kBlockSize, Text(m_blockSize)}};
}

void CaptureHandshake::publish() { WriteAll(m_store, owned()); }

void CaptureHandshake::syncAndReassert() {
    m_store.sync();
    if (Reassert(m_store, owned()))
        m_store.sync();
}

void CaptureHandshake::reset() {
    quint32 session = 0;
    while (session == 0 || session == m_session)
        session = QRandomGenerator::global()->generate() & 0x7fffffff;
    m_session = session;
    m_written = 0;
    m_ringBase = 0;
    m_endRequest = kGoOn;
    m_blockSize = 0;
    m_parts.clear();
    publish();
    m_store.sync();
}

qint64 CaptureHandshake::blocksAcknowledged() {
    syncAndReassert();
    if (ReadSession(m_store, kConvertedSession) != m_session)
        return 0;
    const qint64 acknowledged = ReadCount(m_store, kConverted, 0);
    return acknowledged < 0 ? 0 : qMin(acknowledged, m_written);
}

bool CaptureHandshake::appendBlock(QFileDevice& file, const char* data, qint64 size, qint64 blockSize) {
    // Empty the file only when the server has encoded every block in it: then
    // nothing it still has to read can be lost.
    const bool caughtUp = m_written > m_ringBase && blocksAcknowledged() == m_written;
    m_blockSize = blockSize;
    bool ok = true;
    qint64 offset = BufferBlockOffset(m_written, m_ringBase, blockSize);
    if (caughtUp) {
        ok = file.resize(0);
        offset = 0;
    }
    ok = ok && file.seek(offset) && file.write(data, size) == size && file.flush();
    if (ok) {
        if (caughtUp) {
            m_ringBase = m_written;
            m_parts.clear(); // the server has read them all
        }
        if (size < blockSize)
            m_parts.append({m_written, size});
        ++m_written;
    }
    publish();
    m_store.sync();
    return ok;
}

void CaptureHandshake::requestFinish() { requestEnd(kFinish); }

void CaptureHandshake::requestAbandon() { requestEnd(kAbandon); }

void CaptureHandshake::requestEnd(int request) {
    m_endRequest = request;
    m_store.write(kEndRequest, Text(m_endRequest));
    m_store.sync();
}

bool CaptureHandshake::serverEnded() {
    syncAndReassert();
    return ReadSession(m_store, kConvertedSession) == m_session &&
           ReadCount(m_store, kLoop, kLoopRunning) == kLoopEnded;
}

int CaptureHandshake::endReason() {
    syncAndReassert();
    return static_cast<int>(ReadCount(m_store, kEndReason, kEndedAsAsked));
}

// ---- server side ----

ServerHandshake::ServerHandshake(SettingsStore& store) : m_store(store) {}

ServerHandshake::KeyValues ServerHandshake::owned() const {
    return {{kConvertedSession, Text(m_session)},
            {kConverted, Text(m_published)},
            {kConvertedFile, m_outputPath},
            {kConvertedBeyond, Text(m_beyond)},
            {kLoop, Text(m_loop)},
            {kEndReason, Text(m_endReason)}};
}

void ServerHandshake::publish() {
    m_published = m_converted;
    WriteAll(m_store, owned());
}

void ServerHandshake::begin() {
    m_store.sync();
    m_session = ReadSession(m_store, kSession);
    m_converted = 0;
    m_outputPath.clear();
    m_beyond = -1;
    m_loop = kLoopRunning;
    m_endReason = kEndedAsAsked;
    publish();
    m_store.sync();
}

ServerHandshake::EditorState ServerHandshake::poll() {
    m_store.sync();
    if (Reassert(m_store, owned()))
        m_store.sync();
    EditorState state;
    if (ReadSession(m_store, kSession) != m_session)
        return state; // another recording's values: nothing to do yet
    state.written = ReadCount(m_store, kWritten, 0);
    state.ringBase = ReadCount(m_store, kRingBase, 0);
    state.endRequest = static_cast<int>(ReadCount(m_store, kEndRequest, kGoOn));
    state.parts = ParseParts(m_store.read(kPartBlocks, QString()));
    if (state.endRequest != kFinish && state.endRequest != kAbandon)
        state.endRequest = kGoOn;
    return state;
}

qint64 ServerHandshake::EditorState::blockBytes(qint64 block, qint64 blockSize) const {
    for (const auto& [partBlock, bytes] : parts)
        if (partBlock == block)
            return std::min(bytes, blockSize);
    return blockSize;
}

void ServerHandshake::acknowledge(qint64 beyond) {
    ++m_converted;
    m_published = m_converted;
    m_beyond = beyond;
    // Together: the size belongs to the count.
    m_store.write(kConverted, Text(m_published));
    m_store.write(kConvertedBeyond, Text(m_beyond));
    m_store.sync();
}

void ServerHandshake::setOutputFile(const QString& name, const QString& path, qint64 beyond) {
    m_outputFile = name;
    m_outputPath = path;
    m_beyond = path.isEmpty() ? -1 : beyond;
    m_store.write(kFilePath, name);
    m_store.write(kConvertedFile, m_outputPath);
    m_store.write(kConvertedBeyond, Text(m_beyond));
    m_store.sync();
}

void ServerHandshake::finish(int reason) {
    m_loop = kLoopEnded;
    m_endReason = reason;
    publish();
    m_store.sync();
}

} // namespace kelbrin
