#include "appengine/theme_skin_model.h"
#include "common/helpers.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class ThemeSkinModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model.addSkin("Normal", false);
        model.addSkin("Pressed", false);
        model.addSkin("Used", true);
        model.setDefaultSkin("Normal");
    }

    QStringList shown() const { return TestUtil::rowTexts(&model); }

    ThemeSkinModel model;
    QSignalSpy renames{&model, &ThemeSkinModel::changeSkinName};
    QSignalSpy refusals{&model, &ThemeSkinModel::cannotChangeNameOfSkinInUse};
};

} // namespace

TEST_F(ThemeSkinModelTest, TheDefaultRowShowsItsSuffix)
{
    EXPECT_EQ(shown(), QStringList({"Normal (Default)", "Pressed", "Used"}));
    EXPECT_EQ(model.skinName(model.index(0, 0)), "Normal");
    EXPECT_EQ(model.index(0, 0).data(Qt::EditRole), QVariant("Normal"));
    EXPECT_TRUE(model.index(2, 0).data(ThemeSkinModel::InUseRole).toBool());

    model.renameSkin("Normal", "Idle");
    model.renameSkin("Missing", "Other");
    EXPECT_EQ(shown(), QStringList({"Idle (Default)", "Pressed", "Used"}));
    model.setDefaultSkin("Pressed");
    EXPECT_EQ(shown(), QStringList({"Idle", "Pressed (Default)", "Used"}));
    model.setDefaultSkin("Missing");
    EXPECT_EQ(shown(), QStringList({"Idle", "Pressed", "Used"}));
}

TEST_F(ThemeSkinModelTest, EditsBecomeRenameRequests)
{
    struct Case
    {
        int row;
        QString name;
        bool accepted;
        int refusals;
    };
    const Case cases[] = {
        {1, "Down", true, 0},    {1, "pressed", true, 0},  {0, "NORMAL", true, 0},
        {1, "Normal", false, 0}, {1, "Pressed", false, 0}, {0, "Normal", false, 0},
        {1, "", false, 0},       {2, "Fresh", false, 1},
    };
    for (const Case& c : cases) {
        renames.clear();
        refusals.clear();
        EXPECT_EQ(model.setData(model.index(c.row, 0), c.name), c.accepted) << c.name.toStdString();
        EXPECT_EQ(refusals.count(), c.refusals);
        ASSERT_EQ(renames.count(), c.accepted ? 1 : 0);
        if (c.accepted) {
            EXPECT_EQ(renames[0][0].toString(), model.skinName(model.index(c.row, 0)));
            EXPECT_EQ(renames[0][1].toString(), c.name);
        }
    }
    EXPECT_EQ(shown(), QStringList({"Normal (Default)", "Pressed", "Used"}));
}

TEST_F(ThemeSkinModelTest, RowsInUseAreNotRemoved)
{
    model.removeSkin("Used");
    model.removeSkin("Missing");
    model.removeSkin("Pressed");
    EXPECT_EQ(shown(), QStringList({"Normal (Default)", "Used"}));
}
