#pragma once

#include "gui/centered_icon_grid_view.h"
#include "widgets/theme_editor/theme_file_name_entry.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QWidget>

// The layout of the new theme page: a caption, the name and path entry, the grid of library
// themes to pick the template from (taking all spare height), and Cancel and Create Theme at
// the bottom right. Every widget is a child of the page.
class Ui_NewThemeSettings
{
public:
    QVBoxLayout* verticalLayout = nullptr;
    QLabel* captionLabel = nullptr;
    ThemeFileNameEntry* fileNameEntry = nullptr;
    QLabel* existingThemeCaption = nullptr;
    CenteredIconGridView* themeListView = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QSpacerItem* horizontalSpacer = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* nextButton = nullptr;

    void setupUi(QWidget* page)
    {
        if (page->objectName().isEmpty())
            page->setObjectName(QStringLiteral("NewThemeSettings"));
        page->resize(335, 320);
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
        verticalLayout->addWidget(fileNameEntry);
        existingThemeCaption = new QLabel(page);
        existingThemeCaption->setObjectName(QStringLiteral("existingThemeCaption"));
        verticalLayout->addWidget(existingThemeCaption);
        themeListView = new CenteredIconGridView(page);
        themeListView->setObjectName(QStringLiteral("themeListView"));
        QSizePolicy listPolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        listPolicy.setVerticalStretch(1);
        themeListView->setSizePolicy(listPolicy);
        verticalLayout->addWidget(themeListView);

        horizontalLayout = new QHBoxLayout();
        horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
        horizontalSpacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
        horizontalLayout->addItem(horizontalSpacer);
        cancelButton = new QPushButton(page);
        cancelButton->setObjectName(QStringLiteral("cancelButton"));
        horizontalLayout->addWidget(cancelButton);
        nextButton = new QPushButton(page);
        nextButton->setObjectName(QStringLiteral("nextButton"));
        nextButton->setAutoDefault(true);
        nextButton->setDefault(true);
        horizontalLayout->addWidget(nextButton);
        verticalLayout->addLayout(horizontalLayout);
        QWidget::setTabOrder(nextButton, cancelButton);

        retranslateUi(page);
    }

    void retranslateUi(QWidget* page)
    {
        page->setWindowTitle(translated("New Theme Settings"));
        captionLabel->setText(translated("Create New Theme"));
        existingThemeCaption->setText(translated("Select an existing theme to use as a template:"));
        cancelButton->setText(translated("Cancel"));
        nextButton->setText(translated("Create Theme"));
    }

private:
    static QString translated(const char* text)
    {
        return QCoreApplication::translate("NewThemeSettings", text);
    }
};

namespace Ui {
class NewThemeSettings : public Ui_NewThemeSettings
{
};
} // namespace Ui
