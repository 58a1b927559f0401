#include "appengine/theme_image_model.h"
#include "common/helpers.h"
#include "common/sample_themes.h"
#include "velmora_objects/edit_theme.h"
#include "velmora_objects/theme_xml_writer.h"
#include "widgets/theme_editor/theme_editor_commands.h"
#include "widgets/theme_editor/theme_editor_events.h"
#include "widgets/theme_editor/theme_image_commands.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QHash>
#include <QTemporaryDir>
#include <QUndoStack>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

using namespace Velmora;

namespace {

QString text(const QVariant& value)
{
    return value.isValid() ? value.toString() : QStringLiteral("-");
}

// Receives the commands' events and writes each as "<name of its type> <fields...>".
class EventLog : public QObject
{
public:
    // The events delivered since the last call, in order of arrival.
    QString take()
    {
        QCoreApplication::sendPostedEvents(this);
        return std::exchange(events, {}).join("; ");
    }

protected:
    bool event(QEvent* event) override
    {
        static const QHash<int, QString> names = {
            {DefaultSkinPropertyChangedEvent::EventType, "DefaultProperty"},
            {SkinPropertyChangedEvent::EventType, "SkinProperty"},
            {SkinAddedEvent::EventType, "SkinAdded"},
            {SkinRemovedEvent::EventType, "SkinRemoved"},
            {SkinNameChangedEvent::EventType, "SkinRenamed"},
            {DefaultSkinChangedEvent::EventType, "DefaultSkin"},
            {DefaultSkinNameChangedEvent::EventType, "DefaultSkinRenamed"},
            {SkinTransitionDurationChangedEvent::EventType, "Duration"},
            {SkinTransitionEasingChangedEvent::EventType, "Easing"}};
        QStringList fields{names.value(event->type(), QString::number(event->type()))};
        if (auto e = dynamic_cast<DefaultSkinPropertyChangedEvent*>(event))
            fields << e->propertyName << QString::number(e->itemType) << text(e->value);
        else if (auto e = dynamic_cast<SkinPropertyChangedEvent*>(event))
            fields << e->propertyName << e->skinName << QString::number(e->propertyType)
                   << QString::number(e->itemType) << text(e->value);
        else if (auto e = dynamic_cast<SkinTransitionDurationChangedEvent*>(event))
            fields << e->skinName << QString::number(e->itemType) << QString::number(e->duration);
        else if (auto e = dynamic_cast<SkinTransitionEasingChangedEvent*>(event))
            fields << e->skinName << QString::number(e->itemType) << QString::number(e->easing);
        else if (auto e = dynamic_cast<SkinEvent*>(event))
            fields << e->skinName << QString::number(e->itemType);
        else if (auto e = dynamic_cast<SkinRenameEvent*>(event))
            fields << e->oldName << e->newName << QString::number(e->itemType);
        else
            return QObject::event(event);
        events << fields.join(' ');
        return true;
    }

private:
    QStringList events;
};

QString documentOf(const Theme& theme)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ThemeXmlWriter().write(&buffer, theme);
    return QString::fromUtf8(buffer.data());
}

using Factory = std::function<QUndoCommand*(EditTheme*, QObject*)>;

// A factory of the command with the arguments, followed by the theme and the receiver.
template <class Command, class... Arguments> Factory make(Arguments... arguments)
{
    return [=](EditTheme* theme, QObject* receiver) {
        return new Command(arguments..., theme, receiver);
    };
}

struct CommandCase
{
    const char* name;
    Factory make;
    QString redoEvents; // separated by "; "
    QString undoEvents;
};

const ThemedItemType Button = ThemedItemType_BUTTON, Clock = ThemedItemType_CLOCK;
const QString N = "Normal", P = "Pressed";

// The events name the item type by number: 1 Button, 7 Clock; "-" is an invalid value.
// "first default item property" and "set the first default skin" undo a first setting: the
// theme then holds no value or no default skin again.
// clang-format off
const CommandCase commandCases[] = {
    {"theme name", make<EditThemeNameCommand>(QString("Red")), "", ""},
    {"default item property", make<EditDefaultItemPropertyCommand>(QString("fontSize"), Button, QVariant(20)),
     "DefaultProperty fontSize 1 20", "DefaultProperty fontSize 1 12"},
    {"first default item property", make<EditDefaultItemPropertyCommand>(QString("size"), Clock, QVariant(30)),
     "DefaultProperty size 7 30", "DefaultProperty size 7 -"},
    {"transition duration", make<EditSkinTransitionDurationCommand>(N, Button, 1500),
     "Duration Normal 1 1500", "Duration Normal 1 250"},
    {"transition easing", make<EditSkinTransitionEasingCommand>(P, Button, 7),
     "Easing Pressed 1 7", "Easing Pressed 1 45"},
    {"add skin beside a default", make<AddSkinCommand>(Button), "SkinAdded New State 1", "SkinRemoved New State 1"},
    {"add skin without a default", make<AddSkinCommand>(Clock),
     "SkinAdded New State 7; DefaultSkin New State 7", "SkinRemoved New State 7"},
    {"remove skin", make<RemoveSkinCommand>(P, Button), "SkinRemoved Pressed 1", "SkinAdded Pressed 1"},
    {"duplicate skin", make<DuplicateSkinCommand>(N, Button), "SkinAdded Copy of Normal 1", "SkinRemoved Copy of Normal 1"},
    {"rename the default skin", make<EditSkinNameCommand>(N, QString("Idle"), Button),
     "DefaultSkinRenamed Normal Idle 1", "DefaultSkinRenamed Idle Normal 1"},
    {"rename another skin", make<EditSkinNameCommand>(P, QString("Down"), Button),
     "SkinRenamed Pressed Down 1", "SkinRenamed Down Pressed 1"},
    {"set default skin", make<SetDefaultSkinCommand>(P, Button), "DefaultSkin Pressed 1", "DefaultSkin Normal 1"},
    {"set the first default skin", make<SetDefaultSkinCommand>(QString("Face"), Clock), "DefaultSkin Face 7", "DefaultSkin  7"},
    {"skin property", make<EditSkinPropertyCommand>(QString("borderWidth"), N, Button, QVariant(8)),
     "SkinProperty borderWidth Normal 1 1 8", "SkinProperty borderWidth Normal 1 1 3"},
    {"skin property the skin lacks", make<EditSkinPropertyCommand>(QString("radius"), P, Button, QVariant(9)),
     "SkinProperty radius Pressed 1 1 9", "SkinProperty radius Pressed 1 1 -"},
    {"skin property cleared", make<EditSkinPropertyCommand>(QString("opacity"), N, Button, QVariant()),
     "SkinProperty opacity Normal 2 1 -", "SkinProperty opacity Normal 2 1 0.75"},
};
// clang-format on

void PrintTo(const CommandCase& c, std::ostream* os)
{
    *os << c.name;
}

class CommandTest : public ::testing::TestWithParam<CommandCase>
{
};

} // namespace

// Each command changes the theme, undo restores it exactly, and every redo and undo leaves
// the same theme and posts the same events, twice over.
TEST_P(CommandTest, RedoAndUndoSwapTheThemeAndPostTheirEvents)
{
    const CommandCase& c = GetParam();
    EditTheme theme(*TestUtil::sampleTheme());
    EventLog log;
    QUndoStack stack;
    const QString before = documentOf(theme);
    stack.push(c.make(&theme, &log));
    const QString after = documentOf(theme);
    EXPECT_NE(after, before);
    EXPECT_EQ(log.take(), c.redoEvents);
    for (int round = 0; round < 2; ++round) {
        stack.undo();
        EXPECT_EQ(documentOf(theme), before);
        EXPECT_EQ(log.take(), c.undoEvents);
        stack.redo();
        EXPECT_EQ(documentOf(theme), after);
        EXPECT_EQ(log.take(), c.redoEvents);
    }
}

INSTANTIATE_TEST_SUITE_P(ThemeEditorCommands, CommandTest, ::testing::ValuesIn(commandCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST(ThemeEditorCommands, NewSkinsAndCopiesTakeTheFirstFreeName)
{
    EditTheme theme(*TestUtil::sampleTheme());
    QUndoStack stack;
    for (const char* name : {"New State", "New State 2"})
        ASSERT_TRUE(theme.createSkin(Button, name));
    stack.push(new AddSkinCommand(Button, &theme, nullptr));
    stack.push(new AddSkinCommand(Button, &theme, nullptr));
    stack.push(new DuplicateSkinCommand(P, Button, &theme, nullptr));
    stack.push(new DuplicateSkinCommand(P, Button, &theme, nullptr));
    stack.undo();
    for (const char* name : {"New State 1", "New State 3", "Copy of Pressed", "Pressed"})
        EXPECT_TRUE(theme.findSkin(Button, name)) << name;
    EXPECT_FALSE(theme.findSkin(Button, "Copy 2 of Pressed"));
}

// Clearing a property and undoing it brings it back each time, also after the undo made it
// anew from the definition table.
TEST(ThemeEditorCommands, AClearedSkinPropertyComesBackOnEveryUndo)
{
    EditTheme theme(*TestUtil::sampleTheme());
    QUndoStack stack;
    stack.push(new EditSkinPropertyCommand("borderWidth", N, Button, QVariant(), &theme, nullptr));
    const Skin* normal = theme.findSkin(Button, N);
    for (int round = 0; round < 3; ++round) {
        EXPECT_FALSE(normal->hasProperty("borderWidth"));
        stack.undo();
        EXPECT_EQ(normal->getPropertyValue("borderWidth"), QVariant(3));
        stack.redo();
    }
}

// Image commands, on the icon and page-background lists of the editable theme.
class ThemeImageCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        theme = std::make_unique<EditTheme>(*TestUtil::emptyTheme("Images"));
        for (int i = 0; i < 7; ++i)
            theme->addPageBackgroundImageData(TestUtil::pngBytes(4 + i, 4, Qt::red), i % 3);
        backgrounds = std::make_unique<EditThemeImageModel>(0, theme.get(), nullptr);
        icons = std::make_unique<EditThemeImageModel>(1, theme.get(), nullptr);
    }

    // Per row: the image's bytes, the row's orientation and whether the store agrees.
    QStringList rowsOf(const EditThemeImageModel& model) const
    {
        QStringList rows;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QModelIndex index = model.index(row, 0);
            const unsigned int id = index.data(ThemeImageModel::IdRole).toUInt();
            const int orientation = index.data(ThemeImageModel::OrientationRole).toInt();
            const bool agrees =
                &model != backgrounds.get() ||
                theme->getPageBackgroundImages()[id].getOrientation() == orientation;
            rows << QString("%1 %2 %3")
                        .arg(qHash(model.imageData(index)))
                        .arg(orientation)
                        .arg(agrees);
        }
        return rows;
    }

    QList<QModelIndex> indexes(const EditThemeImageModel& model, std::initializer_list<int> rows)
    {
        QList<QModelIndex> list;
        for (const int row : rows)
            list << model.index(row, 0);
        return list;
    }

    std::unique_ptr<EditTheme> theme;
    std::unique_ptr<EditThemeImageModel> backgrounds;
    std::unique_ptr<EditThemeImageModel> icons;
    QUndoStack stack;
};

TEST_F(ThemeImageCommands, TextsNameTheListAndTheNumber)
{
    EditThemeImageModel* b = backgrounds.get();
    // clang-format off
    const std::tuple<QUndoCommand*, QString> cases[] = {
        {new RemoveThemeImageCommand(indexes(*icons, {}), icons.get(), nullptr), "Remove Theme Icon"},
        {new RemoveThemeImageCommand(indexes(*b, {0, 1}), b, nullptr), "Remove Theme Images"},
        {new AddThemeImageCommand({"a.png"}, b, nullptr), "Add Theme Image"},
        {new AddThemeImageCommand({}, icons.get(), nullptr), "Add Theme Icons"},
        {new AddThemeImageCommand({"a.png", "b.png"}, icons.get(), nullptr), "Add Theme Icons"},
    };
    // clang-format on
    for (const auto& [command, expected] : cases) {
        EXPECT_EQ(command->text(), expected);
        delete command;
    }
}

TEST_F(ThemeImageCommands, RemovedRowsComeBackInPlace)
{
    const QStringList before = rowsOf(*backgrounds);
    stack.push(
        new RemoveThemeImageCommand(indexes(*backgrounds, {5, 2}), backgrounds.get(), nullptr));
    QStringList expected = before;
    expected.removeAt(5);
    expected.removeAt(2);
    EXPECT_EQ(rowsOf(*backgrounds), expected);
    EXPECT_EQ(theme->getPageBackgroundImages().size(), 5u);
    stack.undo();
    EXPECT_EQ(rowsOf(*backgrounds), before);
    EXPECT_EQ(theme->getPageBackgroundImages().size(), 7u);
    stack.redo();
    EXPECT_EQ(rowsOf(*backgrounds), expected);

    stack.push(new RemoveThemeImageCommand(indexes(*backgrounds, {4}), backgrounds.get(), nullptr));
    stack.undo();
    EXPECT_EQ(rowsOf(*backgrounds), expected);
}

TEST_F(ThemeImageCommands, OrientationsSwapPerRow)
{
    const QStringList before = rowsOf(*backgrounds);
    stack.push(new SetThemeImageOrientationCommand(
        indexes(*backgrounds, {0, 1}), Orientation_PORTRAIT, backgrounds.get(), nullptr));
    const QStringList portrait = rowsOf(*backgrounds);
    for (int row : {0, 1})
        EXPECT_TRUE(portrait[row].endsWith(" 2 1")) << portrait[row].toStdString();
    EXPECT_EQ(portrait.mid(2), before.mid(2));
    for (int round = 0; round < 2; ++round) {
        stack.undo();
        EXPECT_EQ(rowsOf(*backgrounds), before);
        stack.redo();
        EXPECT_EQ(rowsOf(*backgrounds), portrait);
    }
}

// Files already in the list and files that are no images add no rows, so undo removes only
// what the command added; the unreadable files are reported.
TEST_F(ThemeImageCommands, AddedFilesAreTakenOutAndPutBackWithoutTheirPaths)
{
    QTemporaryDir folder;
    const QByteArray known = TestUtil::pngBytes(9, 9, Qt::green);
    icons->addImageData(known, 0, -1);
    const std::pair<const char*, QByteArray> files[] = {
        {"a.png", TestUtil::pngBytes(2, 2, Qt::blue)},
        {"known.png", known},
        {"b.png", TestUtil::pngBytes(3, 3, Qt::black)},
        {"broken.png", "no image"},
        {"a copy.png", TestUtil::pngBytes(2, 2, Qt::blue)},
        {"c.png", TestUtil::pngBytes(5, 5, Qt::red)}};
    QStringList paths;
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(TestUtil::writeFile(folder.filePath(name), bytes));
        paths << folder.filePath(name);
    }
    const QStringList before = rowsOf(*icons);
    auto add = new AddThemeImageCommand(paths, icons.get(), nullptr);
    stack.push(add);
    EXPECT_EQ(add->unreadableFiles(), QStringList({paths[3]}));
    const QStringList added = rowsOf(*icons);
    ASSERT_EQ(added.size(), 4);
    EXPECT_EQ(icons->index(1, 0).data(ThemeImageModel::PathRole), paths[0]);
    EXPECT_EQ(theme->getIcons().size(), 4u);
    for (int round = 0; round < 2; ++round) {
        stack.undo();
        EXPECT_EQ(rowsOf(*icons), before);
        EXPECT_EQ(theme->getIcons().size(), 1u);
        stack.redo();
        EXPECT_EQ(rowsOf(*icons), added);
        EXPECT_EQ(icons->index(1, 0).data(ThemeImageModel::PathRole), QString());
    }
}
