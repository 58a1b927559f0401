#include "core/preferences.h"

#include "common/file_size_limit.h"
#include "common/helpers.h"
#include "common/isolated_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using TestUtil::IsolatedSettings;

namespace {

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, IsolatedSettings::organisation,
                     IsolatedSettings::application);
}

// Puts the text in place of the settings file, as a previous run would have left it.
bool writeStore(const QByteArray& text)
{
    const QFileInfo file(store().fileName());
    return QDir().mkpath(file.path()) && TestUtil::writeFile(file.filePath(), text);
}

// The editor's four preferences, registered the way the application registers them.
void registerEditorKeys(Preferences& preferences)
{
    preferences.registerKey(0, "NotifyAboutBetaReleases", false);
    preferences.registerKey(1, "MaintainAddControlActions", true);
    preferences.registerKey(2, "ControlKeyStepSize", 1);
    preferences.registerKey(3, "ControlKeyJumpSize", 10);
}

class PreferencesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(settings.isValid()); }

    IsolatedSettings settings;
};

} // namespace

TEST_F(PreferencesTest, StoredValuesWinOverDefaultsAndMissingOnesAreNotWritten)
{
    {
        Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
        registerEditorKeys(preferences);
        EXPECT_EQ(preferences.value(0), QVariant(false));
        EXPECT_EQ(preferences.value(1), QVariant(true));
        EXPECT_EQ(preferences.value(2), QVariant(1));
        EXPECT_EQ(preferences.value(3), QVariant(10));
        EXPECT_TRUE(store().allKeys().isEmpty());
    }
    // Written as text, the way the settings file holds them after a restart.
    ASSERT_TRUE(writeStore("[General]\nControlKeyStepSize=4\nNotifyAboutBetaReleases=true\n"));
    Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
    registerEditorKeys(preferences);
    EXPECT_EQ(preferences.value(2).toInt(), 4);
    EXPECT_TRUE(preferences.value(0).toBool());
    EXPECT_EQ(preferences.value(3), QVariant(10));
}

TEST_F(PreferencesTest, EqualValueSendsNothingAndWritesNothing)
{
    ASSERT_TRUE(writeStore("[General]\nControlKeyStepSize=4\n"));
    Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
    registerEditorKeys(preferences);
    QSignalSpy spy(&preferences, &Preferences::valueChanged);

    preferences.setValue(3, 10);
    preferences.setValue(0, false);
    // The stored text "4" equals the number 4.
    preferences.setValue(2, 4);

    EXPECT_EQ(spy.count(), 0);
    EXPECT_FALSE(store().contains("ControlKeyJumpSize"));
    EXPECT_FALSE(store().contains("NotifyAboutBetaReleases"));
}

TEST_F(PreferencesTest, ChangeIsCachedStoredAndAnnounced)
{
    {
        Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
        registerEditorKeys(preferences);
        QSignalSpy spy(&preferences, &Preferences::valueChanged);

        preferences.setValue(3, 25);
        preferences.setValue(1, false);

        ASSERT_EQ(spy.count(), 2);
        EXPECT_EQ(spy.at(0).at(0).toUInt(), 3u);
        EXPECT_EQ(spy.at(0).at(1), QVariant(25));
        EXPECT_EQ(spy.at(1).at(0).toUInt(), 1u);
        EXPECT_EQ(spy.at(1).at(1), QVariant(false));
        EXPECT_EQ(preferences.value(3), QVariant(25));
        EXPECT_EQ(store().value("ControlKeyJumpSize").toInt(), 25);
    }
    // A later run reads the stored values.
    Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
    registerEditorKeys(preferences);
    EXPECT_EQ(preferences.value(3).toInt(), 25);
    EXPECT_FALSE(preferences.value(1).toBool());
}

TEST_F(PreferencesTest, UnknownIdHasInvalidValueAndRegistrationReplacesName)
{
    Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
    EXPECT_FALSE(preferences.value(7).isValid());

    preferences.registerKey(7, "First", 1);
    preferences.registerKey(7, "Second", 2);
    EXPECT_EQ(preferences.keyName(7), "Second");
    EXPECT_EQ(preferences.value(7), QVariant(2));
    preferences.setValue(7, 3);
    EXPECT_EQ(store().value("Second").toInt(), 3);
    EXPECT_FALSE(store().contains("First"));
}

TEST_F(PreferencesTest, OverriddenStorageIsUsed)
{
    class Doubling : public Preferences
    {
    public:
        using Preferences::Preferences;
        QVariant written;

    protected:
        bool writeValue(unsigned int, const QVariant& value) override
        {
            written = value;
            return true;
        }
        QVariant readValue(unsigned int, const QVariant& defaultValue) override
        {
            return defaultValue.toInt() * 2;
        }
    };
    Doubling preferences(IsolatedSettings::organisation, IsolatedSettings::application);
    preferences.registerKey(2, "ControlKeyStepSize", 3);
    EXPECT_EQ(preferences.value(2), QVariant(6));
    preferences.setValue(2, 8);
    EXPECT_EQ(preferences.written, QVariant(8));
    EXPECT_FALSE(store().contains("ControlKeyStepSize"));
}

TEST(PreferencesDeathTest, UnregisteredIdIsFatal)
{
    const char* message = "Error Assert: 'iKey != keyLookup\\.end\\(\\)' is FALSE at line [0-9]+ "
                          "in file core/preferences ";
    EXPECT_DEATH(
        {
            IsolatedSettings settings;
            Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
            preferences.keyName(4);
        },
        message);
    EXPECT_DEATH(
        {
            IsolatedSettings settings;
            Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
            preferences.setValue(4, 1);
        },
        message);
}

// On a nearly full device the settings file used to be cut short, losing other keys, and the
// change was reported as stored. Both a large store and a large new value are refused whole,
// and the console says why.
TEST_F(PreferencesTest, AFailedWriteIsReportedAndLeavesTheStoreWhole)
{
    const QByteArray large = QByteArray(5000, 'x');
    const struct
    {
        QByteArray store;
        QVariant value;
    } cases[] = {{"[General]\nControlKeyStepSize=4\nPadding=" + large + "\n", 25},
                 {"[General]\nControlKeyStepSize=4\n", QString(large)}};
    for (const auto& c : cases) {
        ASSERT_TRUE(writeStore(c.store));
        Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
        registerEditorKeys(preferences);
        {
            FileSizeLimit full(4096);
            const QStringList warnings =
                TestUtil::warningsDuring([&] { EXPECT_FALSE(preferences.setValue(3, c.value)); });
            EXPECT_EQ(warnings.filter("could not be stored").filter("File too large").size(), 1)
                << warnings.join('\n').toStdString();
        }
        EXPECT_EQ(TestUtil::readFile(store().fileName()), c.store);
        EXPECT_EQ(preferences.value(3), c.value); // in force for this run
        // The next write that succeeds stores the change too.
        EXPECT_TRUE(preferences.setValue(1, false));
        QSettings written = store();
        EXPECT_EQ(written.value("ControlKeyJumpSize"), c.value);
        EXPECT_EQ(written.value("ControlKeyStepSize").toInt(), 4);
        EXPECT_EQ(written.value("MaintainAddControlActions").toBool(), false);
    }
}

// Past the process's file-size limit a write sends SIGXFSZ, which ends the process unless the
// writer holds it off; it used to, leaving its temporary folder behind. The write is made in a
// child process whose signal is left as it comes; it must fail, leaving nothing.
TEST_F(PreferencesTest, AWritePastTheFileSizeLimitFailsAndLeavesNothing)
{
    ASSERT_TRUE(writeStore("[General]\nControlKeyStepSize=4\n"));
    const QByteArray stored = TestUtil::readFile(store().fileName());
    QTemporaryDir temporary;
    const QByteArray previousTemporary = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    Preferences preferences(IsolatedSettings::organisation, IsolatedSettings::application);
    registerEditorKeys(preferences);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{4096, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(preferences.setValue(3, QString(5000, 'y')) ? 1 : 0);
    }
    qputenv("TMPDIR", previousTemporary);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(
        QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList());
    EXPECT_EQ(TestUtil::readFile(store().fileName()), stored);
}
