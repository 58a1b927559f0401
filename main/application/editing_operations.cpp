#include "main/application/editing_operations.h"

#include "main/action_manager.h"
#include "main/velmora_document.h"

EditingOperations::EditingOperations(VelmoraDocument& document, ActionManager& actions,
                                     NewPageData& rememberedPageData, QObject* parent)
    : QObject(parent), document(document), actions(actions), rememberedPageData(rememberedPageData)
{
}

EditingOperations::~EditingOperations() = default;

void EditingOperations::createPage() {}
void EditingOperations::duplicatePage() {}
void EditingOperations::duplicatePageSpecial() {}
void EditingOperations::deletePage() {}
void EditingOperations::raisePage() {}
void EditingOperations::lowerPage() {}
void EditingOperations::editPageSwitcher() {}
void EditingOperations::removePageSwitcher() {}
void EditingOperations::createControl(Velmora::ControlType, QRect, uint) {}
void EditingOperations::moveControls(std::set<uint>, QPoint) {}
void EditingOperations::setControlGeometry(std::map<uint, QRect>) {}
void EditingOperations::alignSelectedControls(int) {}
void EditingOperations::layoutSelectedControls(WysiwygLayout*) {}
void EditingOperations::selectAllControls() {}
void EditingOperations::deleteSelectedControls() {}
void EditingOperations::deleteSelection() {}
void EditingOperations::applyThemeEdits(const Velmora::Theme*) {}
void EditingOperations::setProjectProperties(const ConfigurationEditRecord&) {}
void EditingOperations::copySelectedControls() {}
void EditingOperations::setPasteControlOffset(QPoint position)
{
    m_pasteOffset = position;
}
void EditingOperations::pasteControls() {}
void EditingOperations::onClipboardChanged() {}
