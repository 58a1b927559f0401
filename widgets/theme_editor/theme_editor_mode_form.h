#pragma once

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QWidget>

// The layout of the theme editor's home page: a caption, the three choices stacked in the
// middle third of the width (stretch 1 : 4 : 1 against the spacers beside them) and Close at
// the bottom right. Every widget is a child of the page.
class Ui_ThemeEditorMode
{
public:
    QVBoxLayout* verticalLayout_2 = nullptr;
    QLabel* captionLabel = nullptr;
    QSpacerItem* verticalSpacer = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QSpacerItem* horizontalSpacer = nullptr;
    QVBoxLayout* verticalLayout = nullptr;
    QCommandLinkButton* editProjectThemeButton = nullptr;
    QCommandLinkButton* saveProjectThemeButton = nullptr;
    QCommandLinkButton* themeLibraryButton = nullptr;
    QSpacerItem* horizontalSpacer_2 = nullptr;
    QSpacerItem* verticalSpacer_2 = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    QSpacerItem* horizontalSpacer_3 = nullptr;
    QPushButton* closeButton = nullptr;

    void setupUi(QWidget* page)
    {
        if (page->objectName().isEmpty())
            page->setObjectName(QStringLiteral("ThemeEditorMode"));
        page->resize(484, 329);
        verticalLayout_2 = new QVBoxLayout(page);
        verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
        verticalLayout_2->setContentsMargins(0, 0, 0, 0);
        captionLabel = new QLabel(page);
        captionLabel->setObjectName(QStringLiteral("captionLabel"));
        QFont captionFont;
        captionFont.setPointSize(12);
        captionLabel->setFont(captionFont);
        verticalLayout_2->addWidget(captionLabel);
        verticalSpacer = new QSpacerItem(20, 10, QSizePolicy::Minimum, QSizePolicy::Expanding);
        verticalLayout_2->addItem(verticalSpacer);

        horizontalLayout = new QHBoxLayout();
        horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
        horizontalSpacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
        horizontalLayout->addItem(horizontalSpacer);
        verticalLayout = new QVBoxLayout();
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        editProjectThemeButton = addChoice(page, QStringLiteral("editProjectThemeButton"));
        saveProjectThemeButton = addChoice(page, QStringLiteral("saveProjectThemeButton"));
        themeLibraryButton = addChoice(page, QStringLiteral("themeLibraryButton"));
        horizontalLayout->addLayout(verticalLayout);
        horizontalSpacer_2 = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
        horizontalLayout->addItem(horizontalSpacer_2);
        horizontalLayout->setStretch(0, 1);
        horizontalLayout->setStretch(1, 4);
        horizontalLayout->setStretch(2, 1);
        verticalLayout_2->addLayout(horizontalLayout);

        verticalSpacer_2 = new QSpacerItem(20, 35, QSizePolicy::Minimum, QSizePolicy::Expanding);
        verticalLayout_2->addItem(verticalSpacer_2);
        horizontalLayout_2 = new QHBoxLayout();
        horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
        horizontalSpacer_3 = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
        horizontalLayout_2->addItem(horizontalSpacer_3);
        closeButton = new QPushButton(page);
        closeButton->setObjectName(QStringLiteral("closeButton"));
        horizontalLayout_2->addWidget(closeButton);
        verticalLayout_2->addLayout(horizontalLayout_2);

        retranslateUi(page);
    }

    void retranslateUi(QWidget* page)
    {
        page->setWindowTitle(translated("Theme Editor Mode"));
        captionLabel->setText(translated("Theme Editor"));
        editProjectThemeButton->setText(translated("Edit Project Theme"));
        editProjectThemeButton->setDescription(translated("Edit the theme in the current project"));
        saveProjectThemeButton->setText(translated("Export Project Theme"));
        saveProjectThemeButton->setDescription(
            translated("Save the current project theme to a file"));
        themeLibraryButton->setText(translated("Browse Theme Library"));
        themeLibraryButton->setDescription(translated("Edit or create new themes for future use"));
        closeButton->setText(translated("Close"));
    }

private:
    static QString translated(const char* text)
    {
        return QCoreApplication::translate("ThemeEditorMode", text);
    }

    QCommandLinkButton* addChoice(QWidget* page, const QString& name)
    {
        auto* button = new QCommandLinkButton(page);
        button->setObjectName(name);
        verticalLayout->addWidget(button);
        return button;
    }
};

namespace Ui {
class ThemeEditorMode : public Ui_ThemeEditorMode
{
};
} // namespace Ui
