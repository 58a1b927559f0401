#pragma once

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QSpinBox>
#include <QVBoxLayout>

// The layout of the preferences dialog: the page-editing group (add-control tools that stay on,
// the keyboard step and jump sizes), the beta-release check box and OK / Cancel.
class Ui_PreferencesForm
{
public:
    QVBoxLayout* verticalLayout = nullptr;
    QGroupBox* pageEditingGroupBox = nullptr;
    QVBoxLayout* groupLayout = nullptr;
    QCheckBox* maintainAddControlEdit = nullptr;
    QHBoxLayout* keySizeLayout = nullptr;
    QFormLayout* formLayout = nullptr;
    QLabel* controlKeyStepCaption = nullptr;
    QSpinBox* controlKeyStepSizeEdit = nullptr;
    QLabel* controlKeyJumpCaption = nullptr;
    QSpinBox* controlKeyJumpSizeEdit = nullptr;
    QCheckBox* notifyAboutBetaReleaseEdit = nullptr;
    QDialogButtonBox* buttonBox = nullptr;

    void setupUi(QDialog* dialog)
    {
        dialog->setObjectName(QStringLiteral("PreferencesForm"));
        dialog->resize(347, 190);
        verticalLayout = new QVBoxLayout(dialog);

        pageEditingGroupBox = new QGroupBox(dialog);
        pageEditingGroupBox->setObjectName(QStringLiteral("pageEditingGroupBox"));
        groupLayout = new QVBoxLayout(pageEditingGroupBox);

        maintainAddControlEdit = new QCheckBox(pageEditingGroupBox);
        maintainAddControlEdit->setObjectName(QStringLiteral("maintainAddControlEdit"));
        groupLayout->addWidget(maintainAddControlEdit);

        keySizeLayout = new QHBoxLayout();
        formLayout = new QFormLayout();
        controlKeyStepCaption = new QLabel(pageEditingGroupBox);
        controlKeyStepCaption->setObjectName(QStringLiteral("controlKeyStepCaption"));
        controlKeyStepSizeEdit = sizeEdit(pageEditingGroupBox, "controlKeyStepSizeEdit");
        formLayout->setWidget(0, QFormLayout::LabelRole, controlKeyStepCaption);
        formLayout->setWidget(0, QFormLayout::FieldRole, controlKeyStepSizeEdit);
        controlKeyJumpCaption = new QLabel(pageEditingGroupBox);
        controlKeyJumpCaption->setObjectName(QStringLiteral("controlKeyJumpCaption"));
        controlKeyJumpSizeEdit = sizeEdit(pageEditingGroupBox, "controlKeyJumpSizeEdit");
        formLayout->setWidget(1, QFormLayout::LabelRole, controlKeyJumpCaption);
        formLayout->setWidget(1, QFormLayout::FieldRole, controlKeyJumpSizeEdit);
        keySizeLayout->addLayout(formLayout);
        keySizeLayout->addItem(
            new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
        groupLayout->addLayout(keySizeLayout);
        verticalLayout->addWidget(pageEditingGroupBox);

        notifyAboutBetaReleaseEdit = new QCheckBox(dialog);
        notifyAboutBetaReleaseEdit->setObjectName(QStringLiteral("notifyAboutBetaReleaseEdit"));
        verticalLayout->addWidget(notifyAboutBetaReleaseEdit);

        verticalLayout->addItem(
            new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));

        buttonBox = new QDialogButtonBox(dialog);
        buttonBox->setObjectName(QStringLiteral("buttonBox"));
        buttonBox->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        verticalLayout->addWidget(buttonBox);

        controlKeyStepCaption->setBuddy(controlKeyStepSizeEdit);
        controlKeyJumpCaption->setBuddy(controlKeyJumpSizeEdit);
        retranslateUi(dialog);
    }

    void retranslateUi(QDialog* dialog)
    {
        const auto tr = [](const char* text) {
            return QCoreApplication::translate("PreferencesForm", text);
        };
        dialog->setWindowTitle(tr("Preferences"));
        pageEditingGroupBox->setTitle(tr("Page Editing"));
        maintainAddControlEdit->setWhatsThis(
            tr("Select this to make the add control tool buttons lock on"));
        maintainAddControlEdit->setText(tr("Add multiple controls at once"));
        controlKeyStepCaption->setText(tr("Keyboard move step size"));
        controlKeyStepSizeEdit->setWhatsThis(
            tr("Amount that controls will move by when using the keyboard arrow keys."));
        controlKeyJumpCaption->setText(tr("Keyboard move jump size"));
        controlKeyJumpSizeEdit->setWhatsThis(tr("Amount that controls will move by when using "
                                                "the keyboard arrow keys and shift is held."));
        notifyAboutBetaReleaseEdit->setWhatsThis(tr("Select this preference to be notified when "
                                                    "beta versions of the application are "
                                                    "available"));
        notifyAboutBetaReleaseEdit->setText(tr("Notify me when new beta software is available"));
    }

private:
    // The keyboard sizes are whole pixels from 1 to 100.
    static QSpinBox* sizeEdit(QWidget* parent, const char* name)
    {
        auto* edit = new QSpinBox(parent);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setRange(1, 100);
        return edit;
    }
};

namespace Ui {
class PreferencesForm : public Ui_PreferencesForm
{
};
} // namespace Ui
