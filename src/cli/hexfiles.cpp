#include "cli/hexfiles.h"

#include "buffer/hexload.h"
#include "buffer/hexwriter.h"
#include "buffer/safefile.h"
#include "host/exitcode.h"

namespace qm::cli {

namespace {

HexLoadResult load(Session& session, const std::string& path) {
    int32_t loadedwords = 0;
    // The path goes whole as the file name: the command line has no "Last Path" folder.
    return loadhexfile(session.host, session.progbuffer, session.activemodel, loadedwords, "",
                       path);
}

}  // namespace

int loadhex(Session& session, const std::string& path) {
    return load(session, path).ok ? kExitOk : kExitHex;
}

int loadhexforchip(Session& session, const std::string& path) {
    const HexLoadResult loaded = load(session, path);
    if (!loaded.ok) return kExitHex;
    const std::string& model = session.activemodel.modelname;
    if (!loaded.read.outofrange.empty() && !session.options.ignorerange) {
        session.host.printerror("quellmark-cli: " + path + " has data outside the " + model +
                                " (listed above): it may be made for another chip. The chip "
                                "was not touched; --ignore-range uses the data that fit.");
        return kExitHex;
    }
    if (loaded.read.placedwords == 0) {
        session.host.printerror("quellmark-cli: " + path + " holds no data for the " + model +
                                ". The chip was not touched.");
        return kExitHex;
    }
    return kExitOk;
}

int savehex(Session& session, const std::string& path) {
    const std::string text = hexfiletext(session.progbuffer, session.activemodel.config2used);
    const SafeWriteResult written = writefilesafely(path, text);
    if (!written.ok) {
        session.host.printerror(written.reason);
        session.host.setstatus(kStatusNotSaved);
        return kExitHex;
    }
    session.host.setstatus(kStatusSaved);
    return kExitOk;
}

}  // namespace qm::cli
