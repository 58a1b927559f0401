#pragma once

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

// The layout of the theme name and file path entry: a two-row grid, the name edit spanning the
// width beside its label, the path edit with the Browse button beside its label. Labels sit
// right-aligned against their edits. Every widget is a child of the entry.
class Ui_ThemeFileNameEntry
{
public:
    QVBoxLayout* verticalLayout = nullptr;
    QGridLayout* gridLayout = nullptr;
    QLabel* themeNameLabel = nullptr;
    QLineEdit* nameEdit = nullptr;
    QLabel* fileNameLabel = nullptr;
    QLineEdit* fileNameEdit = nullptr;
    QPushButton* fileBrowseButton = nullptr;

    void setupUi(QWidget* entry)
    {
        if (entry->objectName().isEmpty())
            entry->setObjectName(QStringLiteral("ThemeFileNameEntry"));
        entry->resize(335, 51);
        verticalLayout = new QVBoxLayout(entry);
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        verticalLayout->setContentsMargins(0, 0, 0, 0);
        gridLayout = new QGridLayout();
        gridLayout->setObjectName(QStringLiteral("gridLayout"));

        themeNameLabel = new QLabel(entry);
        themeNameLabel->setObjectName(QStringLiteral("themeNameLabel"));
        themeNameLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        gridLayout->addWidget(themeNameLabel, 0, 0);
        nameEdit = new QLineEdit(entry);
        nameEdit->setObjectName(QStringLiteral("nameEdit"));
        gridLayout->addWidget(nameEdit, 0, 1, 1, 2);

        fileNameLabel = new QLabel(entry);
        fileNameLabel->setObjectName(QStringLiteral("fileNameLabel"));
        fileNameLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        gridLayout->addWidget(fileNameLabel, 1, 0);
        fileNameEdit = new QLineEdit(entry);
        fileNameEdit->setObjectName(QStringLiteral("fileNameEdit"));
        gridLayout->addWidget(fileNameEdit, 1, 1);
        fileBrowseButton = new QPushButton(entry);
        fileBrowseButton->setObjectName(QStringLiteral("fileBrowseButton"));
        gridLayout->addWidget(fileBrowseButton, 1, 2);

        verticalLayout->addLayout(gridLayout);
        QWidget::setTabOrder(nameEdit, fileNameEdit);
        QWidget::setTabOrder(fileNameEdit, fileBrowseButton);

        retranslateUi(entry);
    }

    void retranslateUi(QWidget* entry)
    {
        entry->setWindowTitle(translated("Theme File Name Entry"));
        themeNameLabel->setText(translated("Name"));
        fileNameLabel->setText(translated("File name"));
        fileBrowseButton->setText(translated("Browse..."));
    }

private:
    static QString translated(const char* text)
    {
        return QCoreApplication::translate("ThemeFileNameEntry", text);
    }
};

namespace Ui {
class ThemeFileNameEntry : public Ui_ThemeFileNameEntry
{
};
} // namespace Ui
