#pragma once

#include "core/gradient.h"

#include <QColor>
#include <QModelIndex>
#include <QString>
#include <QWizardPage>
#include <climits>

class BackgroundImageDelegate;
class CenteredIconGridView;
class ColourButton;
class GradientPicker;
class QButtonGroup;
class QPushButton;
class QRadioButton;
class ThemeImageModel;
class ThemeImageProxyModel;
class VelmoraDocument;
struct NewPageData;

// The "Background" page of the new-page wizard: the new page gets a plain colour, a gradient of
// the gradient library or one of the theme's page-background images (a new image file is added
// to those images at once). Only the chosen kind's value is kept: the colour is invalid unless
// the kind is Colour, the gradient null unless it is Gradient, the image id UINT_MAX and the
// file empty unless it is Image.
//
// For a page of the open project the images are the document's; for the first page of a new
// project they are read from the theme file chosen before, into a model the page owns.
class PageBackgroundPage : public QWizardPage
{
    Q_OBJECT

public:
    // The ids of the three radio buttons in their group.
    enum BackgroundKind
    {
        ColourKind = 0,
        GradientKind = 1,
        ImageKind = 2
    };

    explicit PageBackgroundPage(QWidget* parent = nullptr);

    // Shows the open project's page-background images, filtered to its orientation.
    void setDocument(const VelmoraDocument* document);
    // Takes the record's background and shows its kind, without asking anything.
    void setNewPageData(const NewPageData& data);
    // The theme file of a new project; a different path drops the images shown, and the next
    // initializePage() reads those of the new theme.
    void setThemePath(const QString& path);

    int kind() const { return backgroundKind; }
    const QColor& colour() const { return backgroundColour; }
    const Gradient& gradient() const { return backgroundGradient; }
    unsigned int imageId() const { return backgroundImageId; }
    const QString& imageFile() const { return backgroundImageFile; }

    void initializePage() override;
    bool isComplete() const override;

    // For tests.
    QRadioButton* kindButton(int kind) const;
    ColourButton* colourButton() const { return colourPushButton; }
    GradientPicker* gradientPicker() const { return picker; }
    QPushButton* editButton() const { return editPushButton; }
    QPushButton* browseButton() const { return browsePushButton; }
    CenteredIconGridView* imageView() const { return view; }
    BackgroundImageDelegate* imageDelegate() const { return delegate; }
    ThemeImageProxyModel* imageProxy() const { return proxy; }

public slots:
    void onBackgroundChange(int kind);
    void onColourClicked();
    void onGradientChange();
    void onGradientChange(const QModelIndex& index);
    void onGradientEditClicked();
    void onImageSelected(const QModelIndex& index);
    void onBrowseClicked();

private:
    // Selects the row of the image kept (by id, or by file when the id is UINT_MAX).
    void selectCurrentImage();
    void selectProxyRow(const QModelIndex& proxyIndex);
    // Enables the controls of the current kind only.
    void enableForKind();
    // Drops the proxy and the page's own image model (not the document's).
    void dropImages();
    ThemeImageModel* imageModel() const;

    int backgroundKind = ColourKind;
    QColor backgroundColour;
    Gradient backgroundGradient;
    unsigned int backgroundImageId = UINT_MAX;
    QString backgroundImageFile;
    QButtonGroup* kindGroup;
    QRadioButton* colourRadio;
    QRadioButton* gradientRadio;
    QRadioButton* imageRadio;
    ColourButton* colourPushButton;
    GradientPicker* picker;
    QPushButton* editPushButton;
    QPushButton* browsePushButton;
    CenteredIconGridView* view;
    BackgroundImageDelegate* delegate;
    ThemeImageProxyModel* proxy = nullptr;
    // The model read from the theme file (project mode); null in page mode.
    ThemeImageModel* ownModel = nullptr;
    QString themePath;
};
