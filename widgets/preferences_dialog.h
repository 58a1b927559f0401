#pragma once

#include "widgets/preferences_form.h"

#include <QDialog>

class Preferences;

// The modal dialog in which the user edits the editor's four preferences (the numbers of
// VelmoraPreferences): whether an add-control tool stays armed, the keyboard step and jump
// sizes of the page view, and whether beta releases are announced. It shows the values in force
// when it is made; OK writes all four, Cancel nothing. The preferences store and announce only
// the values that actually changed.
class PreferencesDialog : public QDialog
{
    Q_OBJECT

public:
    // The preferences must outlive the dialog.
    explicit PreferencesDialog(Preferences& preferences, QWidget* parent = nullptr);

public slots:
    void accept() override;

private:
    Ui::PreferencesForm form;
    Preferences& preferences;
};
