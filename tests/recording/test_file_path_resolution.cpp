#include "recording/SF_FilePathToFSSpec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FilePathToFSSpec, ResolvesExistingFilesOnly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("take.mov");
    FSSpec spec{"untouched"};
    EXPECT_NE(SF_FilePathToFSSpec(path, &spec), 0);
    EXPECT_EQ(spec.path, "untouched");

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(SF_FilePathToFSSpec(dir.path() + "/./take.mov", &spec), 0);
    EXPECT_EQ(spec.path, QDir::cleanPath(path));

    EXPECT_NE(SF_FilePathToFSSpec(dir.path(), &spec), 0); // a folder is not a file
    EXPECT_NE(SF_FilePathToFSSpec(QString(), &spec), 0);
}
