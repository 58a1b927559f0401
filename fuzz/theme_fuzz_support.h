#pragma once

#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/theme.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

// Shared by the theme fuzz targets: a headless application for the splash pictures, and a
// work folder of its own (in memory where the system offers a memory file system, so that the
// bundle writer's flush to disk costs nothing) whose "app_data" sub-folder stands in for the
// application-data folder, so that work folders never reach the user's data.
class ThemeFuzzSupport
{
public:
    ThemeFuzzSupport()
    {
        if (!QCoreApplication::instance()) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "fuzz_theme";
            static char* argv[] = {name, nullptr};
            application = new QGuiApplication(argc, argv);
        }
        if (!work.isValid() || !QDir(work.path()).mkpath("app_data"))
            std::abort();
        TemporaryDirectory::setApplicationDataFolder(appData());
    }

    QString appData() const { return work.filePath("app_data"); }
    QString filePath(const QString& name) const { return work.filePath(name); }

    // Stops the run when anything but the expected entries lies in the work folder, or when
    // anything but this process's (empty) folder lies in the application-data folder once the
    // readers and writers are gone.
    void checkNothingLeftBehind(const QStringList& expected) const
    {
        const QDir::Filters all =
            QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
        QStringList entries = QDir(work.path()).entryList(all);
        entries.removeOne("app_data");
        for (const QString& entry : entries) {
            if (!expected.contains(entry)) {
                std::fprintf(stderr, "written outside the work folders: %s\n", qPrintable(entry));
                std::abort();
            }
        }
        const QString processFolder = TemporaryDirectory::processFolder();
        QStringList left = QDir(appData()).entryList(all);
        left.removeOne(QDir(processFolder).dirName());
        left += QDir(processFolder).entryList(all & ~QDir::Hidden);
        if (!left.isEmpty()) {
            std::fprintf(stderr, "a work folder was left behind: %s\n", qPrintable(left.front()));
            std::abort();
        }
    }

    // Uses what a read leaves in the theme as the editor would: every default skin is looked
    // up (a stale one would be fatal), and the theme is copied.
    static void useTheme(const Velmora::Theme& theme)
    {
        for (int type = 0; type <= 8; ++type)
            theme.getDefaultSkin(Velmora::ThemedItemType(type));
        Velmora::Theme copy(theme);
        (void)copy;
    }

private:
    static QString workTemplate()
    {
        return QDir(QStringLiteral("/dev/shm")).exists()
                   ? QStringLiteral("/dev/shm/velmora_fuzz_XXXXXX")
                   : QDir::tempPath() + QStringLiteral("/velmora_fuzz_XXXXXX");
    }

    QGuiApplication* application = nullptr;
    QTemporaryDir work{workTemplate()};
};
