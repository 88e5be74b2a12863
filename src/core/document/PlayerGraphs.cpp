#include "PlayerGraphs.h"

namespace kelbrin {

namespace {
class NoPlayers final : public PlayerGraphs {
public:
    void ReleaseGraphsBeforeTagWrite() override {}
};

std::unique_ptr<PlayerGraphs>& installed() {
    static std::unique_ptr<PlayerGraphs> players;
    return players;
}
} // namespace

PlayerGraphs& Players() {
    static NoPlayers none;
    return installed() ? *installed() : static_cast<PlayerGraphs&>(none);
}

std::unique_ptr<PlayerGraphs> SetPlayers(std::unique_ptr<PlayerGraphs> players) {
    std::unique_ptr<PlayerGraphs> previous = std::move(installed());
    installed() = std::move(players);
    return previous;
}

} // namespace kelbrin
