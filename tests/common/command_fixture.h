#pragma once

#include "appengine/selection_manager.h"
#include "common/document_event_log.h"
#include "common/isolated_app_data.h"
#include "common/stream_bytes.h"
#include "main/velmora_document.h"
#include "velmora_objects/button.h"
#include "velmora_objects/control.h"

#include <QTemporaryDir>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace TestUtil {

// An open project for the tests of the undo commands, with the document's own undo stack and
// a log of the events the commands send. Set-up edits go to the document directly.
class CommandFixture : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    // A new project with an empty theme (or the bundle's); returns its first page.
    unsigned int create(const QString& themeFile = QString())
    {
        NewProjectData data;
        data.path = folder.filePath("hall.qvp");
        data.orientation = Velmora::Orientation_LANDSCAPE;
        data.themeFile = themeFile;
        return document->createProject(data);
    }

    unsigned int addPage()
    {
        NewPageData data;
        return document->addPage(data);
    }

    // A page that shows a page switcher at the bottom: a new one listing the page, or the one
    // given.
    unsigned int addSwitcherPage(unsigned int pageSwitcherId = UINT_MAX)
    {
        NewPageData data;
        data.navigationPosition = Velmora::NavigationPosition_BOTTOM;
        data.pageSwitcherId = pageSwitcherId;
        data.pageSwitcherPages = {UINT_MAX};
        return document->addPage(data);
    }

    unsigned int addControl(unsigned int pageId, Velmora::ControlType type,
                            const QRect& geometry = QRect(10, 10, 50, 30))
    {
        const unsigned int controlId = document->addControl(type);
        Velmora::Control& control = document->getControl(controlId);
        control.setPageId(pageId);
        control.setGeometry(geometry);
        document->getPage(pageId).getControlIds().insert(controlId);
        return controlId;
    }

    unsigned int addGoToButton(unsigned int pageId, unsigned int targetPageId)
    {
        const unsigned int buttonId = addControl(pageId, Velmora::ControlType_BUTTON);
        auto* button = document->modControl<Velmora::Button>(buttonId);
        button->setFunction(Velmora::ButtonFunction_GO_TO_PAGE);
        button->setFunctionPage(targetPageId);
        return buttonId;
    }

    // Assigns the slot to the control's action, in the control and in the IR table.
    void giveIRSlot(unsigned int controlId, Velmora::Action action, unsigned char slot)
    {
        smart_ptr<Velmora::Control> control = document->removeControl(controlId);
        control->setIRSlotId(action, slot);
        document->insertControl(control, controlId);
    }

    // The project as a saved file holds it.
    QByteArray bytes() const
    {
        return streamed([this](Velmora::Streamer& s) { document->write(s, false); });
    }

    // A complete project stream of one control, as the clipboard holds it.
    QByteArray controlStream(unsigned int controlId) const
    {
        return streamed(
            [this, controlId](Velmora::Streamer& s) { document->getControl(controlId).write(s); });
    }

    void push(QUndoCommand* command) { document->undoStack().push(command); }

    // The first broken rule of the project's structure; empty when there is none. Controls and
    // pages name each other, Go To Page targets and switcher lists name pages that exist, a
    // switcher counts the pages that show it (at least one), and the IR table mirrors the slots
    // the controls keep.
    std::string fault() const
    {
        using namespace Velmora;
        const VelmoraDocument& p = *document;
        for (const Control& c : p.getControls()) {
            const std::string control = "control " + std::to_string(c.getId());
            if (!p.pageExists(c.getPageId()) ||
                !p.getPage(c.getPageId()).getControlIds().count(c.getId()))
                return control + " is on no page";
            const auto* button = dynamic_cast<const Button*>(&c);
            if (button && button->getFunctionPage() != UINT_MAX &&
                !p.pageExists(button->getFunctionPage()))
                return control + " targets a missing page";
            for (Action action : {Action_CLICK, Action_INCREMENT, Action_DECREMENT}) {
                const auto entry = p.getIRSlots().left.find(c.getIRSlotId(action));
                if (c.getIRSlotId(action) != NoIRSlot &&
                    (entry == p.getIRSlots().left.end() ||
                     entry->second != IRAction(c.getId(), action)))
                    return control + " has a slot the table lacks";
            }
        }
        for (const auto& entry : p.getIRSlots())
            if (!p.getControls().exists(entry.right.controlId) ||
                p.getControl(entry.right.controlId).getIRSlotId(entry.right.action) != entry.left)
                return "slot " + std::to_string(entry.left) + " names no control's slot";
        for (const Page& page : p.getPages())
            for (unsigned int id : page.getControlIds())
                if (!p.getControls().exists(id) || p.getControl(id).getPageId() != page.getId())
                    return "page " + std::to_string(page.getId()) + " lists a stranger";
        for (const PageSwitcher& s : p.getPageSwitchers()) {
            int users = 0;
            for (const Page& page : p.getPages())
                users += page.getPageSwitcherId() == s.getId();
            for (unsigned int pageId : s.getPageIds())
                users = p.pageExists(pageId) ? users : -1;
            if (users != s.usageCount() || users == 0)
                return "switcher " + std::to_string(s.getId()) + " miscounts or lists no page";
        }
        for (const Page& page : p.getPages())
            if (page.getPageSwitcherId() != UINT_MAX &&
                !p.getPageSwitchers().exists(page.getPageSwitcherId()))
                return "page " + std::to_string(page.getId()) + " shows a missing switcher";
        return std::string();
    }

    IsolatedAppData appData;
    QTemporaryDir folder;
    SelectionManager selection;
    std::unique_ptr<VelmoraDocument> document = std::make_unique<VelmoraDocument>(selection);
    DocumentEventLog log;
};

} // namespace TestUtil
