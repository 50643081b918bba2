#include "cli/run.h"

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/session.h"
#include "cli/usage.h"
#include "host/exitcode.h"

namespace qm::cli {

int runcli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool erristerminal) {
    ParsedOptions parsed = parseoptions(args);
    if (!parsed.ok) {
        err << "quellmark-cli: " << parsed.error << "\n" << usagehint();
        return kExitUsage;
    }
    if (parsed.options.help) {
        out << usagetext();
        return kExitOk;
    }
    if (parsed.options.version) {
        out << versiontext();
        return kExitOk;
    }

    Session session(std::move(parsed.options), out, err, erristerminal);
    if (const int code = session.checksettings(); code != kExitOk) return code;
    const std::string& command = session.options.command;
    int code = kExitUsage;
    if (command == "models") {
        code = runmodels(session);
    } else if (command == "ports") {
        code = runports(session);
    } else if (command == "show") {
        code = runshow(session);
    } else if (command == "convert") {
        code = runconvert(session);
    } else if (command == "config") {
        code = runconfig(session);
    } else {
        code = runchipcommand(session);
    }
    session.bar.clear();
    session.reportsettingsfailure();
    out.flush();
    err.flush();
    return code;
}

}  // namespace qm::cli
