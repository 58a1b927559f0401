#include "widgets/duplicate_page_dialog.h"

#include "main/velmora_document.h"

// The copy icon of the command links is built into this static library; its resources must
// be pulled in by name before the form loads the icon. (Q_INIT_RESOURCE declares the loader in
// the enclosing namespace, so this stays at global scope.)
static void loadDuplicatePageResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(duplicate_page_dialog);
        return true;
    }();
    (void)loaded;
}

DuplicatePageDialog::DuplicatePageDialog(QWidget* parent) : QDialog(parent)
{
    loadDuplicatePageResources();
    form.setupUi(this);
    connect(form.defaultButton, &QCommandLinkButton::clicked, this,
            &DuplicatePageDialog::acceptDefault);
    connect(form.fullButton, &QCommandLinkButton::clicked, this, &DuplicatePageDialog::acceptFull);
    connect(form.buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void DuplicatePageDialog::acceptDefault()
{
    mode = VelmoraDocument::DuplicateRenamingControls;
    accept();
}

void DuplicatePageDialog::acceptFull()
{
    mode = VelmoraDocument::DuplicateKeepingKeys;
    accept();
}
