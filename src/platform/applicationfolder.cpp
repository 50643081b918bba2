#include "platform/applicationfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

namespace qm {

std::string applicationfolder() {
    QString folder = QCoreApplication::instance() != nullptr
                         ? QCoreApplication::applicationDirPath()
                         : QDir::currentPath();
    folder = QDir::fromNativeSeparators(folder);
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder.toUtf8().toStdString();
}

}  // namespace qm
