#pragma once

#include <QDialog>
#include <QUrl>

#include "main/software_update_form.h"

class VersionChecker;

// Names the newest release offered for this platform and the running version, shows the
// release's notes and, on "Go To Website", opens its download page in the web browser.
class SoftwareUpdateDialog : public QDialog
{
    Q_OBJECT

public:
    SoftwareUpdateDialog(const VersionChecker& checker, bool finalOnly, QWidget* parent = nullptr);

    const QUrl& downloadPage() const { return page; }

public slots:
    // Opens the download page when it is a web address, then closes as accepted.
    void accept() override;

private:
    Ui::SoftwareUpdateForm ui;
    QUrl page;
};
