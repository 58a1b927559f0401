#pragma once

#include "widgets/configuration_edit_record.h"

#include <QDialog>
#include <QModelIndex>
#include <memory>

class QStandardItemModel;
class Ui_ConfigurationPropertiesForm;

namespace Velmora {
class Configuration;
}

// The modal "Project Properties" dialog: picks another theme from the theme library, sets the
// panel lock (on or off, unlock code, unlock function, lock timeout) and removes IR slot
// assignments. It never changes the project: it records what the user changed, and the caller
// hands the record of an accepted dialog to pushProjectProperties, one undo step.
class ConfigurationPropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    // Shows the settings of the project, which must outlive the dialog and stay unchanged while
    // it is open.
    explicit ConfigurationPropertiesDialog(const Velmora::Configuration& project,
                                           QWidget* parent = nullptr);
    ~ConfigurationPropertiesDialog() override;

    const ConfigurationEditRecord& editRecord() const { return record; }
    // Whether the lock settings may be kept: the lock is off, its code untouched, or the code
    // has at least 3 digits. Ok is enabled exactly then.
    bool isValid() const;

public slots:
    void onThemeSelected();
    void onSecurityToggled(bool on);
    void onUnlockCodeChanged();
    void onUnlockFunctionChanged(int index);
    void onLockTimeoutChanged(int minutes);
    void handleIRTableIndexClick(const QModelIndex& index);
    void clearAllIRSlots();

protected:
    // Closing the window with changes asks whether to keep them (Save only when they are
    // valid); Cancel and Escape reject at once without asking.
    void closeEvent(QCloseEvent* event) override;

private:
    void fillIRSlotTable(const Velmora::Configuration& project);
    void updateOkButton();

    std::unique_ptr<Ui_ConfigurationPropertiesForm> ui;
    ConfigurationEditRecord record;
    // Slot, control, clear button; the slot number is under Qt::UserRole of the last column.
    QStandardItemModel* irSlotModel;
};
