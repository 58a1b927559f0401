#include "appengine/page_preview_scene.h"
#include "common/command_fixture.h"
#include "common/stream_bytes.h"
#include "main/control_commands.h"
#include "velmora_objects/slider.h"

using namespace Velmora;

namespace {

using ControlCommands = TestUtil::CommandFixture;

QString idList(const std::set<unsigned int>& ids)
{
    QStringList numbers;
    for (unsigned int id : ids)
        numbers << QString::number(id);
    return numbers.join(',');
}

} // namespace

// Created in ascending control type; one event per run; the same ids after undo and redo.
TEST_F(ControlCommands, AddedControlsKeepTheirIds)
{
    const unsigned int page = create();
    const QByteArray before = bytes();
    push(new AddControlsCommand(
        {{ControlType_SLIDER, {QRect(0, 0, 20, 100)}},
         {ControlType_BUTTON, {QRect(30, 0, 40, 20), QRect(30, 30, 40, 20)}}},
        page, *document));
    const std::set<unsigned int> added = document->getPage(page).getControlIds();
    ASSERT_EQ(added.size(), 3u);
    const std::vector<ControlType> types{ControlType_BUTTON, ControlType_BUTTON,
                                         ControlType_SLIDER};
    auto it = added.begin();
    for (ControlType type : types)
        EXPECT_EQ(document->getControl(*it++).getType(), type);
    EXPECT_EQ(document->getControl(*added.rbegin()).getGeometry(), QRect(0, 0, 20, 100));
    EXPECT_EQ(log.take(), QStringList({QString("ControlsAdded %1 x0").arg(idList(added))}));
    const QByteArray after = bytes();

    document->undoStack().undo();
    EXPECT_EQ(log.take(),
              QStringList({QString("ControlsRemoved %1 on %2").arg(idList(added)).arg(page)}));
    EXPECT_EQ(bytes(), before);
    document->undoStack().redo();
    EXPECT_EQ(log.take(), QStringList({QString("ControlsAdded %1 x2").arg(idList(added))}));
    EXPECT_EQ(bytes(), after);
}

// A pasted control takes a new key, the offset and the page, and none of the source's IR
// slots: the slot stays the source's through any number of pastes, undos and redos.
TEST_F(ControlCommands, PastedControlsLeaveTheSourceTheirSlots)
{
    const unsigned int home = create();
    const unsigned int other = addPage();
    const unsigned int source = addControl(home, ControlType_SLIDER, QRect(10, 20, 30, 100));
    giveIRSlot(source, Action_INCREMENT, 6);
    const QByteArray stream = controlStream(source);

    for (int i = 0; i < 2; ++i)
        push(new PasteControlsCommand({{ControlType_SLIDER, {stream}}}, QPoint(5, -5), other,
                                      *document));
    const std::set<unsigned int> pasted = document->getPage(other).getControlIds();
    ASSERT_EQ(pasted.size(), 2u);
    for (unsigned int id : pasted) {
        const Control& copy = document->getControl(id);
        EXPECT_NE(copy.getName(), document->getControl(source).getName());
        EXPECT_EQ(copy.getGeometry(), QRect(15, 15, 30, 100));
        EXPECT_EQ(copy.getPageId(), other);
        EXPECT_EQ(copy.getIRSlotId(Action_INCREMENT), NoIRSlot);
    }
    const QByteArray after = bytes();
    document->undoStack().undo();
    document->undoStack().undo();
    document->undoStack().redo();
    document->undoStack().redo();
    EXPECT_EQ(bytes(), after);
    EXPECT_EQ(document->getIRSlotAssignment(6), IRAction(source, Action_INCREMENT));
    EXPECT_EQ(fault(), "");
}

// Streams that do not hold a control of their type are left out when the command is built,
// so running it cannot fail.
TEST_F(ControlCommands, PasteTakesOnlyStreamsThatRead)
{
    const unsigned int page = create();
    const QByteArray button = controlStream(addControl(page, ControlType_BUTTON));
    QByteArray newer = button;
    newer[11] = char(Streamer::CurrentVersion + 1);
    const ControlStreamRequest request{
        {ControlType_BUTTON, {button, newer, button.left(button.size() - 4)}},
        {ControlType_SLIDER, {button}},
        {ControlType(7), {button}},
        {ControlType(0), {button}},
    };
    const ControlStreamRequest valid = PasteControlsCommand::validEntries(request);
    ASSERT_EQ(valid.size(), 1u);
    EXPECT_EQ(valid.at(ControlType_BUTTON), std::list<QByteArray>{button});

    auto* paste = new PasteControlsCommand(request, {}, page, *document);
    EXPECT_EQ(paste->controlCount(), 1u);
    EXPECT_EQ(paste->text(), "Paste Control");
    push(paste);
    EXPECT_EQ(document->getPage(page).getControlIds().size(), 2u);
}

// Deleting reports the ids and the page of the last one; undo brings each control back under
// its id with its IR slot.
TEST_F(ControlCommands, DeletedControlsComeBackWithTheirSlots)
{
    const unsigned int home = create();
    const unsigned int other = addPage();
    const unsigned int first = addControl(home, ControlType_BUTTON);
    const unsigned int last = addControl(other, ControlType_BUTTON);
    giveIRSlot(first, Action_CLICK, 2);
    const QByteArray before = bytes();
    log.take();

    push(new DeleteControlsCommand({first, last}, *document));
    EXPECT_EQ(
        log.take(),
        QStringList({QString("ControlsRemoved %1 on %2").arg(idList({first, last})).arg(other)}));
    EXPECT_TRUE(document->getControls().empty());
    EXPECT_TRUE(document->getIRSlots().empty());
    document->undoStack().undo();
    EXPECT_EQ(log.take(), QStringList({QString("ControlsAdded %1 x1").arg(idList({first, last}))}));
    EXPECT_EQ(bytes(), before);
}

// The preview is built again from the project on every run.
TEST_F(ControlCommands, ThePreviewFollowsEveryRun)
{
    const unsigned int page = create();
    document->preparePreview();
    document->showPage(page);
    push(new AddControlsCommand({{ControlType_LABEL, {QRect(0, 0, 50, 20)}}}, page, *document));
    const unsigned int label = *document->getPage(page).getControlIds().begin();
    PagePreviewScene& scene = *document->previewScene();
    EXPECT_NE(scene.controlItem(label), nullptr);
    push(new DeleteControlsCommand({label}, *document));
    EXPECT_EQ(scene.controlItem(label), nullptr);
    document->undoStack().undo();
    EXPECT_NE(scene.controlItem(label), nullptr);
    document->undoStack().undo();
    EXPECT_EQ(scene.controlItem(label), nullptr);
}
