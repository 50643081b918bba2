#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace qm::cli {

// One line on standard error that follows the progress texts of the memory instructions
// ("F:12/1024", "E:3/128", "CONF1:", "CONF2:"). It is redrawn in place only when what it shows
// changes by a whole percent, so thousands of progress texts cost about a hundred writes. A
// disabled bar (not a terminal, or --quiet) swallows them all.
class ProgressBar {
  public:
    ProgressBar(std::ostream& out, bool enabled, int width = 40);

    // Whether the status text is one of the progress texts.
    static bool isprogress(std::string_view text);

    // Shows a progress text; texts that are not progress texts are ignored.
    void update(std::string_view text);
    // Removes the bar from the line, so that ordinary output can follow.
    void clear();

    bool enabled() const { return enabled_; }
    int writes() const { return writes_; }

  private:
    void draw(const std::string& line);

    std::ostream& out_;
    bool enabled_;
    int width_;
    std::string label_;
    int percent_ = -1;
    size_t shown_ = 0;  // length of the line on the screen, 0 when none
    int writes_ = 0;
};

}  // namespace qm::cli
