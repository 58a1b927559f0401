#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QTextEdit>

// The layout of the "Software Update" dialog: the new and the running version, the release
// notes and the two buttons.
class Ui_SoftwareUpdateForm
{
public:
    QGridLayout* gridLayout = nullptr;
    QLabel* newVersionLabel = nullptr;
    QLabel* oldVersionLabel = nullptr;
    QLabel* releaseNotesLabel = nullptr;
    QTextEdit* releaseNotesView = nullptr;
    QHBoxLayout* buttonLayout = nullptr;
    QPushButton* downloadButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QDialogButtonBox* buttonBox = nullptr;

    void setupUi(QDialog* form)
    {
        form->setObjectName(QStringLiteral("SoftwareUpdateForm"));
        form->resize(400, 261);
        gridLayout = new QGridLayout(form);
        newVersionLabel = new QLabel(form);
        newVersionLabel->setObjectName(QStringLiteral("newVersionLabel"));
        gridLayout->addWidget(newVersionLabel, 0, 0);
        oldVersionLabel = new QLabel(form);
        oldVersionLabel->setObjectName(QStringLiteral("oldVersionLabel"));
        gridLayout->addWidget(oldVersionLabel, 1, 0);
        releaseNotesLabel = new QLabel(form);
        releaseNotesLabel->setObjectName(QStringLiteral("releaseNotesLabel"));
        gridLayout->addWidget(releaseNotesLabel, 2, 0);
        releaseNotesView = new QTextEdit(form);
        releaseNotesView->setObjectName(QStringLiteral("releaseNotesView"));
        releaseNotesView->setReadOnly(true);
        gridLayout->addWidget(releaseNotesView, 3, 0);

        buttonLayout = new QHBoxLayout();
        buttonLayout->addItem(
            new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
        downloadButton = new QPushButton(form);
        downloadButton->setObjectName(QStringLiteral("downloadButton"));
        buttonLayout->addWidget(downloadButton);
        cancelButton = new QPushButton(form);
        cancelButton->setObjectName(QStringLiteral("cancelButton"));
        buttonLayout->addWidget(cancelButton);
        gridLayout->addLayout(buttonLayout, 4, 0);

        buttonBox = new QDialogButtonBox(form);
        buttonBox->setObjectName(QStringLiteral("buttonBox"));
        buttonBox->setOrientation(Qt::Horizontal);
        buttonBox->setStandardButtons(QDialogButtonBox::NoButton);
        gridLayout->addWidget(buttonBox, 5, 0);

        retranslateUi(form);
        QObject::connect(buttonBox, &QDialogButtonBox::accepted, form, &QDialog::accept);
        QObject::connect(buttonBox, &QDialogButtonBox::rejected, form, &QDialog::reject);
    }

    void retranslateUi(QDialog* form)
    {
        form->setWindowTitle(QString());
        newVersionLabel->setText(
            QCoreApplication::translate("SoftwareUpdateForm", "Version %1 is ready for download"));
        oldVersionLabel->setText(
            QCoreApplication::translate("SoftwareUpdateForm", "You are currently running %1"));
        releaseNotesLabel->setText(
            QCoreApplication::translate("SoftwareUpdateForm", "Release Notes"));
        downloadButton->setText(QCoreApplication::translate("SoftwareUpdateForm", "Go To Website"));
        cancelButton->setText(QCoreApplication::translate("SoftwareUpdateForm", "Not Now"));
    }
};

namespace Ui {
class SoftwareUpdateForm : public Ui_SoftwareUpdateForm
{
};
} // namespace Ui
