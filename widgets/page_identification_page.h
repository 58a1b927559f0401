#pragma once

#include <QString>
#include <QWizardPage>

class BackdropIconModel;
class QComboBox;
class QLineEdit;
class QStandardItemModel;
class ThemeImageModel;
class VelmoraDocument;

// The page of the new-page wizard that names the new page and picks its icon. It registers
// the wizard field "page_name". Each time the page is entered the name starts as the default
// page name, selected, and it can never be left empty: erasing it brings the default back.
//
// The icons come from the open project's theme when a document is given (a new page), or
// from the theme file chosen earlier in the wizard (a new project), read into a list the page
// owns, and shown each on a backdrop that it stands out on (a theme's icons may be light
// glyphs). "Browse..." adds an image file to that list (once, however often it is picked) and
// selects it. With a document, Next refuses a name that another page already bears.
class PageIdentificationPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit PageIdentificationPage(QWidget* parent = nullptr);
    ~PageIdentificationPage() override;

    // The open project, not owned; its icon list becomes the icon choice. Null: project mode.
    void setDocument(const VelmoraDocument* document);
    // The theme file of a new project. A different path drops the icon list built from the
    // previous one (and so the icon choice); the next initializePage builds the new one.
    void setThemePath(const QString& path);

    // The chosen icon's image id; UINT_MAX when none is chosen or the icon is a file not yet
    // stored in a theme.
    unsigned int iconId() const;
    // The image file of the chosen icon when it was picked with "Browse..."; empty when the
    // chosen icon came from the theme or none is chosen. (An icon list of a theme file stores
    // no picked file yet, so it is this file that the new page stores.)
    QString iconFile() const;
    // The document's next default page name, or "Page 1" without a document.
    QString defaultPageName() const;
    // Leaves the icon combo without a current entry.
    void clearIcon();

    void initializePage() override;
    bool validatePage() override;

private slots:
    void onNameChanged();
    void onIconBrowseClicked();

private:
    void setIconModel(ThemeImageModel* model, bool owned);
    void dropIconModel();

    const VelmoraDocument* document = nullptr;
    QLineEdit* nameEdit;
    QComboBox* iconCombo;
    // Stands in the combo while no icon list is attached (a combo always has a model).
    QStandardItemModel* emptyModel;
    // The icon list as the combo shows it: each picture on a backdrop that it stands out on.
    BackdropIconModel* backdrops;
    ThemeImageModel* iconModel = nullptr;
    bool ownsIconModel = false;
    QString themePath;
};
