#pragma once

namespace kelbrin {

// The clipboard and the hold on deletions, which the track commands keep.
class TrackCommandState {
public:
    virtual ~TrackCommandState() = default;
    virtual bool clipboardFull() const = 0; // CpozSchowek exists
    // False while another window holds deletion back (the export dialog
    // lists tracks by position).
    virtual bool deleteAllowed() const = 0;
};

} // namespace kelbrin
