#include "core/recent_files.h"

#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "core/stored_settings.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QString prefix = "File/RecentFile";

class RecentFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid());
        ASSERT_TRUE(files.isValid());
    }

    // Makes the file and returns its canonical path.
    QString makeFile(const QString& name)
    {
        const QString path = files.filePath(name);
        EXPECT_TRUE(TestUtil::writeFile(path, "x"));
        return QFileInfo(path).canonicalFilePath();
    }

    // The stored keys 1 to 5, "-" for a missing key.
    static QStringList storedKeys()
    {
        const StoredSettings store;
        QStringList values;
        for (int i = 1; i <= 5; ++i) {
            const QString key = prefix + QString::number(i);
            values << (store.contains(key) ? store.value(key).toString() : QString("-"));
        }
        return values;
    }

    static QStringList listed(const RecentFiles& recent)
    {
        const std::list<QString> paths = recent.files();
        return QStringList(paths.begin(), paths.end());
    }

    static QStringList menuTexts(QMenu* menu)
    {
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        return texts;
    }

    TestUtil::IsolatedSettings settings;
    QTemporaryDir files;
};

} // namespace

TEST_F(RecentFilesTest, SixthFileGoesFirstAndDropsTheOldest)
{
    RecentFiles recent(prefix, 5);
    recent.load();
    QMenu* menu = recent.menu();
    QSignalSpy changed(&recent, &RecentFiles::changed);
    QStringList paths;
    for (int i = 1; i <= 6; ++i) {
        paths.prepend(makeFile(QString("p%1.qvp").arg(i)));
        recent.addFile(paths.front());
    }
    paths.removeLast();

    EXPECT_EQ(changed.count(), 6);
    EXPECT_EQ(listed(recent), paths);
    EXPECT_EQ(storedKeys(), paths);
    EXPECT_EQ(menuTexts(menu), paths);
}

TEST_F(RecentFilesTest, ListedFileMovesToTopUnderAnyPathAndRemovalShiftsTheKeys)
{
    const QString a = makeFile("a.qvp");
    const QString b = makeFile("b.qvp");
    const QString c = makeFile("c.qvp");
    ASSERT_TRUE(QFile::link(a, files.filePath("link.qvp")));
    ASSERT_TRUE(QDir(files.path()).mkdir("sub"));

    RecentFiles recent(prefix, 5);
    recent.load();
    QMenu* menu = recent.menu();
    for (const QString& path : {a, b, c})
        recent.addFile(path);
    QSignalSpy changed(&recent, &RecentFiles::changed);

    recent.addFile(files.filePath("link.qvp"));
    EXPECT_EQ(listed(recent), QStringList({a, c, b}));
    recent.addFile(files.filePath("sub/../c.qvp"));
    EXPECT_EQ(listed(recent), QStringList({c, a, b}));
    recent.addFile(c);
    // A file that does not exist is not listed.
    recent.addFile(files.filePath("missing.qvp"));
    recent.addFile(QString());
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(menuTexts(menu), QStringList({c, a, b}));
    EXPECT_EQ(storedKeys(), QStringList({c, a, b, "-", "-"}));

    recent.removeFile(a);
    EXPECT_EQ(changed.count(), 4);
    EXPECT_EQ(storedKeys(), QStringList({c, b, "-", "-", "-"}));
    EXPECT_EQ(menuTexts(menu), QStringList({c, b}));
    recent.removeFile(files.filePath("never-listed.qvp"));
    recent.removeFile(a);
    EXPECT_EQ(changed.count(), 4);
    // A file that has gone is removed by its listed path.
    ASSERT_TRUE(QFile::remove(b));
    recent.removeFile(b);
    EXPECT_EQ(changed.count(), 5);
    EXPECT_EQ(storedKeys(), QStringList({c, "-", "-", "-", "-"}));
}

TEST_F(RecentFilesTest, LoadSkipsUnusableKeysAndTheNextSaveShiftsThem)
{
    const QString a = makeFile("a.qvp");
    const QString b = makeFile("with, comma.qvp");
    const QString c = makeFile("c.qvp");
    {
        QSettings store;
        store.setValue(prefix + "1", a);
        store.setValue(prefix + "2", files.filePath("deleted.qvp"));
        store.setValue(prefix + "3", QStringList({a, b}));
        store.setValue(prefix + "4", b);
        store.setValue(prefix + "6", c);
    }
    RecentFiles recent(prefix, 5);
    QSignalSpy changed(&recent, &RecentFiles::changed);
    recent.load();

    EXPECT_EQ(listed(recent), QStringList({a, b}));
    EXPECT_EQ(menuTexts(recent.menu()), QStringList({a, b}));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(StoredSettings().value(prefix + "2").toString(), files.filePath("deleted.qvp"));

    recent.addFile(c);
    EXPECT_EQ(storedKeys(), QStringList({c, a, b, "-", "-"}));

    // Loading again replaces the list rather than adding to it.
    recent.load();
    EXPECT_EQ(listed(recent), QStringList({c, a, b}));
}

TEST_F(RecentFilesTest, ChosenEntryGivesItsCanonicalPath)
{
    const QString a = makeFile("a.qvp");
    ASSERT_TRUE(QFile::link(a, files.filePath("link.qvp")));
    RecentFiles recent(prefix, 5);
    recent.load();
    recent.addFile(files.filePath("link.qvp"));
    QSignalSpy triggered(&recent, &RecentFiles::recentFileTriggered);

    QAction* action = recent.menu()->actions().value(0);
    ASSERT_NE(action, nullptr);
    action->trigger();

    ASSERT_EQ(triggered.count(), 1);
    EXPECT_EQ(triggered.at(0).at(0).toString(), a);
    EXPECT_FALSE(action->isChecked());
}
