#include "gui/app/helptexts.h"

#include <QStringList>

#include "text/licence.h"

namespace qm::gui {

namespace {

const char* const kAuthor = "Quellmark developers";
const char* const kRights = "Copyright (C) 2026 Quellmark developers";
// Without a scheme: the message box would wrap the address after "https://".
const char* const kWebAddress = "www.quellmark.org";
const char* const kBugAddress = "bugs@quellmark.org";

QString crlflines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace

QString pinouttext() {
    return crlflines({
        "Serial Port Pinout:",
        "",
        "Pin\tSignal\tDirection",
        "1\tDCD\tInput",
        "2\tRD\tInput",
        "3\tTD\tOutput",
        "4\tDTR\tOutput",
        "5\tGND\t-",
        "6\tDSR\tInput",
        "7\tRTS\tOutput",
        "8\tCTS\tInput",
        "9\tRI\tInput",
        "",
        "Directions are defined from the viewpoint of the PC.",
    });
}

QString abouttext(const QString& title, const QString& version, const QString& qtversion) {
    return crlflines({
        title,
        QString("Author: ") + kAuthor,
        kRights,
        "",
        "This software is supplied as is in goodwill that it will "
        "successfully serve its purpose, but without any warranties.",
        QString("This is free software add-on for Fenwright available on ") + kWebAddress,
        "",
        "Send bug reports and suggestions to:",
        kBugAddress,
        "",
        "Version " + version + ", Qt " + qtversion,
        kLicenceLine,
    });
}

}  // namespace qm::gui
