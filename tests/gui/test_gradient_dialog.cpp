#include "common/gradients.h"
#include "common/helpers.h"
#include "common/modal_answerer.h"
#include "gui/colour_picker.h"
#include "gui/colour_swatch.h"
#include "gui/gradient_dialog.h"
#include "gui/gradient_editor.h"
#include "gui/gradient_picker.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

using TestUtil::gradientAt;
using TestUtil::makeGradient;

namespace {

const QColor red(255, 0, 0), blue(0, 0, 255);

// One library per test program, over temporary folders; every test starts with it emptied.
class GradientDialogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { userFolder = TestUtil::startScratchGradientLibrary(); }

    void SetUp() override
    {
        library->removeRows(0, library->rowCount());
        library->save();
        builtIn = library->addGradient(makeGradient("Sky", {{0.0, red}, {1.0, blue}}),
                                       GradientLibrary::BuiltInGradient, "", "");
        user = library->addGradient(makeGradient("Mine", {{0.0, red}, {1.0, blue}}),
                                    GradientLibrary::UserGradient, "", "");
        swatch.setActive();
        dialog = std::make_unique<GradientDialog>();
        dialog->resize(500, 500);
        dialog->show();
    }

    QPushButton* button(const QString& text) const
    {
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
    void click(const QString& text) { QTest::mouseClick(button(text), Qt::LeftButton); }
    QListView* list() const { return dialog->findChild<QListView*>(); }
    GradientEditor* editor() const { return dialog->findChild<GradientEditor*>(); }
    QUndoStack* undoStack() const { return dialog->findChild<QUndoStack*>(); }
    bool onEditPage() const { return dialog->findChild<QStackedWidget*>()->currentIndex() == 1; }
    void select(const QList<QModelIndex>& rows)
    {
        list()->selectionModel()->clearSelection();
        for (const QModelIndex& row : rows)
            list()->selectionModel()->select(row, QItemSelectionModel::Select);
    }
    QStringList names() const { return TestUtil::rowTexts(library); }
    QByteArray userFile() const
    {
        QFile file(QDir(userFolder).filePath("user.xml"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void pressStop(double position)
    {
        GradientEditor* e = editor();
        const QPoint point(int((e->width() - 20) * position + 10), 10);
        QMouseEvent press(QEvent::MouseButtonPress, point, e->mapToGlobal(point), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, point, e->mapToGlobal(point),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(e, &release);
    }

    static QString userFolder;
    GradientLibrary* library = GradientLibrary::instance();
    QModelIndex builtIn, user;
    ColourSwatch swatch;
    std::unique_ptr<GradientDialog> dialog;
};

QString GradientDialogTest::userFolder;

} // namespace

TEST_F(GradientDialogTest, ButtonsFollowTheSelection)
{
    QSignalSpy selected(dialog.get(), &GradientDialog::gradientSelected);
    const struct
    {
        QList<QModelIndex> rows;
        bool copy, remove, edit;
    } cases[] = {
        {{}, false, false, false},
        {{builtIn}, true, false, false},
        {{user}, true, true, true},
        {{builtIn, user}, false, false, false},
    };
    for (const auto& c : cases) {
        select({user});
        select(c.rows);
        EXPECT_EQ(button("Copy")->isEnabled(), c.copy) << c.rows.size();
        EXPECT_EQ(button("Delete")->isEnabled(), c.remove);
        EXPECT_EQ(button("Edit")->isEnabled(), c.edit);
        EXPECT_EQ(selected.last()[0].value<QModelIndex>(),
                  c.rows.size() == 1 ? c.rows.first() : QModelIndex());
    }

    select({builtIn});
    selected.clear();
    click("Copy");
    EXPECT_EQ(names(), (QStringList{"Sky", "Mine", "Copy of Sky"}));
    ASSERT_FALSE(selected.isEmpty());
    EXPECT_EQ(selected.last()[0].value<QModelIndex>(), library->index(2, 0));
    EXPECT_FALSE(onEditPage());
    select({user, library->index(2, 0)});
    click("Delete");
    EXPECT_EQ(names(), QStringList{"Sky"});
}

TEST_F(GradientDialogTest, NewOpensTheEditPageAndCancelTakesItBack)
{
    click("New");
    EXPECT_TRUE(onEditPage());
    EXPECT_EQ(dialog->findChild<QLineEdit*>()->text(), QLatin1String("New Gradient"));
    EXPECT_TRUE(button("Save")->isEnabled());
    EXPECT_EQ(names().size(), 3);
    click("Cancel");
    EXPECT_FALSE(onEditPage());
    EXPECT_EQ(names(), (QStringList{"Sky", "Mine"}));
}

TEST_F(GradientDialogTest, SaveStoresTheEditAndEmitsTheItem)
{
    select({user});
    click("Edit");
    EXPECT_FALSE(button("Save")->isEnabled());
    dialog->findChild<QLineEdit*>()->setText("Mine reversed");
    click("Reverse");
    EXPECT_EQ(undoStack()->count(), 1);
    QSignalSpy selected(dialog.get(), &GradientDialog::gradientSelected);
    click("Save");
    EXPECT_FALSE(onEditPage());
    ASSERT_FALSE(selected.isEmpty());
    EXPECT_EQ(selected.last()[0].value<QModelIndex>(), user);
    EXPECT_EQ(gradientAt(user), makeGradient("Mine reversed", {{0.0, blue}, {1.0, red}}));

    // Hiding the dialog writes the user's pack.
    click("Close");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(userFile().contains("Mine reversed"));
}

TEST_F(GradientDialogTest, ClosingWithChangesAsksAndCancelKeepsTheEdit)
{
    select({user});
    click("Edit");
    click("Reverse");
    TestUtil::ModalAnswerer answers;
    answers.messageBox(QMessageBox::Cancel);
    dialog->close();
    EXPECT_EQ(answers.pending(), 0);
    ASSERT_EQ(answers.answered().size(), 1);
    EXPECT_EQ(answers.answered()[0].title, QLatin1String("Gradient modified"));
    EXPECT_EQ(answers.answered()[0].text, QLatin1String("Gradient is modified. Save changes?"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(onEditPage());
    EXPECT_EQ(undoStack()->count(), 1);

    answers.messageBox(QMessageBox::Yes);
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(gradientAt(user).stops(), (GradientStops{{0.0, blue}, {1.0, red}}));
    EXPECT_TRUE(userFile().contains("Mine"));
}

// Escape on the edit page used to skip the question and still save the library, keeping a new
// gradient that was neither saved nor cancelled.
TEST_F(GradientDialogTest, EscapeOnTheEditPageAsksAsClosingDoes)
{
    click("New");
    TestUtil::ModalAnswerer answers;
    answers.messageBox(QMessageBox::Cancel).messageBox(QMessageBox::No);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(answers.pending(), 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(onEditPage());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(answers.pending(), 0);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(names(), (QStringList{"Sky", "Mine"}));
    EXPECT_FALSE(userFile().contains("New Gradient"));
}

TEST_F(GradientDialogTest, ThePickerFollowsTheSelectedStops)
{
    select({user});
    click("Edit");
    auto* picker = dialog->findChild<ColourPicker*>();
    auto* row = dialog->findChild<ColourSwatchWidget*>();
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(picker->isHidden());
    pressStop(0.0);
    EXPECT_FALSE(picker->isHidden());
    EXPECT_FALSE(row->isHidden());
    EXPECT_EQ(picker->colour(), red);

    auto* green = picker->findChild<ColourSpinBox*>("spinG");
    green->setValue(255);
    green->emitColour();
    EXPECT_EQ(editor()->gradientStops().first(), qMakePair(0.0, QColor(255, 255, 0)));
    pressStop(1.0);
    EXPECT_EQ(picker->colour(), blue);
    EXPECT_EQ(swatch.colours().front(), QColor(255, 255, 0));

    editor()->selectStop(editor()->stops().inDrawingOrder().back().id, true, false);
    EXPECT_TRUE(picker->isHidden()); // two stops of different colours
    EXPECT_TRUE(row->isHidden());
}

TEST_F(GradientDialogTest, PickerTellsApartGradientsOfOneName)
{
    const Gradient first = makeGradient("Twin", {{0.0, red}, {1.0, QColor(Qt::green)}});
    const Gradient second = makeGradient("Twin", {{0.0, red}, {0.5, blue}});
    library->addGradient(first, GradientLibrary::UserGradient, "", "");
    const QModelIndex secondRow =
        library->addGradient(second, GradientLibrary::UserGradient, "", "");
    GradientPicker picker;
    picker.setGradient(second);
    EXPECT_EQ(picker.currentIndex(), secondRow.row());
    EXPECT_EQ(picker.gradient(), second);
    picker.setGradient(Gradient());
    EXPECT_EQ(picker.currentIndex(), -1);
    EXPECT_TRUE(picker.gradient().isNull());
}
