#include "apps/Progress.h"

#include <algorithm>

namespace plotara::apps {

Progress::Progress(std::ostream& out, int total, bool terminal)
    : out_(out), total_(std::max(total, 1)), terminal_(terminal) {}

void Progress::step(const std::string& label) {
    ++done_;
    const std::string count = std::to_string(done_) + "/" + std::to_string(total_);
    if (!terminal_) {
        out_ << "[" << count << "] " << label << '\n';
        return;
    }
    constexpr int barWidth = 30;
    const int filled = done_ * barWidth / total_;
    std::string line = "\r[" + std::string(filled, '#') + std::string(barWidth - filled, '-') +
                       "] " + count + " " + label.substr(0, 40);
    // Pads over the tail of a longer previous label, then clears to the end of the line.
    out_ << line << "\x1b[K" << std::flush;
}

void Progress::finish() {
    if (terminal_) out_ << '\n' << std::flush;
}

} // namespace plotara::apps
