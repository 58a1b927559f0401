#pragma once

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QSpacerItem>

// The layout of the duplicate-page dialog: two command links, one per way of duplicating, above
// a Cancel button.
class Ui_DuplicatePageForm
{
public:
    QGridLayout* gridLayout = nullptr;
    QCommandLinkButton* defaultButton = nullptr;
    QCommandLinkButton* fullButton = nullptr;
    QDialogButtonBox* buttonBox = nullptr;

    void setupUi(QDialog* dialog)
    {
        dialog->setObjectName(QStringLiteral("DuplicatePageForm"));
        dialog->resize(371, 161);
        gridLayout = new QGridLayout(dialog);
        gridLayout->setObjectName(QStringLiteral("gridLayout"));

        const QIcon copyIcon(QStringLiteral(":/icons/22x22/copy.png"));
        defaultButton = new QCommandLinkButton(dialog);
        defaultButton->setObjectName(QStringLiteral("defaultButton"));
        defaultButton->setIcon(copyIcon);
        gridLayout->addWidget(defaultButton, 0, 0);

        fullButton = new QCommandLinkButton(dialog);
        fullButton->setObjectName(QStringLiteral("fullButton"));
        fullButton->setIcon(copyIcon);
        gridLayout->addWidget(fullButton, 1, 0);

        // Row 2 keeps the Cancel button apart from the choices.
        gridLayout->addItem(new QSpacerItem(20, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), 2,
                            0);

        buttonBox = new QDialogButtonBox(dialog);
        buttonBox->setObjectName(QStringLiteral("buttonBox"));
        buttonBox->setStandardButtons(QDialogButtonBox::Cancel);
        gridLayout->addWidget(buttonBox, 3, 0);

        retranslateUi(dialog);
    }

    void retranslateUi(QDialog* dialog)
    {
        dialog->setWindowTitle(QCoreApplication::translate("DuplicatePageForm", "Duplicate Page"));
        defaultButton->setText(
            QCoreApplication::translate("DuplicatePageForm", "Duplicate Page (Default)"));
        defaultButton->setDescription(QCoreApplication::translate(
            "DuplicatePageForm", "Duplicate everything except for Control Keys"));
        fullButton->setText(
            QCoreApplication::translate("DuplicatePageForm", "Duplicate Page (Full)"));
        fullButton->setDescription(QCoreApplication::translate(
            "DuplicatePageForm", "Duplicate everything including Control Keys"));
    }
};

namespace Ui {
class DuplicatePageForm : public Ui_DuplicatePageForm
{
};
} // namespace Ui
