#pragma once

#include "gui/validating_line_edit.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSpacerItem>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

// The layout of the project-properties dialog: three tabs (theme, security, IR slots) above an
// Ok/Cancel button box.
class Ui_ConfigurationPropertiesForm
{
public:
    QVBoxLayout* dialogLayout = nullptr;
    QTabWidget* tabWidget = nullptr;
    QDialogButtonBox* buttonBox = nullptr;

    QWidget* themeTab = nullptr;
    QLabel* changeThemeLabel = nullptr;
    QPushButton* clearThemeSelectionButton = nullptr;
    QListView* themeList = nullptr;

    QWidget* securityTab = nullptr;
    QGroupBox* securityGroupBox = nullptr;
    QLabel* unlockCodeLabel = nullptr;
    ValidatingLineEdit* unlockCodeEdit = nullptr;
    QLabel* unlockFunctionLabel = nullptr;
    QComboBox* unlockFunctionEdit = nullptr;
    QLabel* lockTimeoutLabel = nullptr;
    QSpinBox* lockTimeoutEdit = nullptr;

    QWidget* irTab = nullptr;
    QTableView* irSlotTable = nullptr;
    QPushButton* clearAllIRButton = nullptr;

    void setupUi(QDialog* dialog)
    {
        dialog->setObjectName(QStringLiteral("ConfigurationPropertiesForm"));
        dialog->resize(400, 500);
        dialogLayout = new QVBoxLayout(dialog);

        tabWidget = new QTabWidget(dialog);
        tabWidget->setObjectName(QStringLiteral("tabWidget"));
        setupThemeTab();
        setupSecurityTab();
        setupIRTab();
        dialogLayout->addWidget(tabWidget);

        buttonBox = new QDialogButtonBox(dialog);
        buttonBox->setObjectName(QStringLiteral("buttonBox"));
        buttonBox->setOrientation(Qt::Horizontal);
        buttonBox->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        dialogLayout->addWidget(buttonBox);

        retranslateUi(dialog);
        QObject::connect(buttonBox, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
        QObject::connect(buttonBox, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
        tabWidget->setCurrentIndex(0);
    }

    void retranslateUi(QDialog* dialog)
    {
        const auto tr = [](const char* text) {
            return QCoreApplication::translate("ConfigurationPropertiesForm", text);
        };
        dialog->setWindowTitle(tr("Project Properties"));
        tabWidget->setTabText(tabWidget->indexOf(themeTab), tr("Theme"));
        tabWidget->setTabText(tabWidget->indexOf(securityTab), tr("Security"));
        tabWidget->setTabText(tabWidget->indexOf(irTab), tr("IR Settings"));
        changeThemeLabel->setText(tr("Select a different theme"));
        clearThemeSelectionButton->setText(tr("Clear Selection"));
        securityGroupBox->setTitle(tr("Enable security"));
        unlockCodeLabel->setText(tr("Unlock code"));
        unlockFunctionLabel->setText(tr("Unlock function"));
        lockTimeoutLabel->setText(tr("Lock timeout"));
        lockTimeoutEdit->setSpecialValueText(tr("Never"));
        lockTimeoutEdit->setSuffix(tr("mins"));
        clearAllIRButton->setText(tr("Clear All"));
    }

private:
    void setupThemeTab()
    {
        themeTab = new QWidget();
        themeTab->setObjectName(QStringLiteral("themeTab"));
        auto* layout = new QVBoxLayout(themeTab);
        auto* labelRow = new QHBoxLayout();
        changeThemeLabel = new QLabel(themeTab);
        changeThemeLabel->setObjectName(QStringLiteral("changeThemeLabel"));
        labelRow->addWidget(changeThemeLabel);
        labelRow->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
        clearThemeSelectionButton = new QPushButton(themeTab);
        clearThemeSelectionButton->setObjectName(QStringLiteral("clearThemeSelectionButton"));
        labelRow->addWidget(clearThemeSelectionButton);
        layout->addLayout(labelRow);
        themeList = new QListView(themeTab);
        themeList->setObjectName(QStringLiteral("themeList"));
        layout->addWidget(themeList);
        tabWidget->addTab(themeTab, QString());
    }

    void setupSecurityTab()
    {
        securityTab = new QWidget();
        securityTab->setObjectName(QStringLiteral("securityTab"));
        auto* tabLayout = new QVBoxLayout(securityTab);
        securityGroupBox = new QGroupBox(securityTab);
        securityGroupBox->setObjectName(QStringLiteral("securityGroupBox"));
        securityGroupBox->setCheckable(true);
        auto* boxLayout = new QVBoxLayout(securityGroupBox);
        auto* grid = new QGridLayout();

        unlockCodeLabel = addLabel(grid, 0, QStringLiteral("unlockCodeLabel"));
        unlockCodeEdit = new ValidatingLineEdit(securityGroupBox);
        unlockCodeEdit->setObjectName(QStringLiteral("unlockCodeEdit"));
        unlockCodeEdit->setEchoMode(QLineEdit::Password);
        grid->addWidget(unlockCodeEdit, 0, 1, 1, 2);

        unlockFunctionLabel = addLabel(grid, 1, QStringLiteral("unlockFunctionLabel"));
        unlockFunctionEdit = new QComboBox(securityGroupBox);
        unlockFunctionEdit->setObjectName(QStringLiteral("unlockFunctionEdit"));
        grid->addWidget(unlockFunctionEdit, 1, 1);
        grid->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 1, 2);

        lockTimeoutLabel = addLabel(grid, 2, QStringLiteral("lockTimeoutLabel"));
        lockTimeoutEdit = new QSpinBox(securityGroupBox);
        lockTimeoutEdit->setObjectName(QStringLiteral("lockTimeoutEdit"));
        lockTimeoutEdit->setRange(0, 1440);
        grid->addWidget(lockTimeoutEdit, 2, 1);
        grid->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 2, 2);

        boxLayout->addLayout(grid);
        boxLayout->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
        tabLayout->addWidget(securityGroupBox);
        tabWidget->addTab(securityTab, QString());
    }

    QLabel* addLabel(QGridLayout* grid, int row, const QString& name)
    {
        auto* label = new QLabel(securityGroupBox);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, 0);
        return label;
    }

    void setupIRTab()
    {
        irTab = new QWidget();
        irTab->setObjectName(QStringLiteral("irTab"));
        auto* grid = new QGridLayout(irTab);
        irSlotTable = new QTableView(irTab);
        irSlotTable->setObjectName(QStringLiteral("irSlotTable"));
        grid->addWidget(irSlotTable, 0, 0, 1, 2);
        grid->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 1, 0);
        clearAllIRButton = new QPushButton(irTab);
        clearAllIRButton->setObjectName(QStringLiteral("clearAllIRButton"));
        grid->addWidget(clearAllIRButton, 1, 1);
        tabWidget->addTab(irTab, QString());
    }
};
