#pragma once

#include "cli/session.h"

namespace qm::cli {

// One function per command; each returns the process exit code.
int runmodels(Session& session);
int runports(Session& session);
int runshow(Session& session);
int runconvert(Session& session);
// config: the named fields of the model's configuration words and their settings.
int runconfig(Session& session);
// program, verify, read, erase, blank, identify.
int runchipcommand(Session& session);

}  // namespace qm::cli
