#include "common/file_rights.h"
#include "common/helpers.h"
#include "core/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TestUtil;

namespace {

WholeFile::Step killedAt = WholeFile::Step::Made;

void killAtChosenStep(WholeFile::Step step)
{
    if (step == killedAt)
        ::raise(SIGKILL);
}

// Whether the folder's file system makes files without a name.
bool hasUnnamedFiles(const QString& folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY);
    if (descriptor >= 0)
        ::close(descriptor);
    return descriptor >= 0;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                  QDir::NoDotAndDotDot);
}

} // namespace

// A save killed at any of its steps leaves the file as it was, and nothing beside it unless its
// temporary file already had a name; the next save of the file (each killed one, and the last)
// takes away what the one before left, and nothing else: not a name of another form, another
// file's leftover, a link, a folder, a FIFO, a file with a second name or another owner, nor
// one that a live process holds locked (by flock, or by a POSIX record lock).
TEST(WholeFile, WhatKilledSavesLeaveGoesWithTheNextSaveAndNothingElseDoes)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("project.qvp");
    ASSERT_TRUE(writeFile(target, "old"));
    const QString ours = dir.filePath(".project.qvp.velmora-save-");
    ASSERT_TRUE(writeFile(dir.filePath("kept"), "kept"));
    for (const QString& name :
         {ours + "abcdefghijk", ours + "ABCDEFGHIJKL", ours + "abcdefghijkl~",
          dir.filePath(".a.qvp.velmora-save-abcdefghijkl"), dir.filePath("project.qvp.tmp"),
          ours + "heldbyaliveo", ours + "heldbyrecord"})
        ASSERT_TRUE(writeFile(name, "not ours"));
    ASSERT_TRUE(QFile::link(dir.filePath("kept"), ours + "linktokeptxx"));
    ASSERT_TRUE(QDir().mkpath(ours + "afolderxxxxx"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(ours + "afifoxxxxxxx").constData(), 0600), 0);
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("kept")).constData(),
                     QFile::encodeName(ours + "secondnamexx").constData()),
              0);
    if (::geteuid() == 0) {
        ASSERT_TRUE(writeFile(ours + "anotheruserx", "not ours"));
        ASSERT_EQ(::chown(QFile::encodeName(ours + "anotheruserx").constData(), 65534, 65534), 0);
    }
    const int live = ::open(QFile::encodeName(ours + "heldbyaliveo").constData(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    const int recorded = ::open(QFile::encodeName(ours + "heldbyrecord").constData(), O_RDWR);
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(recorded, F_SETLK, &range), 0);
    const QStringList before = entriesOf(dir.path());

    const bool unnamed = hasUnnamedFiles(dir.path());
    for (const bool namedOnly : {false, true}) {
        for (const WholeFile::Step step : {WholeFile::Step::Made, WholeFile::Step::Written,
                                           WholeFile::Step::Synced, WholeFile::Step::Named}) {
            SCOPED_TRACE(testing::Message() << namedOnly << " " << int(step));
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                killedAt = step;
                WholeFile::setStepHook(killAtChosenStep, namedOnly);
                WholeFile::write(target, QByteArray(1 << 20, 'n'));
                ::_exit(0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
            EXPECT_EQ(readFile(target), "old");
            const bool leftOne = namedOnly || !unnamed || step == WholeFile::Step::Named;
            EXPECT_EQ(entriesOf(dir.path()).size(), before.size() + leftOne);
        }
    }
    ASSERT_TRUE(WholeFile::write(target, "new"));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(entriesOf(dir.path()), before);
    EXPECT_EQ(readFile(ours + "heldbyaliveo"), "not ours");
    ::close(live);
    ::close(recorded);

    // A name so long that a temporary name of the same form would not fit is shortened.
    const QString longName = dir.filePath(QString(250, 'x'));
    EXPECT_TRUE(WholeFile::write(longName, "long"));
    EXPECT_EQ(readFile(longName), "long");
    EXPECT_EQ(entriesOf(dir.path()).size(), before.size() + 1);
}

// Two processes saving one file again and again, each save starting while the other's may be at
// any step: no save fails, with unnamed temporary files or named ones, and nothing is left.
TEST(WholeFile, TwoProcessesSavingOneFileNeverFail)
{
    QTemporaryDir dir;
    for (const bool namedOnly : {false, true}) {
        pid_t children[2];
        for (pid_t& child : children) {
            if ((child = ::fork()) != 0)
                continue;
            WholeFile::setStepHook(nullptr, namedOnly);
            int failures = 0;
            for (int i = 0; i < 150; ++i)
                failures += !WholeFile::write(dir.filePath("project.qvp"), "saved");
            ::_exit(std::min(failures, 100));
        }
        for (const pid_t child : children) {
            int status = -1;
            EXPECT_TRUE(child > 0 && ::waitpid(child, &status, 0) == child && status == 0)
                << namedOnly << " " << status;
        }
        EXPECT_EQ(entriesOf(dir.path()), QStringList{"project.qvp"});
    }
}

// A save that fails says why, in a child process that meets permissions as their owner does
// (root too): a folder that takes no new file beside a file that may be written; a sticky folder
// where another user's file, open to all, may be written but not replaced. The file stays as it
// was, alone in its folder. (A full device is named by the tests of each writer.)
TEST(WholeFile, FailedSavesSayWhy)
{
    QTemporaryDir dir;
    const auto folderWith = [&](const char* name, mode_t mode, uid_t owner) {
        const QByteArray folder = QFile::encodeName(dir.filePath(name)), file = folder + "/f";
        EXPECT_TRUE(::mkdir(folder, 0755) == 0 && writeFile(file, "old") &&
                    ::chmod(file, 0666) == 0);
        EXPECT_TRUE(owner == ::geteuid() ||
                    (::chown(file, owner, owner) == 0 && ::chown(folder, owner, owner) == 0));
        EXPECT_EQ(::chmod(folder, mode), 0);
        return QString(folder);
    };
    const std::pair<QString, const char*> cases[] = {
        {folderWith("closed", 0555, ::geteuid()),
         "The folder does not allow a new file beside this one"},
        // A folder of another user needs root to make.
        {::geteuid() == 0 ? folderWith("sticky", 01777, 65534) : QString(),
         "The file belongs to another user, in a folder where only its owner may replace it"},
    };
    for (const auto& [folder, reason] : cases) {
        const QString file = folder + "/f";
        const auto save = [&file] {
            QString error;
            const bool written =
                !TestUtil::dropFileRights() || WholeFile::write(file, "new", &error);
            std::fprintf(stderr, "error: %s\n", qPrintable(error));
            ::_exit(written || readFile(file) != "old" ||
                    entriesOf(QFileInfo(file).path()).size() != 1);
        };
        if (!folder.isEmpty()) {
            EXPECT_EXIT(save(), ::testing::ExitedWithCode(0),
                        "error: " + TestUtil::regexEscaped(reason) + "\n");
        }
    }
    ::chmod(QFile::encodeName(dir.filePath("closed")).constData(), 0755);
}

// A save on a file system mounted read-only names that cause, over a file as beside one, in a
// child process with a mount namespace of its own, where a small file system holding one file is
// mounted read-only on a temporary folder. Where no file system may be mounted, nothing is
// tested.
TEST(WholeFile, SavesOnAReadOnlyFileSystemSaySo)
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    const auto mountReadOnly = [&folder] {
        return ::unshare(CLONE_NEWNS) == 0 &&
               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
               ::mount("velmora", folder, "tmpfs", 0, "size=64k") == 0 &&
               writeFile(folder + "/f", "old") &&
               ::mount(nullptr, folder, nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    };
    const pid_t probe = ::fork();
    ASSERT_GE(probe, 0);
    if (probe == 0)
        ::_exit(mountReadOnly() ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(probe, &status, 0), probe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        GTEST_SKIP() << "no file system may be mounted here";

    const std::pair<const char*, const char*> cases[] = {
        {"f", "Read-only file system"}, {"g", "The folder is on a read-only file system"}};
    for (const auto& [name, reason] : cases) {
        const QString file = dir.filePath(name);
        const auto save = [&] {
            QString error;
            const bool refused = mountReadOnly() && !WholeFile::write(file, "new", &error);
            std::fprintf(stderr, "error: %s\n", qPrintable(error));
            ::_exit(refused ? 0 : 1);
        };
        EXPECT_EXIT(save(), ::testing::ExitedWithCode(0),
                    "error: " + TestUtil::regexEscaped(reason) + "\n");
    }
}
