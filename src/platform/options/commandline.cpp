#include "platform/options/commandline.h"

#include <algorithm>

namespace qm {

namespace {

const OptionRow* findoption(std::string_view arg, unsigned program) {
    for (const OptionRow& row : optiontable()) {
        if ((row.programs & program) == 0) continue;
        if (arg == row.name || (!row.shortname.empty() && arg == row.shortname)) return &row;
    }
    return nullptr;
}

ParsedCommandLine failed(std::string error) {
    ParsedCommandLine parsed;
    parsed.error = std::move(error);
    return parsed;
}

// Appends `text` wrapped to `width` columns, every line after the first indented by `indent`;
// the first continues where `out` stands.
void wrap(std::string& out, std::string_view text, size_t indent, size_t width) {
    size_t column = out.size() - std::min(out.size(), out.rfind('\n') + 1);
    bool first = true;
    while (!text.empty()) {
        const size_t end = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, end);
        text.remove_prefix(std::min(text.size(), end + 1));
        if (!first && column + 1 + word.size() > width) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (!first) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        first = false;
    }
}

}  // namespace

ParsedCommandLine parsecommandline(const std::vector<std::string>& args, unsigned program) {
    ParsedCommandLine parsed;
    bool optionsended = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsended || arg.size() < 2 || arg[0] != '-') {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsended = true;
            continue;
        }
        // "--name=value" and "--name value" are the same.
        std::optional<std::string> inlinevalue;
        if (const size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            inlinevalue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        const OptionRow* row = findoption(arg, program);
        if (row == nullptr) return failed("unknown option " + arg);
        std::string value;
        if (row->value.empty()) {
            if (inlinevalue) return failed("option " + arg + " takes no value");
        } else if (inlinevalue) {
            value = *inlinevalue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        }
        if (std::string error = row->read(*row, value, parsed.options); !error.empty())
            return failed(std::move(error));
    }
    if (parsed.options.help || parsed.options.version) {
        parsed.ok = true;
        return parsed;
    }
    if (std::string error = checkcombination(parsed.options); !error.empty())
        return failed(std::move(error));
    parsed.ok = true;
    return parsed;
}

std::string optionhelp(unsigned program, size_t indent, size_t width) {
    std::string text;
    for (const OptionRow& row : optiontable()) {
        if ((row.programs & program) == 0 || row.help.empty()) continue;
        std::string line = "  ";
        if (!row.shortname.empty()) line += std::string(row.shortname) + ", ";
        line += row.name;
        if (!row.value.empty()) line += " " + std::string(row.value);
        // The help starts in its column, on the next line when the name reaches into it.
        line += line.size() + 2 > indent ? "\n" + std::string(indent, ' ')
                                         : std::string(indent - line.size(), ' ');
        wrap(line, row.help, indent, width);
        text += line + "\n";
    }
    return text;
}

std::string optionsynopsis(unsigned program) {
    std::string text;
    for (const OptionRow& row : optiontable()) {
        if ((row.programs & program) == 0 || row.value.empty() || row.help.empty()) continue;
        if (!text.empty()) text += ' ';
        text += "[" + std::string(row.name) + " " + std::string(row.value) + "]";
    }
    return text;
}

}  // namespace qm
