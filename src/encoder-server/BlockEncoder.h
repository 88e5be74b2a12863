#pragma once
// Turns blocks of captured PCM into the bytes of an output file: MP3 frames
// from the LAME encoder, or a WAVE codec's output.

#include <QByteArray>
#include <QString>

namespace kelbrin {

class BlockEncoder {
public:
    virtual ~BlockEncoder() = default;
    // Encodes one block; its output is appended to `out`. False on failure.
    virtual bool encode(const QByteArray& block, QByteArray& out) = 0;
    // Ends the stream: what the encoder still holds is appended to `out`.
    virtual bool flush(QByteArray& out) = 0;
    // Whether a split ends the stream and starts a new one for the next file
    // (each file complete on its own); otherwise the stream runs on.
    virtual bool restartsAtSplit() const = 0;
    // After flush: closes the stream and finishes the closed file at `path`
    // (the MP3 encoder writes its VBR header there).
    virtual void finishFile(const QString& path) = 0;
    // A fresh stream after finishFile; false when it cannot be opened.
    virtual bool restart() = 0;
    // The most output one block can give (for the size limits).
    virtual qint64 maxOutput(qint64 blockBytes) const = 0;
    // The most output what the encoder still holds back of the blocks it
    // took can give, with the part of a codec block a full disk may cut off.
    virtual qint64 heldOutputBound() const = 0;
    // The sample frames of PCM that the output given so far holds, or -1 when
    // the encoder does not tell (then what went in is counted).
    virtual qint64 samplesOut() const { return -1; }
    // The text of the last failure.
    virtual QString lastError() const = 0;
};

} // namespace kelbrin
