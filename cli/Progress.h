#pragma once
// Progress of a long run on stderr: a bar redrawn in place on a terminal (done, rate, time
// left), plain lines at every tenth otherwise, so that logs stay readable.

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>

namespace ribbon::cli {

class Progress {
  public:
    Progress(std::ostream& Out, bool Terminal, std::size_t Total, std::string Unit);

    // For a run whose size is known only once it is under way: set before the first Update.
    void SetTotal(std::size_t Total) { total_ = Total; }

    // Reports Done items; on a terminal at most ten times a second.
    void Update(std::size_t Done);
    // Ends the bar's line (a terminal) and returns the seconds since the start.
    double Finish(std::size_t Done);

  private:
    double Seconds() const;
    std::string Line(std::size_t Done) const;

    std::ostream& out_;
    bool terminal_;
    std::size_t total_;
    std::string unit_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    double lastDraw_ = -1;
    std::size_t lastTenth_ = 0;
    std::size_t lastWidth_ = 0;
};

}  // namespace ribbon::cli
