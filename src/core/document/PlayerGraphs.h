#pragma once
// What rewriting a source file's tag needs of the players. Before the tag
// editor writes, every unlocked track that holds a playback graph has it
// stopped and released, whatever file it plays; the sequence player's pause
// state is cleared and its repeat mode switched off. The players build their
// graphs again on the next play.
//
// The main window's player owns the implementation and hands it to the tag
// editor.

namespace kelbrin {

class PlayerGraphs {
public:
    virtual ~PlayerGraphs() = default;
    virtual void ReleaseGraphsBeforeTagWrite() = 0;
};

} // namespace kelbrin
