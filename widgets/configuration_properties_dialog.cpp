#include "widgets/configuration_properties_dialog.h"

#include "velmora_objects/configuration.h"
#include "velmora_objects/control.h"
#include "velmora_objects/page.h"
#include "velmora_objects/theme_library.h"
#include "widgets/configuration_properties_form.h"
#include "widgets/theme_editor/theme_delegates.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStandardItemModel>

// The clear icon is embedded in the widget kit's static library; nothing references its
// initialiser, so it is called by name before the first use.
static void initialiseIconResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(property_editor);
        return true;
    }();
    (void)done;
}

namespace {

constexpr int MillisecondsPerMinute = 60000;
constexpr int ClearColumn = 2;

QString controlTypeName(Velmora::ControlType type)
{
    switch (type) {
    case Velmora::ControlType_BUTTON:
        return ConfigurationPropertiesDialog::tr("Button");
    case Velmora::ControlType_SLIDER:
        return ConfigurationPropertiesDialog::tr("Slider");
    case Velmora::ControlType_COLOUR_PICKER:
        return ConfigurationPropertiesDialog::tr("Colour Picker");
    default:
        return QString();
    }
}

QString actionName(Velmora::Action action)
{
    switch (action) {
    case Velmora::Action_CLICK:
        return ConfigurationPropertiesDialog::tr("Click");
    case Velmora::Action_INCREMENT:
        return ConfigurationPropertiesDialog::tr("Increment");
    case Velmora::Action_DECREMENT:
        return ConfigurationPropertiesDialog::tr("Decrement");
    default:
        return QString();
    }
}

} // namespace

ConfigurationPropertiesDialog::ConfigurationPropertiesDialog(const Velmora::Configuration& project,
                                                             QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui_ConfigurationPropertiesForm>()),
      irSlotModel(new QStandardItemModel(0, 3, this))
{
    ui->setupUi(this);

    QListView* themeList = ui->themeList;
    themeList->setModel(ThemeLibrary::instance()->model());
    auto* delegate = new ThemeSplashDelegate(themeList);
    delegate->orientation = project.getOrientation();
    themeList->setItemDelegate(delegate);
    themeList->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    themeList->setSelectionMode(QAbstractItemView::SingleSelection);
    themeList->selectionModel()->clear();
    connect(themeList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ConfigurationPropertiesDialog::onThemeSelected);
    connect(ui->clearThemeSelectionButton, &QPushButton::clicked, themeList->selectionModel(),
            &QItemSelectionModel::clear);

    // The project's values first, the connections after, so that they record nothing.
    ui->securityGroupBox->setChecked(!project.getUnlockCode().isEmpty());
    ui->unlockCodeEdit->setInvalidMessage(tr("Must be between 3 and 6 numeric characters"));
    ui->unlockCodeEdit->setRegExp(QRegularExpression(QStringLiteral("\\d{3,6}")));
    ui->unlockCodeEdit->setText(project.getUnlockCode());
    // Unlocking goes to the home page (the function value of Go To Page) or back.
    ui->unlockFunctionEdit->addItem(tr("Home"), int(Velmora::ButtonFunction_GO_TO_PAGE));
    ui->unlockFunctionEdit->addItem(tr("Back"), int(Velmora::ButtonFunction_BACK));
    ui->unlockFunctionEdit->setCurrentIndex(
        ui->unlockFunctionEdit->findData(project.getUnlockFunction(), Qt::UserRole));
    ui->lockTimeoutEdit->setValue(project.getLockTimeout() / MillisecondsPerMinute);

    connect(ui->securityGroupBox, &QGroupBox::toggled, this,
            &ConfigurationPropertiesDialog::onSecurityToggled);
    connect(ui->unlockCodeEdit, &QLineEdit::textEdited, this,
            &ConfigurationPropertiesDialog::onUnlockCodeChanged);
    connect(ui->unlockFunctionEdit, &QComboBox::activated, this,
            &ConfigurationPropertiesDialog::onUnlockFunctionChanged);
    connect(ui->lockTimeoutEdit, &QSpinBox::valueChanged, this,
            &ConfigurationPropertiesDialog::onLockTimeoutChanged);

    fillIRSlotTable(project);
    QTableView* table = ui->irSlotTable;
    table->setModel(irSlotModel);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(ClearColumn, QHeaderView::ResizeToContents);
    table->verticalHeader()->hide();
    connect(table, &QTableView::clicked, this,
            &ConfigurationPropertiesDialog::handleIRTableIndexClick);
    connect(ui->clearAllIRButton, &QPushButton::clicked, this,
            &ConfigurationPropertiesDialog::clearAllIRSlots);

    ui->tabWidget->setCurrentIndex(0);
}

ConfigurationPropertiesDialog::~ConfigurationPropertiesDialog() = default;

void ConfigurationPropertiesDialog::fillIRSlotTable(const Velmora::Configuration& project)
{
    initialiseIconResources();
    const QIcon clearIcon(QStringLiteral(":/property_editor/revert.png"));
    for (unsigned int slot = 0; slot < 16; ++slot) {
        const Velmora::IRAction assignment = project.getIRSlotAssignment((unsigned char)slot);
        if (assignment.controlId == UINT_MAX)
            continue;
        const Velmora::Control& control = project.getControl(assignment.controlId);
        const QString description =
            QStringList{project.getPage(control.getPageId()).getName(),
                        controlTypeName(control.getType()), actionName(assignment.action)}
                .join(QStringLiteral(" - "));
        auto* clearItem = new QStandardItem(clearIcon, QString());
        clearItem->setToolTip(tr("Clear Assignment"));
        clearItem->setData(slot, Qt::UserRole);
        irSlotModel->appendRow({new QStandardItem(tr("Slot %1").arg(slot + 1)),
                                new QStandardItem(description), clearItem});
    }
    irSlotModel->setHorizontalHeaderLabels({tr("Slot"), tr("Control"), QString()});
}

bool ConfigurationPropertiesDialog::isValid() const
{
    return !ui->securityGroupBox->isChecked() || record.unlockCode.isNull() ||
           record.unlockCode.size() > 2;
}

void ConfigurationPropertiesDialog::updateOkButton()
{
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(isValid());
}

void ConfigurationPropertiesDialog::onThemeSelected()
{
    const QModelIndexList selected = ui->themeList->selectionModel()->selectedIndexes();
    record.theme =
        selected.size() == 1 ? selected.front().data(ThemeLibrary::PathRole).toString() : QString();
}

// QLineEdit::text() is never null, so a code taken from the edit always counts as a change,
// an empty one too.
void ConfigurationPropertiesDialog::onSecurityToggled(bool on)
{
    if (on) {
        record.unlockCode = ui->unlockCodeEdit->text();
        ui->unlockCodeEdit->setFocus(Qt::OtherFocusReason);
        ui->unlockCodeEdit->selectAll();
    } else {
        record.unlockCode = QStringLiteral("");
    }
    updateOkButton();
}

void ConfigurationPropertiesDialog::onUnlockCodeChanged()
{
    record.unlockCode = ui->unlockCodeEdit->text();
    updateOkButton();
}

void ConfigurationPropertiesDialog::onUnlockFunctionChanged(int index)
{
    record.unlockFunction = ui->unlockFunctionEdit->itemData(index, Qt::UserRole).toInt();
}

void ConfigurationPropertiesDialog::onLockTimeoutChanged(int minutes)
{
    record.lockTimeout = minutes * MillisecondsPerMinute;
}

void ConfigurationPropertiesDialog::handleIRTableIndexClick(const QModelIndex& index)
{
    if (index.model() != irSlotModel || index.column() != ClearColumn)
        return;
    record.clearedIRSlots.insert((unsigned char)index.data(Qt::UserRole).toUInt());
    irSlotModel->removeRow(index.row());
}

void ConfigurationPropertiesDialog::clearAllIRSlots()
{
    for (int row = 0; row < irSlotModel->rowCount(); ++row)
        record.clearedIRSlots.insert(
            (unsigned char)irSlotModel->item(row, ClearColumn)->data(Qt::UserRole).toUInt());
    irSlotModel->removeRows(0, irSlotModel->rowCount());
    ui->clearAllIRButton->setEnabled(false);
}

void ConfigurationPropertiesDialog::closeEvent(QCloseEvent* event)
{
    if (!record.hasChanges()) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    QMessageBox prompt(QMessageBox::Question, tr("Properties are modified"),
                       tr("The project properties have been changed."), QMessageBox::NoButton,
                       this);
    if (isValid()) {
        prompt.setInformativeText(tr("Do you want to save the changes?"));
        prompt.addButton(QMessageBox::Save);
    } else {
        prompt.setInformativeText(tr("The current values are not valid and cannot be saved."));
    }
    prompt.addButton(QMessageBox::Discard);
    prompt.addButton(QMessageBox::Cancel);
    switch (prompt.exec()) {
    case QMessageBox::Save:
        accept();
        break;
    case QMessageBox::Discard:
        reject();
        break;
    default:
        break;
    }
}
