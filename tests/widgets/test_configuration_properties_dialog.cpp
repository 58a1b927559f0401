#include "common/command_fixture.h"
#include "common/ir_table.h"
#include "common/modal_answerer.h"
#include "common/sample_themes.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"
#include "velmora_objects/theme_library.h"
#include "widgets/configuration_properties_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

using namespace Velmora;

namespace {

class ConfigurationPropertiesDialogTest : public TestUtil::CommandFixture
{
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        hall = create();
        document->getPage(hall).setName("Hall");
    }
    void TearDown() override { ThemeLibrary::instance()->reset(); }

    // Click slot 3 on a button, increment 5 and decrement 9 on a slider.
    void assignSlots()
    {
        button = addControl(hall, ControlType_BUTTON);
        slider = addControl(hall, ControlType_SLIDER);
        giveIRSlot(button, Action_CLICK, 3);
        giveIRSlot(slider, Action_INCREMENT, 5);
        giveIRSlot(slider, Action_DECREMENT, 9);
    }

    void open()
    {
        dialog = std::make_unique<ConfigurationPropertiesDialog>(*document);
        dialog->show();
    }

    template <class T> T* child(const char* name) const
    {
        T* widget = dialog->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    bool okEnabled() const
    {
        return child<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Ok)->isEnabled();
    }

    QStringList irRows() const
    {
        QStringList rows;
        const QAbstractItemModel* model = child<QTableView>("irSlotTable")->model();
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, 0).data().toString() + " | " +
                        model->index(row, 1).data().toString();
        return rows;
    }

    void clickIRCell(int row, int column)
    {
        auto* table = child<QTableView>("irSlotTable");
        const QRect cell = table->visualRect(table->model()->index(row, column));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QString bundle(const QString& name)
    {
        const std::unique_ptr<Theme> theme = TestUtil::emptyTheme(name);
        ThemeFileWriter writer(theme.get(), nullptr);
        EXPECT_TRUE(writer.write(folder.filePath(name + ".qvt")));
        return folder.filePath(name + ".qvt");
    }

    unsigned int hall = 0;
    unsigned int button = 0;
    unsigned int slider = 0;
    std::unique_ptr<ConfigurationPropertiesDialog> dialog;
};

} // namespace

// The stored settings are shown as they are and record nothing; only what the user touches
// is recorded.
TEST_F(ConfigurationPropertiesDialogTest, ShowsStoredSettingsWithoutRecordingThem)
{
    const struct
    {
        QString code;
        int function;
        int timeout;
        bool security;
        QString functionText;
        QString timeoutText;
    } cases[] = {
        {"", ButtonFunction_NONE, 0, false, "", "Never"},
        {"1234", ButtonFunction_BACK, 150000, true, "Back", "2mins"},
        {"123456", ButtonFunction_GO_TO_PAGE, 90000000, true, "Home", "1440mins"},
        {"987", ButtonFunction_LOCK, 60000, true, "", "1mins"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        document->setUnlockCode(c.code);
        document->setUnlockFunction(c.function);
        document->setLockTimeout(c.timeout);
        open();
        EXPECT_EQ(child<QGroupBox>("securityGroupBox")->isChecked(), c.security);
        EXPECT_EQ(child<QLineEdit>("unlockCodeEdit")->text(), c.code);
        EXPECT_EQ(child<QComboBox>("unlockFunctionEdit")->currentText(), c.functionText);
        EXPECT_EQ(child<QSpinBox>("lockTimeoutEdit")->text(), c.timeoutText);
        EXPECT_TRUE(okEnabled());
        EXPECT_FALSE(dialog->editRecord().hasChanges());
        EXPECT_EQ(pushProjectProperties(dialog->editRecord(), *document),
                  ProjectPropertiesResult::NoChanges);
    }
    EXPECT_EQ(document->undoStack().count(), 0);
    EXPECT_EQ(document->getUnlockFunction(), ButtonFunction_LOCK);
    EXPECT_EQ(document->getLockTimeout(), 60000);
}

// Ok stays off while the switched-on lock has fewer than three digits; switching the lock off
// records an empty code, which clears it in one step even when there was none.
TEST_F(ConfigurationPropertiesDialogTest, LockNeedsThreeDigitsAndCanBeSwitchedOff)
{
    open();
    auto* box = child<QGroupBox>("securityGroupBox");
    auto* edit = child<QLineEdit>("unlockCodeEdit");
    box->setChecked(true);
    EXPECT_FALSE(dialog->editRecord().unlockCode.isNull());
    EXPECT_FALSE(okEnabled());
    QTest::keyClicks(edit, "1x2");
    EXPECT_EQ(edit->text(), "12");
    EXPECT_FALSE(okEnabled());
    QTest::keyClicks(edit, "34567");
    EXPECT_EQ(dialog->editRecord().unlockCode, "123456");
    EXPECT_TRUE(okEnabled());

    box->setChecked(false);
    EXPECT_TRUE(okEnabled());
    box->setChecked(true);
    EXPECT_EQ(dialog->editRecord().unlockCode, "123456");
    box->setChecked(false);
    ASSERT_FALSE(dialog->editRecord().unlockCode.isNull());
    EXPECT_TRUE(dialog->editRecord().unlockCode.isEmpty());

    EXPECT_EQ(pushProjectProperties(dialog->editRecord(), *document),
              ProjectPropertiesResult::Pushed);
    EXPECT_EQ(document->undoStack().count(), 1);
    EXPECT_EQ(document->undoStack().text(0), "Set Project Properties");
    EXPECT_TRUE(document->getUnlockCode().isEmpty());
}

// Function and timeout picks become one undo step together with the code.
TEST_F(ConfigurationPropertiesDialogTest, LockSettingsApplyAsOneStep)
{
    document->setUnlockCode("555");
    document->setUnlockFunction(ButtonFunction_GO_TO_PAGE);
    document->setLockTimeout(30000);
    const QByteArray before = bytes();
    open();
    auto* edit = child<QLineEdit>("unlockCodeEdit");
    edit->selectAll();
    QTest::keyClicks(edit, "4321");
    emit child<QComboBox>("unlockFunctionEdit")->activated(1);
    child<QSpinBox>("lockTimeoutEdit")->setValue(5);
    EXPECT_EQ(dialog->editRecord().unlockFunction, ButtonFunction_BACK);
    EXPECT_EQ(dialog->editRecord().lockTimeout, 300000);

    ASSERT_EQ(pushProjectProperties(dialog->editRecord(), *document),
              ProjectPropertiesResult::Pushed);
    EXPECT_EQ(document->getUnlockCode(), "4321");
    EXPECT_EQ(document->getUnlockFunction(), ButtonFunction_BACK);
    EXPECT_EQ(document->getLockTimeout(), 300000);
    EXPECT_EQ(document->undoStack().count(), 1);
    document->undoStack().undo();
    EXPECT_EQ(bytes(), before);
}

TEST_F(ConfigurationPropertiesDialogTest, ClearsIRSlotsOneByOneOrAll)
{
    assignSlots();
    const QByteArray before = bytes();
    open();
    EXPECT_EQ(irRows(),
              QStringList({"Slot 4 | Hall - Button - Click", "Slot 6 | Hall - Slider - Increment",
                           "Slot 10 | Hall - Slider - Decrement"}));
    const QModelIndex clear = child<QTableView>("irSlotTable")->model()->index(0, 2);
    EXPECT_FALSE(clear.data(Qt::DecorationRole).value<QIcon>().pixmap(16).isNull());
    EXPECT_EQ(clear.data(Qt::ToolTipRole).toString(), "Clear Assignment");
    clickIRCell(1, 1);
    EXPECT_EQ(irRows().size(), 3);
    clickIRCell(1, 2);
    EXPECT_EQ(irRows(), QStringList({"Slot 4 | Hall - Button - Click",
                                     "Slot 10 | Hall - Slider - Decrement"}));
    EXPECT_EQ(dialog->editRecord().clearedIRSlots, std::set<unsigned char>({5}));

    ASSERT_EQ(pushProjectProperties(dialog->editRecord(), *document),
              ProjectPropertiesResult::Pushed);
    EXPECT_EQ(document->getControl(slider).getIRSlotId(Action_INCREMENT), NoIRSlot);
    EXPECT_EQ(TestUtil::irTable(*document),
              QStringList({QString("3:%1/1").arg(button), QString("9:%1/3").arg(slider)}));
    EXPECT_EQ(fault(), "");
    document->undoStack().undo();
    EXPECT_EQ(bytes(), before);

    child<QPushButton>("clearAllIRButton")->click();
    EXPECT_TRUE(irRows().isEmpty());
    EXPECT_FALSE(child<QPushButton>("clearAllIRButton")->isEnabled());
    EXPECT_EQ(dialog->editRecord().clearedIRSlots, std::set<unsigned char>({3, 5, 9}));
    ASSERT_EQ(pushProjectProperties(dialog->editRecord(), *document),
              ProjectPropertiesResult::Pushed);
    EXPECT_TRUE(TestUtil::irTable(*document).isEmpty());
    EXPECT_EQ(fault(), "");
}

TEST_F(ConfigurationPropertiesDialogTest, ClearAllOnAnEmptyTableOnlyDisablesItself)
{
    open();
    auto* clearAll = child<QPushButton>("clearAllIRButton");
    EXPECT_TRUE(clearAll->isEnabled());
    clearAll->click();
    EXPECT_FALSE(clearAll->isEnabled());
    EXPECT_FALSE(dialog->editRecord().hasChanges());
}

// A theme picked and then cleared changes nothing; a bundle that cannot be read is refused
// before anything changes, so the project keeps its theme and the other settings too.
TEST_F(ConfigurationPropertiesDialogTest, ThemeChoiceAppliesOnlyAReadableBundle)
{
    QStandardItemModel* library = ThemeLibrary::instance()->model();
    const QString plain = bundle("Plain");
    const QString missing = folder.filePath("missing.qvt");
    for (const QString& path : {plain, missing}) {
        auto* item = new QStandardItem(QFileInfo(path).baseName());
        item->setData(path, ThemeLibrary::PathRole);
        library->appendRow(item);
    }
    open();
    auto* list = child<QListView>("themeList");
    EXPECT_FALSE(list->selectionModel()->hasSelection());
    list->selectionModel()->select(library->index(1, 0), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(dialog->editRecord().theme, missing);
    child<QPushButton>("clearThemeSelectionButton")->click();
    EXPECT_TRUE(dialog->editRecord().theme.isNull());

    list->selectionModel()->select(library->index(1, 0), QItemSelectionModel::ClearAndSelect);
    child<QGroupBox>("securityGroupBox")->setChecked(true);
    QTest::keyClicks(child<QLineEdit>("unlockCodeEdit"), "2468");
    const QByteArray before = bytes();
    EXPECT_EQ(pushProjectProperties(dialog->editRecord(), *document),
              ProjectPropertiesResult::ThemeUnreadable);
    EXPECT_EQ(document->undoStack().count(), 0);
    EXPECT_EQ(bytes(), before);

    list->selectionModel()->select(library->index(0, 0), QItemSelectionModel::ClearAndSelect);
    ASSERT_EQ(pushProjectProperties(dialog->editRecord(), *document),
              ProjectPropertiesResult::Pushed);
    EXPECT_EQ(document->getTheme()->getName(), "Plain");
    EXPECT_EQ(document->getUnlockCode(), "2468");
    EXPECT_EQ(document->undoStack().count(), 1);
}

// Closing the window asks about changes (no Save while they are invalid); Cancel and Escape
// discard them without asking.
TEST_F(ConfigurationPropertiesDialogTest, ClosingWithChangesAsks)
{
    const QMessageBox::StandardButtons allThree =
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    const struct
    {
        const char* name;
        QString code; // typed after switching the lock on; null: the lock is not touched
        QMessageBox::StandardButton answer;
        QMessageBox::StandardButtons offered;
        bool stillOpen;
        int result;
    } cases[] = {
        {"save", "1234", QMessageBox::Save, allThree, false, QDialog::Accepted},
        {"discard", "1234", QMessageBox::Discard, allThree, false, QDialog::Rejected},
        {"cancel", "1234", QMessageBox::Cancel, allThree, true, QDialog::Rejected},
        {"invalid", "12", QMessageBox::Discard, QMessageBox::Discard | QMessageBox::Cancel, false,
         QDialog::Rejected},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        dialog->setResult(-1);
        child<QGroupBox>("securityGroupBox")->setChecked(true);
        QTest::keyClicks(child<QLineEdit>("unlockCodeEdit"), c.code);
        QMessageBox::StandardButtons offered;
        QString informative;
        TestUtil::ModalAnswerer answers;
        answers.then([&](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            ASSERT_NE(box, nullptr);
            offered = box->standardButtons();
            informative = box->informativeText();
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            box->button(c.answer)->click();
        });
        dialog->close();
        EXPECT_EQ(answers.pending(), 0);
        EXPECT_EQ(answers.answered().value(0).title, "Properties are modified");
        EXPECT_EQ(offered, c.offered);
        EXPECT_EQ(informative, c.offered & QMessageBox::Save
                                   ? "Do you want to save the changes?"
                                   : "The current values are not valid and cannot be saved.");
        EXPECT_EQ(dialog->isVisible(), c.stillOpen);
        if (!c.stillOpen) {
            EXPECT_EQ(dialog->result(), c.result);
        }
        EXPECT_EQ(dialog->editRecord().unlockCode, c.code);
    }

    // Without changes closing does not ask; Escape and Cancel discard changes without asking.
    const struct
    {
        bool changed;
        std::function<void()> closeDialog;
    } closers[] = {
        {false, [&] { dialog->close(); }},
        {true, [&] { QTest::keyClick(dialog.get(), Qt::Key_Escape); }},
        {true,
         [&] { child<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Cancel)->click(); }},
    };
    for (const auto& c : closers) {
        open();
        dialog->setResult(-1);
        if (c.changed)
            child<QSpinBox>("lockTimeoutEdit")->setValue(7);
        TestUtil::ModalAnswerer answers;
        answers.dialog(QDialog::Accepted);
        // A question would be asked, and answered, before closing returns.
        c.closeDialog();
        EXPECT_EQ(answers.pending(), 1);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
}
