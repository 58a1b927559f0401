#pragma once

#include "widgets/theme_editor/theme_file_name_entry.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSizePolicy>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QWidget>

// The layout of the theme export page: a caption, the theme name and file path entry, free
// space, then Cancel and Save at the bottom right. Every widget is a child of the page.
class Ui_ExportThemeWidget
{
public:
    QVBoxLayout* verticalLayout = nullptr;
    QLabel* captionLabel = nullptr;
    ThemeFileNameEntry* fileNameEntry = nullptr;
    QSpacerItem* verticalSpacer = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QSpacerItem* horizontalSpacer = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* saveButton = nullptr;

    void setupUi(QWidget* page)
    {
        if (page->objectName().isEmpty())
            page->setObjectName(QStringLiteral("ExportThemeWidget"));
        page->resize(335, 128);
        verticalLayout = new QVBoxLayout(page);
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        verticalLayout->setContentsMargins(0, 0, 0, 0);

        captionLabel = new QLabel(page);
        captionLabel->setObjectName(QStringLiteral("captionLabel"));
        QFont captionFont;
        captionFont.setPointSize(12);
        captionLabel->setFont(captionFont);
        verticalLayout->addWidget(captionLabel);

        fileNameEntry = new ThemeFileNameEntry(page);
        fileNameEntry->setObjectName(QStringLiteral("fileNameEntry"));
        fileNameEntry->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        verticalLayout->addWidget(fileNameEntry);

        verticalSpacer = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
        verticalLayout->addItem(verticalSpacer);

        horizontalLayout = new QHBoxLayout();
        horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
        horizontalSpacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
        horizontalLayout->addItem(horizontalSpacer);
        cancelButton = new QPushButton(page);
        cancelButton->setObjectName(QStringLiteral("cancelButton"));
        horizontalLayout->addWidget(cancelButton);
        saveButton = new QPushButton(page);
        saveButton->setObjectName(QStringLiteral("saveButton"));
        saveButton->setAutoDefault(true);
        saveButton->setDefault(true);
        horizontalLayout->addWidget(saveButton);
        verticalLayout->addLayout(horizontalLayout);

        QWidget::setTabOrder(saveButton, cancelButton);

        retranslateUi(page);
    }

    void retranslateUi(QWidget* page)
    {
        page->setWindowTitle(translated("Export Theme"));
        captionLabel->setText(translated("Export Project Theme"));
        cancelButton->setText(translated("Cancel"));
        saveButton->setText(translated("Save"));
    }

private:
    static QString translated(const char* text)
    {
        return QCoreApplication::translate("ExportThemeWidget", text);
    }
};

namespace Ui {
class ExportThemeWidget : public Ui_ExportThemeWidget
{
};
} // namespace Ui
