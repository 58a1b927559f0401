#pragma once

#include "gui/centered_icon_grid_view.h"
#include "widgets/theme_editor/theme_editor_resources.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpacerItem>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

// The layout of the theme library page: the caption with four icon-only tool buttons at the
// right (add new, remove, browse for files, edit), the grid of themes filling the middle, below
// it the list of theme files left out (hidden until the page fills it, scrolling past a few
// lines), and Back and Close at the bottom right. Every widget is a child of the page.
class Ui_ThemeLibraryBrowser
{
public:
    QVBoxLayout* verticalLayout = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QLabel* captionLabel = nullptr;
    QSpacerItem* horizontalSpacer = nullptr;
    QToolButton* addNewThemeButton = nullptr;
    QToolButton* removeThemeButton = nullptr;
    QToolButton* browseThemesButton = nullptr;
    QToolButton* editThemeButton = nullptr;
    CenteredIconGridView* listView = nullptr;
    QScrollArea* refusedArea = nullptr;
    QLabel* refusedLabel = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    QSpacerItem* horizontalSpacer_2 = nullptr;
    QPushButton* backButton = nullptr;
    QPushButton* closeButton = nullptr;

    void setupUi(QWidget* page)
    {
        if (page->objectName().isEmpty())
            page->setObjectName(QStringLiteral("ThemeLibraryBrowser"));
        page->resize(321, 315);
        loadThemeEditorResources();
        verticalLayout = new QVBoxLayout(page);
        verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
        verticalLayout->setContentsMargins(0, 0, 0, 0);

        horizontalLayout = new QHBoxLayout();
        horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
        captionLabel = new QLabel(page);
        captionLabel->setObjectName(QStringLiteral("captionLabel"));
        QFont captionFont;
        captionFont.setPointSize(12);
        captionLabel->setFont(captionFont);
        horizontalLayout->addWidget(captionLabel);
        horizontalSpacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
        horizontalLayout->addItem(horizontalSpacer);
        addNewThemeButton = addToolButton(page, "addNewThemeButton", "list_add.png");
        removeThemeButton = addToolButton(page, "removeThemeButton", "list_remove.png");
        browseThemesButton = addToolButton(page, "browseThemesButton", "folder.png");
        editThemeButton = addToolButton(page, "editThemeButton", "edit.png");
        verticalLayout->addLayout(horizontalLayout);

        listView = new CenteredIconGridView(page);
        listView->setObjectName(QStringLiteral("listView"));
        listView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        verticalLayout->addWidget(listView);

        // However many files are left out, their list scrolls in a few lines' room.
        refusedArea = new QScrollArea(page);
        refusedArea->setObjectName(QStringLiteral("refusedArea"));
        refusedArea->setWidgetResizable(true);
        refusedArea->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        refusedArea->setFixedHeight(RefusedLines * refusedArea->fontMetrics().lineSpacing() +
                                    2 * refusedArea->frameWidth());
        refusedLabel = new QLabel(refusedArea);
        refusedLabel->setObjectName(QStringLiteral("refusedLabel"));
        refusedLabel->setWordWrap(true);
        refusedLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        refusedLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        refusedArea->setWidget(refusedLabel);
        refusedArea->hide();
        verticalLayout->addWidget(refusedArea);

        horizontalLayout_2 = new QHBoxLayout();
        horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
        horizontalSpacer_2 = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
        horizontalLayout_2->addItem(horizontalSpacer_2);
        backButton = new QPushButton(page);
        backButton->setObjectName(QStringLiteral("backButton"));
        horizontalLayout_2->addWidget(backButton);
        closeButton = new QPushButton(page);
        closeButton->setObjectName(QStringLiteral("closeButton"));
        horizontalLayout_2->addWidget(closeButton);
        verticalLayout->addLayout(horizontalLayout_2);

        retranslateUi(page);
    }

    void retranslateUi(QWidget* page)
    {
        page->setWindowTitle(translated("Theme Library Browser"));
        captionLabel->setText(translated("Theme Library"));
        addNewThemeButton->setToolTip(translated("Add new theme"));
        browseThemesButton->setToolTip(translated("Browse for themes"));
        editThemeButton->setToolTip(translated("Edit theme"));
        backButton->setText(translated("Back"));
        closeButton->setText(translated("Close"));
    }

private:
    // The lines of the list of files left out that show without scrolling.
    static constexpr int RefusedLines = 6;

    static QString translated(const char* text)
    {
        return QCoreApplication::translate("ThemeLibraryBrowser", text);
    }

    QToolButton* addToolButton(QWidget* page, const char* name, const char* icon)
    {
        auto* button = new QToolButton(page);
        button->setObjectName(QLatin1String(name));
        button->setIcon(QIcon(QStringLiteral(":/icons/16x16/") + QLatin1String(icon)));
        button->setAutoRaise(true);
        horizontalLayout->addWidget(button);
        return button;
    }
};

namespace Ui {
class ThemeLibraryBrowser : public Ui_ThemeLibraryBrowser
{
};
} // namespace Ui
