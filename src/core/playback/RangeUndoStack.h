#pragma once
// The track panel's own undo for the eight range fields of the track it
// shows. Records are kept flat, eight values each, above an unused element 0:
// begin minutes, seconds, milliseconds, end minutes, seconds, milliseconds,
// end frame, begin frame. The stack knows nothing of which track a record
// came from; the panel empties it whenever it shows another track.

#include <QList>
#include <cstdint>

namespace kelbrin {

class cPozycjaMP3;

class RangeUndoStack {
public:
    static constexpr int kRecordSize = 8;

    // Back to the single element 0: nothing to undo.
    void Reset();
    // Appends a record of the track's range as it is now.
    void Push(const cPozycjaMP3& track);
    // Writes the last record back into the track and drops it; false (and
    // nothing changed) when the stack is empty.
    bool Pop(cPozycjaMP3& track);

    bool isEmpty() const { return upperBound() == 0; }
    int records() const { return upperBound() / kRecordSize; }
    // The index of the last element (0 when empty).
    int upperBound() const { return static_cast<int>(m_elements.size()) - 1; }
    const QList<std::int32_t>& elements() const { return m_elements; }

private:
    QList<std::int32_t> m_elements{0};
};

} // namespace kelbrin
