// Progress of a long command on standard error: a bar redrawn in place on a terminal, one plain
// line per step otherwise (logs, pipes, CI).
#pragma once

#include <ostream>
#include <string>

namespace plotara::apps {

class Progress {
public:
    // total steps; terminal chooses the bar.
    Progress(std::ostream& out, int total, bool terminal);
    // Reports that a step starts; the label names it.
    void step(const std::string& label);
    // Ends the bar with a line break (a terminal only).
    void finish();

private:
    std::ostream& out_;
    int total_;
    int done_ = 0;
    bool terminal_;
};

} // namespace plotara::apps
