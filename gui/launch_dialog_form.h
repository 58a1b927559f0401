#pragma once

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>

// The layout of the launch dialog: a header picture 100 pixels high, the list of recent files
// and a row of three command links.
class Ui_LaunchDialog
{
public:
    QGridLayout* gridLayout = nullptr;
    QLabel* headerLabel = nullptr;
    QListView* recentFileList = nullptr;
    QHBoxLayout* buttonLayout = nullptr;
    QCommandLinkButton* newButton = nullptr;
    QCommandLinkButton* openButton = nullptr;
    QCommandLinkButton* exitButton = nullptr;

    void setupUi(QDialog* dialog)
    {
        dialog->setObjectName(QStringLiteral("LaunchDialog"));
        dialog->resize(600, 424);
        dialog->setModal(true);
        gridLayout = new QGridLayout(dialog);
        gridLayout->setSpacing(0);
        gridLayout->setContentsMargins(0, 0, 0, 0);

        headerLabel = new QLabel(dialog);
        headerLabel->setObjectName(QStringLiteral("headerLabel"));
        headerLabel->setFixedHeight(100);
        gridLayout->addWidget(headerLabel, 0, 0);

        recentFileList = new QListView(dialog);
        recentFileList->setObjectName(QStringLiteral("recentFileList"));
        gridLayout->addWidget(recentFileList, 1, 0);

        buttonLayout = new QHBoxLayout();
        newButton = addButton(dialog, QStringLiteral("newButton"));
        openButton = addButton(dialog, QStringLiteral("openButton"));
        exitButton = addButton(dialog, QStringLiteral("exitButton"));
        gridLayout->addLayout(buttonLayout, 2, 0);

        retranslateUi(dialog);
    }

    void retranslateUi(QDialog* dialog)
    {
        dialog->setWindowTitle(QString());
        headerLabel->setText(QString());
        newButton->setText(QCoreApplication::translate("LaunchDialog", "New..."));
        newButton->setDescription(QCoreApplication::translate("LaunchDialog", "Create a new file"));
        openButton->setText(QCoreApplication::translate("LaunchDialog", "Open..."));
        openButton->setDescription(
            QCoreApplication::translate("LaunchDialog", "Browse for an existing file"));
        exitButton->setText(QCoreApplication::translate("LaunchDialog", "Exit"));
        exitButton->setDescription(
            QCoreApplication::translate("LaunchDialog", "Close the application"));
    }

private:
    QCommandLinkButton* addButton(QDialog* dialog, const QString& name)
    {
        auto* button = new QCommandLinkButton(dialog);
        button->setObjectName(name);
        button->setIconSize(QSize(32, 32));
        buttonLayout->addWidget(button);
        return button;
    }
};

namespace Ui {
class LaunchDialog : public Ui_LaunchDialog
{
};
} // namespace Ui
