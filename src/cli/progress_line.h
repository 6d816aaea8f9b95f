#pragma once

#include <cstddef>
#include <ostream>

namespace cli {

// A "done/total" count kept in one line of a terminal and rewritten in
// place; only for runs long enough to need it.
class ProgressLine {
public:
    // Runs of up to this many files end too soon to need a count.
    static constexpr std::size_t kQuietUpTo = 300;

    // A terminal that is not one gets no progress at all.
    ProgressLine(std::ostream& out, bool isTerminal);

    void start(std::size_t total);
    void update(std::size_t done);
    // Erases the line, e.g. so a message can be printed; the next update
    // draws it again.
    void hide();
    void finish();

private:
    std::ostream& out_;
    bool isTerminal_;
    bool active_ = false;
    std::size_t total_ = 0;
    std::size_t shownWidth_ = 0;
};

}  // namespace cli
