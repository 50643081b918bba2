#include "cli/hexfiles.h"

#include "buffer/hexload.h"
#include "buffer/hexwriter.h"
#include "buffer/safefile.h"
#include "host/exitcode.h"

namespace qm::cli {

int loadhex(Session& session, const std::string& path) {
    int32_t loadedwords = 0;
    // The path goes whole as the file name: the command line has no "Last Path" folder.
    const HexLoadResult loaded =
        loadhexfile(session.host, session.progbuffer, session.activemodel, loadedwords, "", path);
    return loaded.ok ? kExitOk : kExitHex;
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
