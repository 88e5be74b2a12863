#pragma once
// What rewriting a source file's tag needs of the players. Before the tag
// editor writes, every unlocked track that holds a playback graph has it
// stopped and released, whatever file it plays; the sequence player's pause
// state is cleared and its repeat mode switched off. The players build their
// graphs again on the next play.
//
// The playback subsystem installs its implementation; until it does, the
// program has no graphs to release and the default does nothing.

#include <memory>

namespace kelbrin {

class PlayerGraphs {
public:
    virtual ~PlayerGraphs() = default;
    virtual void ReleaseGraphsBeforeTagWrite() = 0;
};

// The implementation in force.
PlayerGraphs& Players();
// Installs one (null puts the default back); returns the previous one.
std::unique_ptr<PlayerGraphs> SetPlayers(std::unique_ptr<PlayerGraphs> players);

} // namespace kelbrin
