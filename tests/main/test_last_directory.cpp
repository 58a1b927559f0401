#include "common/isolated_settings.h"
#include "main/last_directory.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Velmora::lastDirectory;

TEST(LastDirectory, StartsWhereTheStoredPathSays)
{
    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder;
    const QString file = folder.filePath("last.qvp");
    QFile(file).open(QIODevice::WriteOnly);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

    // Nothing stored: the documents folder, for either flag.
    EXPECT_EQ(lastDirectory("File/LastFile", true), documents);
    EXPECT_EQ(lastDirectory("File/LastFile", false), documents);

    struct Case
    {
        QString stored;
        bool toFolder;
        QString expected;
    } const cases[] = {
        {file, true, folder.path()},          // a file: its folder
        {file, false, file},                  // an open dialog starts on the file itself
        {folder.path(), true, folder.path()}, // a folder: itself
        {folder.filePath("gone/x.qvt"), true, folder.filePath("gone")}, // a vanished file
    };
    for (const Case& c : cases) {
        QSettings().setValue("File/LastTheme", c.stored);
        EXPECT_EQ(QDir::cleanPath(lastDirectory("File/LastTheme", c.toFolder)),
                  QDir::cleanPath(c.expected))
            << c.stored.toStdString() << " " << c.toFolder;
    }
}
