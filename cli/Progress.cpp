#include "cli/Progress.h"

#include <cstdio>

namespace ribbon::cli {

namespace {

std::string Duration(double seconds) {
    const long s = static_cast<long>(seconds + 0.5);
    char text[32];
    if (s >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

}  // namespace

Progress::Progress(std::ostream& Out, bool Terminal, std::size_t Total, std::string Unit)
    : out_(Out), terminal_(Terminal), total_(Total), unit_(std::move(Unit)) {}

double Progress::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

std::string Progress::Line(std::size_t Done) const {
    const double seconds = Seconds();
    const double rate = seconds > 0 ? static_cast<double>(Done) / seconds : 0;
    const int percent = total_ ? static_cast<int>(Done * 100 / total_) : 100;
    char text[160];
    std::snprintf(text, sizeof text, "%zu/%zu %3d%%  %.0f %s/s  %s left", Done, total_, percent,
                  rate, unit_.c_str(),
                  rate > 0 ? Duration(static_cast<double>(total_ - Done) / rate).c_str() : "-");
    return text;
}

void Progress::Update(std::size_t Done) {
    if (terminal_) {
        const double now = Seconds();
        if (now - lastDraw_ < 0.1 && Done < total_) return;
        lastDraw_ = now;
        constexpr std::size_t barWidth = 30;
        const std::size_t filled = total_ ? Done * barWidth / total_ : barWidth;
        std::string line = "\r[" + std::string(filled, '#') + std::string(barWidth - filled, '.') +
                           "] " + Line(Done);
        const std::size_t width = line.size();
        if (width < lastWidth_) line += std::string(lastWidth_ - width, ' ');
        lastWidth_ = width;
        out_ << line << std::flush;
        return;
    }
    const std::size_t tenth = total_ ? Done * 10 / total_ : 10;
    if (tenth <= lastTenth_ || Done == 0) return;
    lastTenth_ = tenth;
    out_ << unit_ << ": " << Line(Done) << '\n' << std::flush;
}

double Progress::Finish(std::size_t Done) {
    Update(Done);
    if (terminal_ && lastDraw_ >= 0) out_ << '\n' << std::flush;
    return Seconds();
}

}  // namespace ribbon::cli
