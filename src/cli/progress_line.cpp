#include "cli/progress_line.h"

#include <string>

namespace cli {

ProgressLine::ProgressLine(std::ostream& out, bool isTerminal) : out_(out), isTerminal_(isTerminal) {}

void ProgressLine::start(std::size_t total)
{
    active_ = isTerminal_ && total > kQuietUpTo;
    total_ = total;
}

void ProgressLine::update(std::size_t done)
{
    if (!active_)
        return;
    const std::string text = std::to_string(done) + "/" + std::to_string(total_);
    out_ << '\r' << text << std::flush;
    shownWidth_ = text.size();
}

void ProgressLine::hide()
{
    if (shownWidth_ == 0)
        return;
    out_ << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
    shownWidth_ = 0;
}

void ProgressLine::finish()
{
    hide();
    active_ = false;
}

}  // namespace cli
