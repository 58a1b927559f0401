#include "widgets/nav_buttons_editor.h"

#include "main/velmora_document.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

// The close icon lives in this static library's resources, which must be pulled in by name,
// from outside any namespace, before the first load.
static void loadNavButtonResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(nav_buttons_editor);
        return true;
    }();
    (void)loaded;
}

namespace {

const int CloseIconSize = 16;
// The close icon's top-left corner is this far in from the item's right edge and top.
const int CloseIconRight = 21;
const int CloseIconTop = 5;

} // namespace

StealthComboBox::StealthComboBox(QWidget* parent) : QComboBox(parent)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::ArrowCursor);
}

void StealthComboBox::showPopup()
{
    popupShown = true;
    QComboBox::showPopup();
}

void StealthComboBox::hidePopup()
{
    popupShown = false;
    QComboBox::hidePopup();
}

void StealthComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    if (testAttribute(Qt::WA_UnderMouse) || popupShown)
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

NavButtonContainer::NavButtonContainer(QWidget* parent) : ReorderableWidgetContainer(parent)
{
    setOrientation(Qt::Horizontal);
}

NavButtonItem::NavButtonItem(ReorderableWidgetContainer* container)
    : ReorderableWidget(container), functionCombo(new StealthComboBox)
{
    loadNavButtonResources();
    auto* layout = new QHBoxLayout(this);
    // The right margin keeps the combo box clear of the close icon, so that presses there
    // reach the item.
    layout->setContentsMargins(8, 6, CloseIconRight + 4, 6);
    layout->addWidget(functionCombo);
    const std::pair<const char*, Velmora::ButtonFunction> functions[] = {
        {QT_TR_NOOP("No Function"), Velmora::ButtonFunction_NONE},
        {QT_TR_NOOP("Next Page"), Velmora::ButtonFunction_NEXT_PAGE},
        {QT_TR_NOOP("Previous Page"), Velmora::ButtonFunction_PREVIOUS_PAGE},
        {QT_TR_NOOP("Back"), Velmora::ButtonFunction_BACK},
        {QT_TR_NOOP("Go To Page"), Velmora::ButtonFunction_GO_TO_PAGE},
    };
    for (const auto& [text, function] : functions)
        functionCombo->addItem(tr(text), int(function));
    connect(functionCombo, &QComboBox::activated, this, &NavButtonItem::onFunctionSelected);
    // Repaint on entering and leaving, which shows and hides the close icon.
    setAttribute(Qt::WA_Hover);
    // Installed after the container's filter, so this one sees the events first.
    installEventFilter(this);
}

void NavButtonItem::setFunction(Velmora::ButtonFunction function)
{
    functionCombo->setCurrentIndex(functionCombo->findData(int(function)));
}

Velmora::ButtonFunction NavButtonItem::function() const
{
    return Velmora::ButtonFunction(functionCombo->currentData().toInt());
}

void NavButtonItem::setSelected(bool select)
{
    if (select == selected)
        return;
    selected = select;
    update();
}

QRect NavButtonItem::closeArea() const
{
    return QRect(width() - CloseIconRight, CloseIconTop, CloseIconSize, CloseIconSize);
}

void NavButtonItem::onFunctionSelected(int comboIndex)
{
    emit functionChanged(index(),
                         Velmora::ButtonFunction(functionCombo->itemData(comboIndex).toInt()));
}

bool NavButtonItem::eventFilter(QObject* object, QEvent* event)
{
    if (object != this)
        return ReorderableWidget::eventFilter(object, event);
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        emit clicked();
        if (mouse->button() == Qt::LeftButton &&
            closeArea().contains(mouse->position().toPoint())) {
            closeArmed = true;
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && closeArmed) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (closeArea().contains(mouse->position().toPoint()))
                deleteLater();
            closeArmed = false;
            return true;
        }
    }
    return ReorderableWidget::eventFilter(object, event);
}

void NavButtonItem::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = rect().adjusted(2, 2, -3, -3);
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange);
    option.state |= QStyle::State_Raised;
    if (selected)
        option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    style()->drawControl(QStyle::CE_PushButton, &option, &painter, nullptr);
    if (testAttribute(Qt::WA_UnderMouse))
        painter.drawPixmap(closeArea().topLeft(),
                           QPixmap(QStringLiteral(":/icons/16x16/close.png")));
}

NavButtonsEditor::NavButtonsEditor(QWidget* parent)
    : QWidget(parent), container(new NavButtonContainer),
      addPushButton(new QPushButton(tr("Add Button"))), pageCombo(new QComboBox)
{
    pageCombo->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(addPushButton);
    addRow->addStretch();
    layout->addLayout(addRow);
    layout->addWidget(container);
    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(new QLabel(tr("Page")));
    pageRow->addWidget(pageCombo);
    pageRow->addStretch();
    layout->addLayout(pageRow);
    layout->addStretch(1);

    connect(addPushButton, &QPushButton::clicked, this, &NavButtonsEditor::onAddClicked);
    connect(container, &ReorderableWidgetContainer::widgetReordered, this,
            &NavButtonsEditor::onButtonReordered);
    connect(container, &ReorderableWidgetContainer::widgetRemoved, this,
            &NavButtonsEditor::onButtonRemoved);
    connect(pageCombo, &QComboBox::activated, this, &NavButtonsEditor::onPageChanged);
}

void NavButtonsEditor::setDocument(const VelmoraDocument* document)
{
    pageCombo->clear();
    pageCombo->addItem(tr("None"), QVariant::fromValue(UINT_MAX));
    if (document)
        for (const Velmora::Page& page : document->getPages())
            pageCombo->addItem(page.getName(), QVariant::fromValue(page.getId()));
    refreshPageCombo(currentItem ? container->indexOf(currentItem) : -1);
}

NavButtonItem* NavButtonsEditor::addButton(const NavButtonData& data)
{
    auto* item = new NavButtonItem(container);
    item->setFunction(data.function);
    connect(item, &NavButtonItem::clicked, this, &NavButtonsEditor::onButtonClicked);
    connect(item, &NavButtonItem::functionChanged, this, &NavButtonsEditor::onFunctionChanged);
    entries.push_back(data);
    if (buttonCount() >= MaximumButtons)
        addPushButton->setEnabled(false);
    return item;
}

void NavButtonsEditor::setButtons(const std::vector<NavButtonData>& buttons)
{
    NavButtonItem* first = nullptr;
    for (const NavButtonData& data : buttons) {
        NavButtonItem* item = addButton(data);
        if (!first)
            first = item;
    }
    if (first)
        setCurrentButton(first);
    emit buttonCountChanged(buttonCount());
}

void NavButtonsEditor::buttons(std::vector<NavButtonData>& out) const
{
    out = entries;
}

void NavButtonsEditor::setCurrentButton(NavButtonItem* item)
{
    if (item == currentItem)
        return;
    if (currentItem)
        currentItem->setSelected(false);
    currentItem = item;
    if (item)
        item->setSelected(true);
    refreshPageCombo(item ? container->indexOf(item) : -1);
}

void NavButtonsEditor::onAddClicked()
{
    NavButtonItem* item = addButton(NavButtonData());
    setCurrentButton(item);
    emit buttonCountChanged(buttonCount());
}

void NavButtonsEditor::onButtonClicked()
{
    if (auto* item = qobject_cast<NavButtonItem*>(sender()))
        setCurrentButton(item);
}

void NavButtonsEditor::onButtonReordered(int from, int to)
{
    if (from < 0 || from >= buttonCount() || to < 0 || to >= buttonCount())
        return;
    const NavButtonData moved = entries[from];
    entries.erase(entries.begin() + from);
    entries.insert(entries.begin() + to, moved);
}

void NavButtonsEditor::onFunctionChanged(int index, Velmora::ButtonFunction function)
{
    if (index < 0 || index >= buttonCount())
        return;
    NavButtonData& entry = entries[index];
    entry.function = function;
    if (function != Velmora::ButtonFunction_GO_TO_PAGE)
        entry.pageId = UINT_MAX;
    setCurrentButton(qobject_cast<NavButtonItem*>(container->widgetAt(index)));
    refreshPageCombo(index);
}

void NavButtonsEditor::onButtonRemoved(int index, const ReorderableWidget* item)
{
    // The item is part-way through its destruction: forget it without touching it.
    if (item == currentItem) {
        currentItem = nullptr;
        refreshPageCombo(-1);
    }
    if (index >= 0 && index < buttonCount())
        entries.erase(entries.begin() + index);
    addPushButton->setEnabled(true);
    emit buttonCountChanged(buttonCount());
}

void NavButtonsEditor::onPageChanged(int comboIndex)
{
    const int index = currentItem ? container->indexOf(currentItem) : -1;
    if (index < 0 || index >= buttonCount())
        return;
    entries[index].pageId = pageCombo->itemData(comboIndex).toUInt();
}

void NavButtonsEditor::refreshPageCombo(int index)
{
    const bool goToPage = index >= 0 && index < buttonCount() &&
                          entries[index].function == Velmora::ButtonFunction_GO_TO_PAGE;
    pageCombo->setEnabled(goToPage);
    pageCombo->setCurrentIndex(
        goToPage ? pageCombo->findData(QVariant::fromValue(entries[index].pageId)) : -1);
}
