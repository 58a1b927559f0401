#pragma once

#include "widgets/duplicate_page_form.h"

#include <QDialog>

// Asks how the current page is to be duplicated. Run it with exec(): Accepted means a way was
// chosen and duplicateMode() names it (VelmoraDocument::DuplicateRenamingControls, 1, gives
// copied controls new keys; DuplicateKeepingKeys, 3, keeps their keys); Rejected (Cancel,
// Escape, closing the window) leaves the mode at 0 and nothing is to be duplicated.
class DuplicatePageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DuplicatePageDialog(QWidget* parent = nullptr);

    int duplicateMode() const { return mode; }

public slots:
    // Each sets its mode and closes the dialog as accepted.
    void acceptDefault();
    void acceptFull();

private:
    Ui::DuplicatePageForm form;
    int mode = 0;
};
