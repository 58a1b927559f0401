#include "main/software_update_dialog.h"

#include "gui/url_opener.h"
#include "main/vendor_variants.h"
#include "main/version_checker.h"

namespace {

// The release list is not authenticated: of what it names, only a web page may be opened,
// never a local file, a program or another handler's address.
bool isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

SoftwareUpdateDialog::SoftwareUpdateDialog(const VersionChecker& checker, bool finalOnly,
                                           QWidget* parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    setWindowTitle(tr("Software Update"));

    const SoftwareVersion& latest = checker.latestVersion(finalOnly);
    page = checker.downloadPage(latest);
    ui.oldVersionLabel->setText(
        ui.oldVersionLabel->text().arg(currentSoftwareVersion().toString()));
    ui.newVersionLabel->setText(ui.newVersionLabel->text().arg(latest.toString()));
    ui.releaseNotesView->setText(checker.releaseNotes(latest));

    connect(ui.downloadButton, &QPushButton::clicked, this, &SoftwareUpdateDialog::accept);
    connect(ui.cancelButton, &QPushButton::clicked, this, &SoftwareUpdateDialog::reject);
}

void SoftwareUpdateDialog::accept()
{
    if (isWebAddress(page))
        UrlOpener::open(page);
    QDialog::accept();
}
