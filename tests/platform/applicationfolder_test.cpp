#include "platform/applicationfolder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QString>

namespace qm {
namespace {

TEST(ApplicationFolder, IsTheExecutablesFolderWithATrailingSlash) {
    const std::string folder = applicationfolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    const QString executable = QCoreApplication::applicationFilePath();
    const QFileInfo info(executable);
    EXPECT_EQ(QString::fromStdString(folder), info.absolutePath() + '/');
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder) + info.fileName()));
}

}  // namespace
}  // namespace qm
