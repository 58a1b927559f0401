#pragma once

#include "gui/reorderable_widget_container.h"
#include "velmora_objects/velmora_types.h"

#include <QComboBox>
#include <QWidget>
#include <climits>
#include <vector>

class QPushButton;
class VelmoraDocument;

// One navigation button of a new page: what it does and, for Go To Page, the target page
// (UINT_MAX otherwise, or while none is chosen).
struct NavButtonData
{
    Velmora::ButtonFunction function = Velmora::ButtonFunction_NONE;
    unsigned int pageId = UINT_MAX;

    bool operator==(const NavButtonData& other) const
    {
        return function == other.function && pageId == other.pageId;
    }
};

// A combo box that reads as plain text: its frame shows only while the mouse is over it or its
// list is open. It keeps the arrow cursor inside the item's hand cursor.
class StealthComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit StealthComboBox(QWidget* parent = nullptr);

    void showPopup() override;
    void hidePopup() override;
    bool isPopupShown() const { return popupShown; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool popupShown = false;
};

// The horizontal strip of navigation buttons; they are reordered by dragging.
class NavButtonContainer : public ReorderableWidgetContainer
{
    Q_OBJECT

public:
    explicit NavButtonContainer(QWidget* parent = nullptr);
};

// One navigation button in the strip: a push-button face holding the function choice, drawn
// with a focus frame while selected and with a close icon at its top right while the mouse is
// over it. A left press on the icon and a release still over it delete the button; the press
// starts no drag.
class NavButtonItem : public ReorderableWidget
{
    Q_OBJECT

public:
    // Appends itself to the container's strip.
    explicit NavButtonItem(ReorderableWidgetContainer* container);

    // Shows the function without reporting it.
    void setFunction(Velmora::ButtonFunction function);
    Velmora::ButtonFunction function() const;
    void setSelected(bool selected);
    bool isSelected() const { return selected; }
    StealthComboBox* functionBox() const { return functionCombo; }
    // The close icon's area, in the item's coordinates.
    QRect closeArea() const;

    bool eventFilter(QObject* object, QEvent* event) override;

signals:
    void clicked();
    void functionChanged(int index, Velmora::ButtonFunction function);

public slots:
    void onFunctionSelected(int comboIndex);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    StealthComboBox* functionCombo;
    bool closeArmed = false;
    bool selected = false;
};

// Composes the up to three navigation buttons of a new page: "Add Button", the strip of
// buttons, and the "Page" choice, which sets the target of the current button while that is a
// Go To Page button. Entry i of the button list always belongs to item i of the strip.
class NavButtonsEditor : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaximumButtons = 3;

    explicit NavButtonsEditor(QWidget* parent = nullptr);

    // Lists "None" and the project's pages, in page order, as Go To Page targets.
    void setDocument(const VelmoraDocument* document);
    NavButtonItem* addButton(const NavButtonData& data);
    // Appends a button per entry and makes the first of them current.
    void setButtons(const std::vector<NavButtonData>& buttons);
    void buttons(std::vector<NavButtonData>& out) const;
    int buttonCount() const { return int(entries.size()); }
    // Null clears the current button.
    void setCurrentButton(NavButtonItem* item);
    NavButtonItem* currentButton() const { return currentItem; }

    NavButtonContainer* strip() const { return container; }
    QPushButton* addButtonWidget() const { return addPushButton; }
    QComboBox* pageBox() const { return pageCombo; }

signals:
    void buttonCountChanged(int count);

public slots:
    void onAddClicked();
    void onButtonClicked();
    void onButtonReordered(int from, int to);
    void onFunctionChanged(int index, Velmora::ButtonFunction function);
    void onButtonRemoved(int index, const ReorderableWidget* item);
    void onPageChanged(int comboIndex);

private:
    void refreshPageCombo(int index);

    NavButtonContainer* container;
    QPushButton* addPushButton;
    QComboBox* pageCombo;
    NavButtonItem* currentItem = nullptr;
    std::vector<NavButtonData> entries;
};
