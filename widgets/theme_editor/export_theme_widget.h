#pragma once

#include "widgets/theme_editor/export_theme_widget_form.h"

#include <QString>
#include <QWidget>
#include <functional>

class ProgressHandler;

namespace Velmora {
class Theme;
}

// The page of the theme editor dialog that writes the project's theme, as the project holds
// it but under the name the user types, to a theme file of the user's naming. The written file
// joins the theme library and the user's list of theme files. The page edits nothing and decides
// nothing beyond the write: it reports the outcome through its signals and the dialog moves on.
class ExportThemeWidget : public QWidget, private Ui::ExportThemeWidget
{
    Q_OBJECT

public:
    // Records a written theme file in the user's list of theme files, so that it is offered
    // again at the next start.
    using ThemeRegistrar = std::function<void(const QString& path)>;

    explicit ExportThemeWidget(QWidget* parent = nullptr);
    ~ExportThemeWidget() override;

    // The reporter handed to the theme file writer; not owned.
    void setProgressHandler(ProgressHandler* handler) { progressHandler = handler; }
    void setThemeRegistrar(ThemeRegistrar registrar) { themeRegistrar = std::move(registrar); }

    // Prepares the page for one export of the theme (not owned; it must outlive the page's
    // use of it): the name is the theme's, the path follows it in the remembered theme folder,
    // and anything typed or browsed on an earlier visit is forgotten.
    void setTheme(const Velmora::Theme* theme);

signals:
    // The theme file was written and added to the library.
    void done();
    void cancel();
    // The theme file writer's code and reason for a failed write (ThemeFileWriter::error and
    // errorString); nothing was stored or added.
    void themeFileWriterError(int code, const QString& reason);

public slots:
    // Save is usable exactly when both a name and a path are given.
    void checkReady();
    void onSaveClicked();

private:
    const Velmora::Theme* theme = nullptr;
    ProgressHandler* progressHandler = nullptr;
    ThemeRegistrar themeRegistrar;
};
