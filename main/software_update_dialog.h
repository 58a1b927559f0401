#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

#include "main/software_update_form.h"

class VersionChecker;

// Names the newest release offered for this platform and the running version, shows the
// release's notes and, on "Go To Website", opens its download page in the web browser.
class SoftwareUpdateDialog : public QDialog
{
    Q_OBJECT

public:
    // What opens an address outside the program; the web browser unless replaced.
    using UrlOpener = std::function<bool(const QUrl&)>;

    SoftwareUpdateDialog(const VersionChecker& checker, bool finalOnly, QWidget* parent = nullptr);

    const QUrl& downloadPage() const { return page; }

    // Replaces the opener for every dialog; an empty function restores the web browser.
    static void setUrlOpener(const UrlOpener& opener);

public slots:
    // Opens the download page when it is a web address, then closes as accepted.
    void accept() override;

private:
    Ui::SoftwareUpdateForm ui;
    QUrl page;
};
