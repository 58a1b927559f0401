#include "common/process_state.h"

#include "main/vendor_variants.h"
#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/theme_library.h"

#include <QApplication>
#include <QDir>
#include <QNetworkProxy>
#include <QSettings>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QStringList>
#include <QWidget>
#include <unistd.h>

extern char** environ;

namespace TestUtil {

namespace {

// One line per piece of state, so that a difference names what changed.
std::string currentState()
{
    QStringList lines;
    QStringList environment;
    for (char** variable = environ; *variable; ++variable)
        environment << QString::fromLocal8Bit(*variable);
    environment.sort();
    for (const QString& variable : environment)
        lines << "environment: " + variable;
    lines << "working folder: " + QDir::currentPath();
    lines << "application: " + QCoreApplication::organizationName() + " / " +
                 QCoreApplication::organizationDomain() + " / " +
                 QCoreApplication::applicationName();
    lines << QString("standard paths test mode: %1").arg(QStandardPaths::isTestModeEnabled());
    // The settings' folders can only be read back through the file of a settings object.
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            lines << "settings file: " + QSettings(format, scope, "o", "a").fileName();
    lines << "resources: " + resourcesPath();
    lines << "application data: " + TemporaryDirectory::applicationDataFolder();
    const ThemeLibrary* themes = ThemeLibrary::instance();
    lines << QString("theme library: %1 themes, %2 refused, files %3")
                 .arg(themes->model()->rowCount())
                 .arg(themes->refusedThemes().size())
                 .arg(themes->nameFilters().join(' '));
    lines << QString("network proxy: %1").arg(QNetworkProxy::applicationProxy().type());
    for (const QWidget* window : QApplication::topLevelWidgets())
        // A tool tip hides on its own, on a timer of its own.
        if (window->isVisible() && !window->inherits("QTipLabel"))
            lines << QString("window shown: %1 \"%2\"")
                         .arg(window->metaObject()->className(), window->windowTitle());
    return lines.join('\n').toStdString();
}

// The lines of `before` missing from `after` (-) and the other way round (+).
std::string difference(const std::string& before, const std::string& after)
{
    const QStringList old = QString::fromStdString(before).split('\n');
    const QStringList now = QString::fromStdString(after).split('\n');
    QStringList changes;
    for (const QString& line : old)
        if (!now.contains(line))
            changes << "- " + line;
    for (const QString& line : now)
        if (!old.contains(line))
            changes << "+ " + line;
    return changes.join('\n').toStdString();
}

} // namespace

void ProcessStateGuard::OnTestSuiteStart(const ::testing::TestSuite&)
{
    suiteState = currentState();
}

void ProcessStateGuard::OnTestSuiteEnd(const ::testing::TestSuite& suite)
{
    const std::string changes = difference(suiteState, currentState());
    if (!changes.empty())
        ADD_FAILURE() << "the test suite " << suite.name() << " left the process changed:\n"
                      << changes;
}

void ProcessStateGuard::OnTestStart(const ::testing::TestInfo&)
{
    testState = currentState();
}

void ProcessStateGuard::OnTestEnd(const ::testing::TestInfo&)
{
    const std::string changes = difference(testState, currentState());
    if (!changes.empty())
        ADD_FAILURE() << "the test left the process changed:\n" << changes;
}

} // namespace TestUtil
