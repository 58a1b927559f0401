#include "common/gradients.h"
#include "common/modal_answerer.h"
#include "core/gradient.h"
#include "core/gradient_library.h"
#include "gui/basic_properties.h"
#include "gui/colour_picker.h"
#include "gui/colour_picker_dialog.h"
#include "gui/colour_property.h"
#include "gui/gradient_dialog.h"
#include "gui/gradient_picker.h"
#include "gui/gradient_property.h"
#include "gui/property_delegate.h"
#include "gui/property_model.h"
#include "velmora_objects/velmora_types.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListView>
#include <QPainter>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

TEST(BasicProperties, AcceptOnlyTheirListedValueTypes)
{
    using K = PropertyValueKind;
    const QVariant colour = QColor(Qt::red);
    const struct
    {
        K kind;
        QVariant value;
        bool accepted;
    } cases[] = {
        {K::String, "text", true},
        {K::String, 12u, true},
        {K::String, colour, false},
        {K::String, QVariant::fromValue(Gradient()), false},
        {K::Int, 7u, true},
        {K::Int, QVariant::fromValue(Velmora::ButtonFunction_BACK), false},
        {K::Int, colour, false},
        {K::Double, QPointF(1, 2), false},
        {K::Bool, 0, true},
        {K::Bool, colour, false},
        {K::Colour, colour, true},
        {K::Colour, "#ff0000", true},
        {K::Colour, 0xff0000, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isAcceptedValue(c.kind, c.value), c.accepted)
            << int(c.kind) << " " << c.value.metaType().name();

    // A refused value unsets; an accepted one keeps its own type.
    StringProperty text(nullptr);
    text.setValue(12u);
    EXPECT_EQ(text.value().metaType(), QMetaType::fromType<uint>());
    text.setValue(colour);
    EXPECT_FALSE(text.value().isValid());
}

TEST(BasicProperties, ShowTheirValuesAsText)
{
    IntProperty number(nullptr);
    number.specialValueText = "Off";
    number.suffix = "px";
    DoubleProperty decimal(nullptr);
    decimal.minimum = 0.05;
    decimal.specialValueText = "Least";
    BoolProperty yesNo(nullptr);
    const struct
    {
        Property* property;
        QVariant value;
        QString text;
    } cases[] = {
        {&number, QVariant(), ""}, {&number, 0, "Off"},       {&number, 5, "5px"},
        {&decimal, 0.5, "0.5"},    {&decimal, 0.05, "Least"}, {&yesNo, true, "Yes"},
        {&yesNo, 0, "No"},         {&yesNo, QVariant(), ""},
    };
    for (const auto& c : cases) {
        c.property->setValue(c.value);
        EXPECT_EQ(c.property->toText(), c.text) << c.value.toString().toStdString();
    }
}

TEST(BasicProperties, SpinBoxesCarryTheSettings)
{
    IntProperty rotation(nullptr);
    rotation.maximum = 359;
    rotation.wrapping = true;
    rotation.setValue(359);
    IntProperty plain(nullptr);
    plain.setValue(0);
    DoubleProperty opacity(nullptr);
    opacity.maximum = 1.0;
    opacity.setValue(0.0);
    // Rotation wraps to 0; the plain number stays at its minimum; one opacity step reaches 1.
    const struct
    {
        Property* property;
        int steps;
        QVariant result;
    } cases[] = {{&rotation, 1, 0}, {&plain, -1, 0}, {&opacity, 1, 1.0}};
    for (const auto& c : cases) {
        std::unique_ptr<QWidget> editor(c.property->createEditor(nullptr, nullptr, nullptr));
        c.property->setEditorData(editor.get());
        static_cast<QAbstractSpinBox*>(editor.get())->stepBy(c.steps);
        EXPECT_EQ(c.property->valueFromEditor(editor.get()), c.result);
    }
}

TEST(BasicProperties, PickingInTheYesNoListCommitsAtOnce)
{
    PropertyModel model;
    PropertyDelegate delegate;
    auto* flag = new BoolProperty(model.root());
    flag->setValue(true);
    QTreeView view;
    view.setModel(&model);
    view.setItemDelegate(&delegate);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy changed(&model, &PropertyModel::propertyChanged);
    view.edit(flag->index(1));
    auto* combo = qobject_cast<QComboBox*>(view.indexWidget(flag->index(1)));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), 0);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(flag->value(), QVariant(false));
}

namespace {

const QColor red(255, 0, 0), blue(0, 0, 255);

// The gradient picker and dialog work on the application's library, made once per program.
class SwatchPropertiesTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        TestUtil::startScratchGradientLibrary();
        GradientLibrary* library = GradientLibrary::instance();
        for (const char* name : {"Warm", "Cool"})
            library->addGradient(TestUtil::makeGradient(name, {{0.0, red}, {1.0, blue}}),
                                 GradientLibrary::BuiltInGradient, "", "");
        // Different stops, so that the library tells the two apart.
        library->setGradient(library->index(1, 0),
                             TestUtil::makeGradient("Cool", {{0.0, blue}, {1.0, red}}));
    }
    static Gradient libraryGradient(int row)
    {
        return TestUtil::gradientAt(GradientLibrary::instance()->index(row, 0));
    }

    PropertyModel model;
};

} // namespace

TEST_F(SwatchPropertiesTest, ColourDialogPreviewsOnlyFromASetColour)
{
    const struct
    {
        QVariant start;
        bool accept;
        QVariant end;
        int changes;
    } cases[] = {
        {QColor(red), false, QColor(red), 2}, // the live change, then the restore
        {QColor(red), true, QColor(blue), 1},
        {QVariant(), false, QVariant(), 0}, // a mixed selection stays as it was
        {QVariant(), true, QColor(blue), 1},
    };
    for (const auto& c : cases) {
        ColourProperty colour(model.root());
        colour.setValue(c.start);
        QSignalSpy changed(&model, &PropertyModel::propertyChanged);
        TestUtil::ModalAnswerer answers;
        answers.then([&](QWidget* window) {
            auto* dialog = qobject_cast<ColourPickerDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            emit dialog->picker()->colourChanged(blue); // the user picks blue
            dialog->done(c.accept ? QDialog::Accepted : QDialog::Rejected);
        });
        colour.showMoreEditor(nullptr);
        EXPECT_EQ(colour.value(), c.end) << c.start.isValid() << c.accept;
        EXPECT_EQ(changed.count(), c.changes) << c.start.isValid() << c.accept;
    }
}

TEST_F(SwatchPropertiesTest, SwatchesAreFramedAndInset)
{
    ColourProperty colour(nullptr);
    colour.setValue(QColor(red));
    GradientProperty gradient(nullptr);
    gradient.setValue(QVariant::fromValue(libraryGradient(0)));
    QStyleOption option;
    option.rect = QRect(0, 0, 60, 20);
    for (const Property* property :
         {static_cast<Property*>(&colour), static_cast<Property*>(&gradient)}) {
        QImage image(60, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        EXPECT_TRUE(property->paint(&painter, option));
        painter.end();
        EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
        EXPECT_EQ(image.pixelColor(2, 10), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(30, 18),
                  QColor(Qt::black)); // the outline closes one pixel further down
        EXPECT_EQ(image.pixelColor(30, 19), QColor(Qt::white));
        EXPECT_GT(image.pixelColor(4, 10).red(), 230);
        EXPECT_EQ(image.pixelColor(55, 10).red() < 30,
                  property == static_cast<Property*>(&gradient));
    }
    // Unset, the colour cell stays empty and the gradient leaves the (empty) name to the view.
    colour.setValue(QVariant());
    gradient.setValue(QColor(red));
    QImage image(60, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_TRUE(colour.paint(&painter, option));
    EXPECT_FALSE(gradient.paint(&painter, option));
    EXPECT_EQ(gradient.toText(), "");
}

TEST_F(SwatchPropertiesTest, ResetsStoreTheDefault)
{
    ColourProperty background(model.root());
    background.defaultColour = Qt::white;
    GradientProperty gradient(model.root());
    gradient.setValue(QVariant::fromValue(libraryGradient(1)));
    EXPECT_EQ(gradient.toText(), "Cool");
    QSignalSpy changed(&model, &PropertyModel::propertyChanged);
    const struct
    {
        Property* property;
        QVariant start, end;
        int changes;
    } cases[] = {
        {&background, QColor(Qt::white), QColor(Qt::white), 0},
        {&background, QColor(red), QColor(Qt::white), 1},
        {&gradient, QVariant::fromValue(libraryGradient(1)), QVariant::fromValue(Gradient()), 1},
        {&gradient, QVariant::fromValue(Gradient()), QVariant::fromValue(Gradient()), 0},
    };
    for (const auto& c : cases) {
        c.property->setValue(c.start);
        changed.clear();
        model.resetProperty(c.property->index(1));
        EXPECT_EQ(c.property->value(), c.end);
        EXPECT_EQ(changed.count(), c.changes);
    }
}

TEST_F(SwatchPropertiesTest, GradientIsPickedInPlaceOrInTheDialog)
{
    GradientProperty gradient(model.root());
    gradient.setValue(QVariant::fromValue(libraryGradient(0)));
    EXPECT_FALSE(gradient.compare(QVariant::fromValue(libraryGradient(1))));
    EXPECT_TRUE(gradient.compare(QVariant::fromValue(libraryGradient(0))));
    std::unique_ptr<QWidget> editor(gradient.createEditor(nullptr, nullptr, nullptr));
    gradient.setEditorData(editor.get());
    EXPECT_EQ(static_cast<GradientPicker*>(editor.get())->currentIndex(), 0);
    static_cast<GradientPicker*>(editor.get())->setCurrentIndex(1);
    EXPECT_EQ(gradient.valueFromEditor(editor.get()), QVariant::fromValue(libraryGradient(1)));

    // The dialog opens on the stored gradient; a choice there applies at once.
    TestUtil::ModalAnswerer answers;
    answers.then([](QWidget* window) {
        auto* list = window->findChild<QListView*>();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 0);
        list->selectionModel()->select(list->model()->index(1, 0),
                                       QItemSelectionModel::ClearAndSelect);
        static_cast<QDialog*>(window)->reject();
    });
    QSignalSpy changed(&model, &PropertyModel::propertyChanged);
    gradient.showMoreEditor(nullptr);
    EXPECT_EQ(gradient.toText(), "Cool");
    EXPECT_EQ(changed.count(), 1);
}
