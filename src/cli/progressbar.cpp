#include "cli/progressbar.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace qm::cli {

namespace {

struct Progress {
    std::string label;
    long long done = 0;
    long long total = 0;  // 0 for the configuration words, which have no count
};

std::optional<long long> number(std::string_view text) {
    long long value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}

std::optional<Progress> parseprogress(std::string_view text) {
    if (text == "CONF1:" || text == "CONF2:") return Progress{std::string(text.substr(0, 5)), 0, 0};
    if (text.size() < 5 || text[1] != ':' || (text[0] != 'F' && text[0] != 'E')) {
        return std::nullopt;
    }
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const auto done = number(text.substr(2, slash - 2));
    const auto total = number(text.substr(slash + 1));
    if (!done || !total) return std::nullopt;
    return Progress{text[0] == 'F' ? "FLASH" : "EEPROM", *done, *total};
}

}  // namespace

ProgressBar::ProgressBar(std::ostream& out, bool enabled, int width)
    : out_(out), enabled_(enabled), width_(std::max(width, 10)) {}

bool ProgressBar::isprogress(std::string_view text) { return parseprogress(text).has_value(); }

void ProgressBar::update(std::string_view text) {
    if (!enabled_) return;
    const auto progress = parseprogress(text);
    if (!progress) return;

    int percent = 100;
    if (progress->total > 0) {
        const long long done = std::clamp(progress->done, 0LL, progress->total);
        percent = static_cast<int>(done * 100 / progress->total);
    }
    if (progress->label == label_ && percent == percent_) return;
    label_ = progress->label;
    percent_ = percent;

    std::string line = label_;
    line.resize(8, ' ');
    if (progress->total > 0) {
        const int filled = percent * width_ / 100;
        line += '[';
        line += std::string(static_cast<size_t>(filled), '#');
        line += std::string(static_cast<size_t>(width_ - filled), '.');
        line += "] ";
        line += std::to_string(percent) + "%  " + std::to_string(progress->done) + "/" +
                std::to_string(progress->total);
    }
    draw(line);
}

void ProgressBar::clear() {
    if (!enabled_ || shown_ == 0) return;
    out_ << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
    ++writes_;
    shown_ = 0;
    label_.clear();
    percent_ = -1;
}

void ProgressBar::draw(const std::string& line) {
    out_ << '\r' << line;
    // Overwrite what is left of a longer previous line.
    if (line.size() < shown_) out_ << std::string(shown_ - line.size(), ' ');
    out_ << std::flush;
    shown_ = std::max(shown_, line.size());
    ++writes_;
}

}  // namespace qm::cli
