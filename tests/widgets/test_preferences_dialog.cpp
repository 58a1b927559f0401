#include "common/isolated_settings.h"
#include "main/velmora_preferences.h"
#include "widgets/preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

struct Values
{
    bool beta;
    bool maintain;
    int step;
    int jump;
};

struct Form
{
    explicit Form(QDialog& dialog)
        : beta(dialog.findChild<QCheckBox*>("notifyAboutBetaReleaseEdit")),
          maintain(dialog.findChild<QCheckBox*>("maintainAddControlEdit")),
          step(dialog.findChild<QSpinBox*>("controlKeyStepSizeEdit")),
          jump(dialog.findChild<QSpinBox*>("controlKeyJumpSizeEdit")),
          buttons(dialog.findChild<QDialogButtonBox*>("buttonBox"))
    {
    }
    QVariantList shown() const
    {
        return {beta->isChecked(), maintain->isChecked(), step->value(), jump->value()};
    }
    void enter(const Values& v)
    {
        beta->setChecked(v.beta);
        maintain->setChecked(v.maintain);
        step->setValue(v.step);
        jump->setValue(v.jump);
    }

    QCheckBox* beta;
    QCheckBox* maintain;
    QSpinBox* step;
    QSpinBox* jump;
    QDialogButtonBox* buttons;
};

QVariantList valuesOf(const Preferences& preferences)
{
    return {preferences.value(0), preferences.value(1), preferences.value(2), preferences.value(3)};
}

} // namespace

// The sizes are shown within 1 to 100, whatever the store holds, and the spin boxes take
// nothing outside that range.
TEST(PreferencesDialog, ShowsTheStoredValuesWithinTheSizeRange)
{
    const struct
    {
        Values stored;
        QVariantList shown;
    } cases[] = {
        {{false, true, 1, 10}, {false, true, 1, 10}},
        {{true, false, 7, 150}, {true, false, 7, 100}},
        {{false, false, 0, -3}, {false, false, 1, 1}},
    };
    for (const auto& c : cases) {
        TestUtil::IsolatedSettings settings;
        VelmoraPreferences preferences;
        preferences.setValue(0, c.stored.beta);
        preferences.setValue(1, c.stored.maintain);
        preferences.setValue(2, c.stored.step);
        preferences.setValue(3, c.stored.jump);
        PreferencesDialog dialog(preferences);
        Form form(dialog);
        EXPECT_EQ(form.shown(), c.shown);
        form.enter({false, false, 101, 0});
        EXPECT_EQ(form.step->value(), 100);
        EXPECT_EQ(form.jump->value(), 1);
    }
}

TEST(PreferencesDialog, OkWritesTheChangedValuesAndCancelNothing)
{
    const QStringList keys = {"ControlKeyJumpSize", "ControlKeyStepSize",
                              "MaintainAddControlActions", "NotifyAboutBetaReleases"};
    const struct
    {
        const char* name;
        bool edit;
        QDialogButtonBox::StandardButton button;
        QVariantList values;
        int changes;
        QStringList storedKeys;
    } cases[] = {
        {"ok", true, QDialogButtonBox::Ok, {true, false, 5, 50}, 4, keys},
        {"ok unchanged", false, QDialogButtonBox::Ok, {false, true, 1, 10}, 0, {}},
        {"cancel", true, QDialogButtonBox::Cancel, {false, true, 1, 10}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestUtil::IsolatedSettings settings;
        VelmoraPreferences preferences;
        QSignalSpy changed(&preferences, &Preferences::valueChanged);
        PreferencesDialog dialog(preferences);
        dialog.show();
        Form form(dialog);
        if (c.edit)
            form.enter({true, false, 5, 50});
        form.buttons->button(c.button)->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(),
                  c.button == QDialogButtonBox::Ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(valuesOf(preferences), c.values);
        EXPECT_EQ(changed.count(), c.changes);
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Orvane", "Dravelin");
        EXPECT_EQ(store.allKeys(), c.storedKeys);
    }
}
