#include "gui/property.h"
#include "gui/property_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TextProperty : public Property
{
public:
    TextProperty(Property* parent, const QString& name, bool editable = true)
        : Property(parent), editable(editable)
    {
        this->name = name;
    }
    QString toText() const override { return value().toString(); }
    bool isEditable() const override { return editable; }
    bool editable;
};

class RefuseOdd : public PropertyValidator
{
public:
    bool validate(Property*, const QVariant& value) override { return value.toInt() % 2 == 0; }
};

} // namespace

TEST(PropertyModel, KeepsAThreeLevelTreeConsistentThroughChanges)
{
    PropertyModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    auto* page = new PropertyGroup(model.root());
    auto* background = new TextProperty(page, "Background");
    auto* rotation = new TextProperty(background, "Rotation");
    new TextProperty(background, "Scaling");
    auto* control = new PropertyGroup(nullptr);
    model.root()->insertChild(control, 0);
    rotation->setValue(90);
    EXPECT_EQ(model.index(1, 0), page->index(0));
    EXPECT_EQ(model.parent(rotation->index(1)), background->index(0));
    EXPECT_EQ(model.data(rotation->index(1)), "90");
    EXPECT_FALSE(model.data(rotation->index(1), Qt::EditRole).isValid());

    // Detach a row with children and attach it elsewhere; a row that has a parent is refused.
    ASSERT_EQ(page->removeChild(0), background);
    EXPECT_EQ(rotation->model(), nullptr);
    EXPECT_EQ(page->removeChild(0), nullptr);
    control->appendChild(background);
    page->appendChild(background);
    EXPECT_EQ(page->childCount(), 0);
    EXPECT_EQ(model.parent(model.parent(rotation->index(0))), control->index(0));
    delete rotation;
    ASSERT_EQ(background->childCount(), 1);
    EXPECT_EQ(background->child(0)->name, "Scaling");
    EXPECT_EQ(model.headerData(0, Qt::Horizontal), "Name");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal), "Value");
}

TEST(PropertyModel, FlagsFollowEditabilityAndReadOnly)
{
    PropertyModel model;
    const struct
    {
        bool editable, readOnly;
        int valueFlags;
    } cases[] = {{true, false, 35}, {true, true, 33}, {false, false, 33}};
    for (const auto& c : cases) {
        TextProperty row(model.root(), "row", c.editable);
        row.setFlag(Property::ReadOnly, c.readOnly);
        EXPECT_EQ(int(model.flags(row.index(1))), c.valueFlags) << c.editable << c.readOnly;
        EXPECT_EQ(int(model.flags(row.index(0))), 33);
    }
}

TEST(PropertyModel, EditsPassTheValidatorAndAreAnnounced)
{
    PropertyModel model;
    RefuseOdd validator;
    model.setValidator(&validator);
    TextProperty row(model.root(), "row");
    row.setValue(2);
    QSignalSpy changed(&model, &PropertyModel::propertyChanged);
    QSignalSpy repainted(&model, &QAbstractItemModel::dataChanged);
    const struct
    {
        QVariant value;
        int role;
        bool stored;
    } edits[] = {
        {2, Qt::EditRole, false},    // equal: nothing happens
        {3, Qt::EditRole, false},    // refused by the validator
        {4, Qt::DisplayRole, false}, // not an edit
        {4, Qt::EditRole, true},
    };
    for (const auto& e : edits)
        EXPECT_EQ(model.setData(row.index(1), e.value, e.role), e.stored) << e.value.toInt();
    EXPECT_EQ(row.value(), QVariant(4));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<Property*>(), &row);
    EXPECT_EQ(repainted.count(), 1);

    // Loading repaints without echoing; resetting announces only a change.
    row.setValue(6);
    row.setValue(6);
    EXPECT_EQ(repainted.count(), 2);
    model.resetProperty(row.index(1));
    model.resetProperty(row.index(1));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(model.data(row.index(1)), "");
}

TEST(PropertyModel, ExternallyOwnedChildOutlivesParentAndModel)
{
    TextProperty member(nullptr, "member");
    member.setFlag(Property::ExternallyOwned, true);
    {
        auto model = std::make_unique<PropertyModel>();
        auto* group = new PropertyGroup(model->root());
        group->appendChild(&member);
        new TextProperty(group, "owned");
        delete group;
        EXPECT_EQ(member.parentProperty(), nullptr);
        EXPECT_EQ(member.model(), nullptr);
        model->root()->appendChild(&member);
    }
    // Its model is gone: loading a value must not reach it.
    member.setValue("still here");
    EXPECT_EQ(member.toText(), "still here");
}
