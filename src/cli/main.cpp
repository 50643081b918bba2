// quellmark-cli: parses nothing itself; hands the arguments to the front end.
#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/run.h"

int main(int argc, char** argv) {
    // The application folder (where the device file is looked for) needs the application.
    QCoreApplication app(argc, argv);

    std::vector<std::string> args(argv + 1, argv + argc);
    return qm::cli::runcli(args, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
