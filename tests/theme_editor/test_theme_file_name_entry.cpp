#include "common/helpers.h"
#include "common/isolated_settings.h"
#include "common/modal_answerer.h"
#include "core/stored_settings.h"
#include "widgets/theme_editor/theme_file_name_entry.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ThemeFileNameEntryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid() && folder.isValid());
        QSettings().setValue("File/LastTheme", folder.filePath("last.qvt"));
    }

    void TearDown() override { ThemeFileNameEntry::setSaveFileDialog({}); }

    QLineEdit* nameEdit() { return entry.findChild<QLineEdit*>("nameEdit"); }
    QLineEdit* pathEdit() { return entry.findChild<QLineEdit*>("fileNameEdit"); }

    // Replaces the field's text by typing, as the user would.
    static void retype(QLineEdit* edit, const QString& text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    QString touch(const QString& name)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }

    TestUtil::IsolatedSettings settings;
    QTemporaryDir folder;
    ThemeFileNameEntry entry;
    QSignalSpy nameSpy{&entry, &ThemeFileNameEntry::nameChanged};
    QSignalSpy pathSpy{&entry, &ThemeFileNameEntry::filePathChanged};
};

TEST_F(ThemeFileNameEntryTest, FormHoldsTheTwoRows)
{
    EXPECT_EQ(entry.windowTitle(), "Theme File Name Entry");
    for (const auto& [name, text] : {std::pair{"themeNameLabel", "Name"},
                                     {"fileNameLabel", "File name"},
                                     {"fileBrowseButton", "Browse..."}})
        EXPECT_EQ(entry.findChild<QWidget*>(name)->property("text").toString(), text) << name;
}

TEST_F(ThemeFileNameEntryTest, DerivedPathFollowsTheTypedName)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const struct
    {
        bool remembered;
        QString typed;
        QString path;
    } cases[] = {
        {true, "Foo", folder.filePath("Foo.qvt")},
        {true, "Foo.qvt", folder.filePath("Foo.qvt")},     // no second extension
        {true, "Foo.QVT", folder.filePath("Foo.QVT.qvt")}, // extension compared exactly
        {true, "a b.c", folder.filePath("a b.c.qvt")},
        {false, "Foo", documents + "/Foo.qvt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        if (!c.remembered)
            QSettings().remove("File/LastTheme");
        entry.clear();
        QString pathWhenNamed;
        const auto connection = QObject::connect(&entry, &ThemeFileNameEntry::nameChanged,
                                                 [&] { pathWhenNamed = entry.filePath(); });
        nameSpy.clear();
        QTest::keyClicks(nameEdit(), c.typed);
        QObject::disconnect(connection);
        EXPECT_EQ(entry.filePath(), c.path);
        EXPECT_EQ(pathWhenNamed, c.path);
        EXPECT_EQ(nameSpy.count(), c.typed.size());
        EXPECT_EQ(nameSpy.last().value(0).toString(), c.typed);
        EXPECT_EQ(entry.name(), c.typed);
    }

    // Emptying the name empties the derived path and still reports the empty name.
    nameSpy.clear();
    retype(nameEdit(), "");
    EXPECT_EQ(entry.filePath(), "");
    ASSERT_EQ(nameSpy.count(), 1);
    EXPECT_EQ(nameSpy.last().value(0).toString(), "");
    EXPECT_EQ(pathSpy.count(), 0);
}

// Either field refuses, in the same words, a paste holding what a theme file cannot store, and
// takes a pasted line break as the space it shows; a name set as the theme holds it keeps its
// carriage return.
TEST_F(ThemeFileNameEntryTest, PastesAreTakenAsShownOrRefusedSayingWhy)
{
    const QString refusal = "The text was not taken: it holds the character %1, which a theme "
                            "file cannot store.";
    for (QLineEdit* edit : {nameEdit(), pathEdit()}) {
        SCOPED_TRACE(edit->objectName().toStdString());
        for (const auto& [pasted, character] :
             {std::pair{QString("a\x01"), "U+0001"}, {QString(QChar(0xd800)), "U+D800"}}) {
            edit->setText("Day");
            TestUtil::ModalAnswerer answers;
            answers.messageBox(QMessageBox::Ok);
            TestUtil::paste(edit, pasted);
            EXPECT_TRUE(answers.waitUntilAnswered());
            EXPECT_EQ(answers.answered().value(0).text, refusal.arg(character));
            EXPECT_EQ(edit->text(), "Day");
        }
        for (const char* lineBreak : {"\n", "\r", "\r\n", "\u2028"}) {
            edit->setText("Day");
            TestUtil::paste(edit, QString("Night%1Shift").arg(lineBreak));
            EXPECT_EQ(edit->text(), "DayNight Shift") << lineBreak;
        }
    }
    EXPECT_EQ(entry.name(), "DayNight Shift");

    entry.setName("Night\rShift");
    QTest::keyClicks(nameEdit(), "!");
    EXPECT_EQ(entry.name(), "Night\rShift!");
}

TEST_F(ThemeFileNameEntryTest, TypedPathStopsFollowingUntilCleared)
{
    // A path set by the page is not the user's: the name still drives it, and nothing is said.
    entry.setFilePath("/elsewhere/x.qvt");
    EXPECT_EQ(entry.filePath(), "/elsewhere/x.qvt");
    entry.setName("Foo");
    EXPECT_EQ(entry.filePath(), folder.filePath("Foo.qvt"));
    ASSERT_EQ(nameSpy.count(), 1);
    EXPECT_EQ(pathSpy.count(), 0);

    QTest::keyClick(pathEdit(), Qt::Key_Backspace);
    retype(pathEdit(), "");
    EXPECT_EQ(pathSpy.count(), 2);
    EXPECT_EQ(pathSpy.last().value(0).toString(), "");
    retype(nameEdit(), "Bar");
    EXPECT_EQ(entry.filePath(), "");

    entry.clear();
    EXPECT_EQ(entry.name(), "");
    EXPECT_EQ(pathSpy.count(), 2);
    nameSpy.clear();
    entry.setName("Baz");
    EXPECT_EQ(entry.filePath(), folder.filePath("Baz.qvt"));
    EXPECT_EQ(nameSpy.count(), 1);
}

TEST_F(ThemeFileNameEntryTest, BrowseTakesTheChosenPathSilently)
{
    const QString existing = touch("chosen.qvt");
    touch("bare.qvt");
    const struct
    {
        QString startText; // the path field before Browse
        QString chosen;    // the dialog's answer; empty when cancelled
        QString path;      // the path field after Browse
        bool asks;         // confirmOverwrite still asks about the existing file
    } cases[] = {
        {"", "", "", true},
        {"", existing, existing, false},
        {existing, folder.filePath("bare"), folder.filePath("bare.qvt"), true},
        {"", folder.filePath("new.QVT"), folder.filePath("new.QVT.qvt"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        entry.clear();
        entry.setFilePath(c.startText);
        const QString remembered = folder.filePath("last.qvt");
        QSettings().setValue("File/LastTheme", remembered);
        QStringList asked;
        ThemeFileNameEntry::setSaveFileDialog([&](QWidget* parent, const QString& caption,
                                                  const QString& start, const QString& filter) {
            EXPECT_EQ(parent, &entry);
            asked << caption << start << filter;
            return c.chosen;
        });
        pathSpy.clear();
        nameSpy.clear();
        entry.findChild<QPushButton*>("fileBrowseButton")->click();
        EXPECT_EQ(asked, QStringList({"Theme Location",
                                      c.startText.isEmpty() ? folder.path() : c.startText,
                                      "Themes (*.qvt)"}));
        EXPECT_EQ(entry.filePath(), c.path);
        EXPECT_EQ(StoredSettings().value("File/LastTheme").toString(),
                  c.chosen.isEmpty() ? remembered : c.path);
        EXPECT_EQ(pathSpy.count() + nameSpy.count(), 0);

        // A chosen path no longer follows the name; a cancelled dialog changed nothing.
        QTest::keyClicks(nameEdit(), "N");
        EXPECT_EQ(entry.filePath(), c.chosen.isEmpty() ? folder.filePath("N.qvt") : c.path);

        if (!c.chosen.isEmpty()) {
            TestUtil::ModalAnswerer answers;
            answers.messageBox(QMessageBox::No);
            const bool goOn = entry.confirmOverwrite();
            if (c.asks && QFile::exists(c.path)) {
                EXPECT_FALSE(goOn);
                EXPECT_EQ(answers.pending(), 0);
            } else {
                EXPECT_TRUE(goOn);
                EXPECT_EQ(answers.pending(), 1);
            }
            if (!c.asks) {
                // The dialog's confirmation lasts until the user edits the path.
                pathEdit()->end(false);
                QTest::keyClicks(pathEdit(), "x");
                QTest::keyClick(pathEdit(), Qt::Key_Backspace);
                EXPECT_FALSE(entry.confirmOverwrite());
                EXPECT_EQ(answers.pending(), 0);
            }
        }
    }
}

TEST_F(ThemeFileNameEntryTest, ConfirmOverwriteAsksOnlyAboutAnExistingFile)
{
    touch("taken.qvt");
    const struct
    {
        const char* path;
        QMessageBox::StandardButton answer;
        bool asked;
        bool goOn;
    } cases[] = {
        {"free.qvt", QMessageBox::No, false, true},
        {"taken.qvt", QMessageBox::Yes, true, true},
        {"taken.qvt", QMessageBox::No, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        retype(pathEdit(), folder.filePath(c.path));
        TestUtil::ModalAnswerer answers;
        answers.messageBox(c.answer);
        EXPECT_EQ(entry.confirmOverwrite(), c.goOn);
        EXPECT_EQ(answers.pending(), c.asked ? 0 : 1);
        if (c.asked) {
            ASSERT_EQ(answers.answered().size(), 1);
            EXPECT_EQ(answers.answered()[0].className, "QMessageBox");
            EXPECT_EQ(answers.answered()[0].title, "Overwrite Theme");
            EXPECT_EQ(answers.answered()[0].text,
                      "There is already a file called \"taken.qvt\".  Do you want to "
                      "overwrite it?");
        }
        // A refusal keeps the texts.
        EXPECT_EQ(entry.filePath(), folder.filePath(c.path));
    }
}

TEST_F(ThemeFileNameEntryTest, EnsureFileExtensionCompletesTheFolderAndAMissingExtension)
{
    const struct
    {
        QString path;
        QString completed;
    } cases[] = {
        {"/t/a", "/t/a.qvt"},
        {"/t/a.qvt", "/t/a.qvt"},
        {"/t/a.QVT", "/t/a.QVT.qvt"},
        {"/t.d/a", "/t.d/a.qvt"},
        {"", ""}, // nothing to complete: no hidden ".qvt" in the working folder
        // A relative path is taken in the remembered theme folder, not the working folder.
        {"Bare", folder.filePath("Bare.qvt")},
        {"x/../y/Deep.qvt", folder.filePath("y/Deep.qvt")},
    };
    for (const auto& c : cases) {
        entry.setFilePath(c.path);
        entry.ensureFileExtension();
        EXPECT_EQ(entry.filePath(), c.completed) << c.path.toStdString();
    }
    EXPECT_EQ(pathSpy.count() + nameSpy.count(), 0);
}

TEST_F(ThemeFileNameEntryTest, FocusNameSelectsTheNameForRetypingAndTabMovesOn)
{
    entry.setName("Old");
    entry.show();
    entry.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&entry));
    entry.focusName();
    EXPECT_TRUE(nameEdit()->hasFocus());
    EXPECT_EQ(nameEdit()->selectedText(), "Old");
    QTest::keyClicks(nameEdit(), "New");
    EXPECT_EQ(entry.name(), "New");
    EXPECT_EQ(entry.filePath(), folder.filePath("New.qvt"));

    // Tab goes from the name to the path, then to Browse.
    QTest::keyClick(nameEdit(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), pathEdit());
    QTest::keyClick(pathEdit(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), entry.findChild<QWidget*>("fileBrowseButton"));
}

} // namespace

// The entry asks for room for the whole path, as far as half the screen, and the path is always
// its tooltip.
TEST_F(ThemeFileNameEntryTest, PathShowsWholeWhereThereIsRoom)
{
    const QString fits = "/home/user/Themes/Harbour Blue.qvt";
    entry.setFilePath(fits);
    entry.resize(entry.sizeHint());
    entry.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&entry));
    EXPECT_GT(pathEdit()->width(), pathEdit()->fontMetrics().horizontalAdvance(fits));
    EXPECT_EQ(pathEdit()->toolTip(), fits);

    const QString tooLong = "/home/user/" + QString("Themes/").repeated(80) + "Harbour.qvt";
    entry.setFilePath(tooLong);
    EXPECT_EQ(pathEdit()->toolTip(), tooLong);
    EXPECT_LE(entry.sizeHint().width(), entry.screen()->availableGeometry().width() / 2);
}
