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
    explicit TextProperty(Property* parent, const QString& name = QString(), bool editable = true)
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
    page->name = "Page";
    auto* background = new TextProperty(page, "Background");
    auto* rotation = new TextProperty(background, "Rotation");
    new TextProperty(background, "Scaling");
    auto* control = new PropertyGroup(nullptr);
    model.root()->insertChild(control, 0);
    rotation->setValue(90);

    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(1, 0), page->index(0));
    EXPECT_EQ(model.rowCount(page->index(0)), 1);
    EXPECT_EQ(model.rowCount(page->index(1)), 0);
    EXPECT_EQ(model.parent(rotation->index(1)), background->index(0));
    EXPECT_EQ(model.data(rotation->index(0)), "Rotation");
    EXPECT_EQ(model.data(rotation->index(1)), "90");
    EXPECT_FALSE(model.data(rotation->index(1), Qt::EditRole).isValid());

    // Detach and re-attach a row with children, then delete a middle row.
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    Property* detached = page->removeChild(0);
    ASSERT_EQ(detached, background);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(rotation->model(), nullptr);
    EXPECT_FALSE(rotation->index(1).isValid());
    control->appendChild(background);
    EXPECT_EQ(rotation->model(), &model);
    EXPECT_EQ(model.parent(model.parent(rotation->index(0))), control->index(0));
    delete rotation;
    EXPECT_EQ(removed.count(), 2);
    EXPECT_EQ(background->childCount(), 1);
    EXPECT_EQ(background->child(0)->name, "Scaling");
}

TEST(PropertyModel, FlagsFollowEditabilityAndReadOnly)
{
    PropertyModel model;
    const struct
    {
        bool editable;
        bool readOnly;
        int valueFlags;
    } cases[] = {{true, false, 35}, {true, true, 33}, {false, false, 33}, {false, true, 33}};
    for (const auto& c : cases) {
        TextProperty row(model.root(), "row", c.editable);
        row.setFlag(Property::ReadOnly, c.readOnly);
        EXPECT_EQ(int(model.flags(row.index(1))), c.valueFlags) << c.editable << c.readOnly;
        EXPECT_EQ(int(model.flags(row.index(0))), 33);
    }
    EXPECT_EQ(int(model.flags(QModelIndex())), 0);
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
        int expected;
    } edits[] = {
        {2, Qt::EditRole, false, 2},    // equal: nothing happens
        {3, Qt::EditRole, false, 2},    // refused by the validator
        {4, Qt::DisplayRole, false, 2}, // not an edit
        {4, Qt::EditRole, true, 4},
    };
    for (const auto& e : edits) {
        EXPECT_EQ(model.setData(row.index(1), e.value, e.role), e.stored) << e.value.toInt();
        EXPECT_EQ(row.value().toInt(), e.expected);
    }
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<Property*>(), &row);
    ASSERT_EQ(repainted.count(), 1);
    EXPECT_EQ(repainted[0][0].toModelIndex(), row.index(1));

    // Loading a value repaints but does not echo; loading the same value does neither.
    row.setValue(6);
    row.setValue(6);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(repainted.count(), 2);
}

TEST(PropertyModel, ResetAnnouncesOnlyAChange)
{
    PropertyModel model;
    TextProperty row(model.root(), "row");
    QSignalSpy changed(&model, &PropertyModel::propertyChanged);
    model.resetProperty(row.index(1));
    EXPECT_EQ(changed.count(), 0);
    row.setValue("x");
    model.resetProperty(row.index(1));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(row.value().isValid());
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
    } // the model's root lets the member go
    EXPECT_EQ(member.parentProperty(), nullptr);
    // Its model is gone: loading a value must not reach it.
    member.setValue("still here");
    EXPECT_EQ(member.toText(), "still here");
}

TEST(PropertyModel, TreeOperationsRefuseWhatTheyCannotDo)
{
    PropertyModel model;
    TextProperty free(nullptr, "free");
    EXPECT_EQ(free.model(), nullptr);
    EXPECT_FALSE(free.index(0).isValid());
    TextProperty a(model.root(), "a");
    TextProperty b(model.root(), "b");
    a.appendChild(&b); // already has a parent
    EXPECT_EQ(a.childCount(), 0);
    EXPECT_EQ(a.removeChild(0), nullptr);
    EXPECT_EQ(model.root()->removeChild(-1), nullptr);
    EXPECT_EQ(model.root()->removeChild(&free), nullptr);
    EXPECT_EQ(model.root()->childCount(), 2);
    EXPECT_EQ(model.property(QModelIndex()), model.root());
}

TEST(PropertyModel, HeaderNamesTheColumns)
{
    PropertyModel model;
    const QAbstractItemModel& base = model;
    EXPECT_EQ(model.headerData(0, Qt::Horizontal), "Name");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal), "Value");
    EXPECT_EQ(model.headerData(0, Qt::Vertical),
              base.QAbstractItemModel::headerData(0, Qt::Vertical));
    EXPECT_FALSE(model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
}
