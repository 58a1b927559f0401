#pragma once

#include "main/control_clipboard.h"
#include "velmora_objects/velmora_types.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <map>
#include <optional>
#include <set>

class ActionManager;
class QMimeData;
class QUndoStack;
class SelectionManager;
class VelmoraDocument;
class WysiwygLayout;
struct ConfigurationEditRecord;
struct NewPageData;

namespace Velmora {
class Theme;
}

// The editing operations of the editor: pages created, duplicated, deleted, raised and
// lowered; page switchers added, edited and removed; controls created, moved, resized,
// aligned, arranged, selected and deleted; theme edits and project properties applied; controls
// copied and pasted through the system clipboard. Each operation reads the document's
// selection and becomes one undo step on the document's undo stack (nothing when there is
// nothing to do); the commands send the change events.
//
// What the user is told: a page whose layout template left the library while the wizard was
// open, a project that holds the most pages it can, a theme file of the project properties
// that cannot be read, a paste that finds no control it can make on the clipboard, and a paste
// or a new page there is not the memory for; each pushes nothing. A paste that leaves out some
// of the clipboard's controls (unreadable ones, or more than the project has room for) pastes
// the others and says how many were left out. The clipboard is read whole and checked
// (ControlClipboard) before any command is made from it; entries beyond the project's room are
// skipped unread.
//
// The application owns one and forwards its slots here. Everything runs on the GUI thread.
class EditingOperations : public QObject
{
    Q_OBJECT

public:
    // The document (with its selection and undo stack), the action set (whose Paste action
    // follows the clipboard) and the remembered page data (the new-page wizard's starting
    // answers, which the wizard writes back) must outlive the object.
    EditingOperations(VelmoraDocument& document, ActionManager& actions,
                      NewPageData& rememberedPageData, QObject* parent = nullptr);
    ~EditingOperations() override;

    // The parent of the wizards, dialogs and messages the operations show; null shows them
    // without a parent.
    void setDialogParent(QWidget* parent) { dialogParent = parent; }

    // Where the next paste puts the copied group's top-left corner; (0, 0) keeps the
    // controls where they were copied from.
    QPoint pasteOffset() const { return m_pasteOffset; }

public slots:
    void createPage();
    void duplicatePage();
    void duplicatePageSpecial();
    void deletePage();
    void raisePage();
    void lowerPage();
    void editPageSwitcher();
    void removePageSwitcher();
    void createControl(Velmora::ControlType type, QRect geometry, uint pageId);
    void moveControls(std::set<uint> controlIds, QPoint deltaPos);
    void setControlGeometry(std::map<uint, QRect> geometries);
    void alignSelectedControls(int alignment);
    // The caller owns and deletes the layout.
    void layoutSelectedControls(WysiwygLayout* layout);
    void selectAllControls();
    void deleteSelectedControls();
    void deleteSelection();
    void applyThemeEdits(const Velmora::Theme* theme);
    void setProjectProperties(const ConfigurationEditRecord& record);
    void copySelectedControls();
    void setPasteControlOffset(QPoint position);
    void pasteControls();
    void onClipboardChanged();

private:
    QUndoStack& stack() const;
    SelectionManager& selection() const;
    // The selection's current page while it is in the project, else UINT_MAX.
    unsigned int currentPage() const;
    void warn(const QString& title, const QString& text) const;
    // Tells the user and returns true when the project holds the most pages it can.
    bool refuseWhenFull(const QString& title) const;
    // mode: a VelmoraDocument::DuplicationMode.
    void duplicate(int mode);
    // The preview's rectangles of the selected controls; empty unless controls are selected.
    std::map<unsigned int, QRect> selectedGeometries() const;
    void setChangedGeometries(const std::map<unsigned int, QRect>& geometries);
    // Reads the controls the clipboard data holds and pushes their paste onto the page, when
    // it holds any; what was read (none when the data is not of the form). Data there is not
    // the memory to read or paste throws std::bad_alloc, having pushed nothing.
    std::optional<ControlClipboard::Contents> pasteFrom(const QMimeData& data, unsigned int pageId);

    VelmoraDocument& document;
    ActionManager& actions;
    NewPageData& rememberedPageData;
    QPointer<QWidget> dialogParent;
    QPoint m_pasteOffset;
};
