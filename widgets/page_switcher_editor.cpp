#include "widgets/page_switcher_editor.h"

#include "core/assertion.h"
#include "main/velmora_document.h"
#include "resources/embedded_resources.h"
#include "velmora_objects/page_switcher.h"
#include "velmora_objects/theme.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QVBoxLayout>

PageSwitcherListView::PageSwitcherListView(bool isSource, QWidget* parent)
    : QListView(parent), source(isSource)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

bool PageSwitcherListView::acceptsDragFrom(const QObject* dragSource) const
{
    return !(source && dragSource == this);
}

void PageSwitcherListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!acceptsDragFrom(event->source())) {
        event->ignore();
        return;
    }
    QListView::dragMoveEvent(event);
}

void PageSwitcherListView::dropEvent(QDropEvent* event)
{
    QListView::dropEvent(event);
    // The available list shows pages in page order whatever the drop position was.
    if (source && model())
        model()->sort(0, Qt::AscendingOrder);
}

PageSwitcherEditor::PageSwitcherEditor(QWidget* parent)
    : QWidget(parent), existingRadio(new QRadioButton(tr("Use existing Page Switcher from"))),
      newRadio(new QRadioButton(tr("Create new Page Switcher"))), typeGroup(new QButtonGroup(this)),
      pageSwitcherPicker(new QComboBox), availableList(new PageSwitcherListView(true)),
      switcherList(new PageSwitcherListView(false)), message(new QLabel),
      availableModel(new QStandardItemModel(this)), switcherModel(new QStandardItemModel(this)),
      sortProxy(new QSortFilterProxyModel(this)), newPageName(tr("New Page"))
{
    Velmora::initialiseEmbeddedResources();

    existingRadio->setEnabled(false);
    newRadio->setChecked(true);
    typeGroup->setExclusive(true);
    typeGroup->addButton(existingRadio, 0);
    typeGroup->addButton(newRadio, 1);
    pageSwitcherPicker->setEnabled(false);

    sortProxy->setSourceModel(availableModel);
    sortProxy->setSortRole(SortValueRole);
    sortProxy->setDynamicSortFilter(true);
    availableList->setModel(sortProxy);
    availableList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    switcherList->setModel(switcherModel);
    message->setAlignment(Qt::AlignHCenter);

    auto* outer = new QGridLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* choice = new QGridLayout;
    choice->setContentsMargins(0, 0, 0, 0);
    choice->setColumnStretch(2, 1);
    choice->addWidget(existingRadio, 0, 0);
    choice->addWidget(pageSwitcherPicker, 0, 1);
    choice->addWidget(newRadio, 1, 0);
    outer->addLayout(choice, 0, 0, 1, 2);
    outer->addWidget(new QLabel(tr("Available Pages")), 1, 0);
    outer->addWidget(new QLabel(tr("Pages in Page Switcher")), 1, 1);
    outer->addWidget(availableList, 2, 0);
    outer->addWidget(switcherList, 2, 1);
    outer->addWidget(message, 3, 0, 1, 2);

    connect(pageSwitcherPicker, &QComboBox::activated, this,
            &PageSwitcherEditor::onPageSwitcherSelected);
    connect(typeGroup, &QButtonGroup::idClicked, this, &PageSwitcherEditor::onTypeChange);
    connect(sortProxy, &QAbstractItemModel::rowsInserted, this,
            &PageSwitcherEditor::onPageAddedToSource);
    // A drop inserts rows here before the source list removes its copies: select and count
    // them once the event loop is back. Rows that a rebuild inserts are neither selected nor
    // counted separately; the rebuild validates once at its end.
    connect(switcherModel, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (refreshing)
                    return;
                QMetaObject::invokeMethod(
                    this, [this, parent, first, last] { onPageAddedToDest(parent, first, last); },
                    Qt::QueuedConnection);
            });
    connect(
        switcherModel, &QAbstractItemModel::rowsRemoved, this, [this] { validate(false); },
        Qt::QueuedConnection);
}

void PageSwitcherEditor::setDocument(const VelmoraDocument* newDocument)
{
    document = newDocument;
    offeredPages.clear();
    if (document) {
        orientation = document->getOrientation();
        for (const Velmora::Page& page : document->getPages())
            offeredPages.insert(page.getId());
    }
    refreshPageSwitcherPicker();
    refreshPageLists();
}

void PageSwitcherEditor::addNewPage()
{
    offeredPages.insert(UINT_MAX);
    refreshPageLists();
}

void PageSwitcherEditor::setNewPageName(const QString& name)
{
    newPageName = name;
    if (QStandardItem* item = findPlaceholder())
        item->setText(name);
}

QStandardItem* PageSwitcherEditor::findPlaceholder() const
{
    for (QStandardItemModel* model : {availableModel, switcherModel})
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->item(row)->data(PageIdRole).toUInt() == UINT_MAX)
                return model->item(row);
    return nullptr;
}

void PageSwitcherEditor::setPageSwitcherId(unsigned int id)
{
    if (id == chosenId)
        return;
    chosenId = id;
    {
        const QSignalBlocker blocker(pageSwitcherPicker);
        selectPickerEntry(id);
        pageSwitcherPicker->setEnabled(id != UINT_MAX);
    }
    // setChecked reaches no buttonClicked, so onTypeChange does not run again.
    (id != UINT_MAX ? existingRadio : newRadio)->setChecked(true);
    refreshPageLists();
    emit pageSwitcherIdChanged(id);
}

void PageSwitcherEditor::selectPickerEntry(unsigned int id)
{
    pageSwitcherPicker->setCurrentIndex(
        id == UINT_MAX ? -1 : pageSwitcherPicker->findData(QVariant::fromValue(id)));
}

void PageSwitcherEditor::setPosition(int newPosition)
{
    position = newPosition;
    limit = Velmora::PageSwitcher::maxPages(position, orientation);
    validate(false);
}

void PageSwitcherEditor::setOrientation(int newOrientation)
{
    orientation = newOrientation;
    limit = Velmora::PageSwitcher::maxPages(position, orientation);
    validate(false);
}

void PageSwitcherEditor::setShowAllPageSwitchers(bool show)
{
    showAllPageSwitchers = show;
    refreshPageSwitcherPicker();
}

void PageSwitcherEditor::pageIds(std::vector<unsigned int>& ids) const
{
    ids.clear();
    for (int row = 0; row < switcherModel->rowCount(); ++row)
        ids.push_back(switcherModel->item(row)->data(PageIdRole).toUInt());
}

int PageSwitcherEditor::pageCount() const
{
    return switcherModel->rowCount();
}

void PageSwitcherEditor::onTypeChange(int id)
{
    if (id == 1) {
        setPageSwitcherId(UINT_MAX);
        return;
    }
    VELMORA_ASSERT(pageSwitcherPicker->count() > 0);
    const int index = qMax(pageSwitcherPicker->currentIndex(), 0);
    const QVariant data = pageSwitcherPicker->itemData(index);
    VELMORA_ASSERT(data.isValid());
    setPageSwitcherId(data.toUInt());
}

void PageSwitcherEditor::onPageSwitcherSelected(int index)
{
    const QVariant data = pageSwitcherPicker->itemData(index);
    VELMORA_ASSERT(data.isValid());
    setPageSwitcherId(data.toUInt());
}

void PageSwitcherEditor::onPageAddedToSource(const QModelIndex&, int first, int last)
{
    if (isVisible())
        availableList->setFocus(Qt::OtherFocusReason);
    selectRows(availableList, first, last);
}

void PageSwitcherEditor::onPageAddedToDest(const QModelIndex&, int first, int last)
{
    if (isVisible())
        switcherList->setFocus(Qt::OtherFocusReason);
    selectRows(switcherList, first, last);
    validate(false);
}

void PageSwitcherEditor::selectRows(QAbstractItemView* view, int first, int last)
{
    QAbstractItemModel* model = view->model();
    // A rebuild may have emptied the list since the rows were announced.
    if (refreshing || first >= model->rowCount())
        return;
    last = qMin(last, model->rowCount() - 1);
    const QItemSelection rows(model->index(first, 0), model->index(last, 0));
    view->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    view->selectionModel()->setCurrentIndex(model->index(first, 0), QItemSelectionModel::NoUpdate);
}

void PageSwitcherEditor::validate(bool force)
{
    const int count = switcherModel->rowCount();
    // Until an edge is known there is no limit to break.
    const bool within = limit < 0 || count <= limit;
    // The message follows every change of the limit, also when the verdict stays the same.
    if (!within) {
        const QString direction = position == Velmora::NavigationPosition_TOP ||
                                          position == Velmora::NavigationPosition_BOTTOM
                                      ? tr("horizontal")
                                      : tr("vertical");
        message->setText(
            tr("You can only have %1 pages in a %2 Page Switcher").arg(limit).arg(direction));
    } else {
        message->clear();
    }
    QPalette palette = message->palette();
    palette.setColor(QPalette::WindowText, within
                                               ? QApplication::palette().color(QPalette::WindowText)
                                               : QColor(Qt::red));
    message->setPalette(palette);
    if (!force && within == valid)
        return;
    valid = within;
    emit validStateChanged(valid);
}

void PageSwitcherEditor::refreshPageSwitcherPicker()
{
    pageSwitcherPicker->clear();
    if (document) {
        for (const Velmora::PageSwitcher& pageSwitcher : document->getPageSwitchers()) {
            if (!showAllPageSwitchers && pageSwitcher.getPosition() != position)
                continue;
            pageSwitcherPicker->addItem(document->pageNamesUsingPageSwitcher(pageSwitcher.getId()),
                                        QVariant::fromValue(pageSwitcher.getId()));
        }
    }
    // The picker keeps showing the chosen switcher.
    if (chosenId != UINT_MAX)
        selectPickerEntry(chosenId);
    existingRadio->setEnabled(pageSwitcherPicker->count() > 0);
}

void PageSwitcherEditor::refreshPageLists()
{
    refreshing = true;
    availableModel->clear();
    switcherModel->clear();
    std::set<unsigned int> remaining = offeredPages;
    const Velmora::Theme* theme = document ? document->getTheme() : nullptr;
    if (chosenId != UINT_MAX && document) {
        for (unsigned int pageId : document->getPageSwitcher(chosenId).getPageIds()) {
            switcherModel->appendRow(makePageItem(pageId, theme));
            remaining.erase(pageId);
        }
    }
    for (unsigned int pageId : remaining) {
        // Unsigned, so that no limit yet (-1) leaves room for the page being created.
        if (pageId == UINT_MAX && unsigned(switcherModel->rowCount()) < unsigned(limit))
            switcherModel->appendRow(makePageItem(pageId, theme));
        else
            availableModel->appendRow(makePageItem(pageId, theme));
    }
    sortProxy->sort(0, Qt::AscendingOrder);
    refreshing = false;
    validate(false);
}

QStandardItem* PageSwitcherEditor::makePageItem(unsigned int pageId,
                                                const Velmora::Theme* theme) const
{
    auto* item = new QStandardItem;
    item->setData(QVariant::fromValue(pageId), PageIdRole);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsEnabled);
    const QPixmap defaultIcon(QStringLiteral(":/default_page_icon.png"));
    if (pageId == UINT_MAX || !document) {
        item->setText(newPageName);
        item->setData(defaultIcon, Qt::DecorationRole);
        item->setData(INT_MAX, SortValueRole);
        return item;
    }
    const Velmora::Page& page = document->getPage(pageId);
    item->setText(page.getName());
    item->setData(int(page.getSortValue()), SortValueRole);
    const QPixmap icon =
        theme && page.getIconId() != UINT_MAX ? theme->getIconPixmap(page.getIconId()) : QPixmap();
    if (!icon.isNull()) {
        item->setData(icon, Qt::DecorationRole);
        item->setData(QSize(100, 32), Qt::SizeHintRole);
    } else {
        item->setData(defaultIcon, Qt::DecorationRole);
    }
    return item;
}

PageSwitcherEditorDialog::PageSwitcherEditorDialog(const VelmoraDocument* document, QWidget* parent)
    : QDialog(parent, Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      editor(new PageSwitcherEditor), positionCombo(new QComboBox), alignmentCombo(new QComboBox),
      buttonBox(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)),
      pDocument(document)
{
    setWindowTitle(tr("Add Page Switcher"));

    positionCombo->setIconSize(QSize(60, 40));
    positionCombo->addItem(tr("Top"), Velmora::NavigationPosition_TOP);
    positionCombo->addItem(tr("Bottom"), Velmora::NavigationPosition_BOTTOM);
    positionCombo->addItem(tr("Left"), Velmora::NavigationPosition_LEFT);
    positionCombo->addItem(tr("Right"), Velmora::NavigationPosition_RIGHT);
    alignmentCombo->addItem(tr("Start"), Velmora::Alignment_START);
    alignmentCombo->addItem(tr("End"), Velmora::Alignment_END);
    alignmentCombo->addItem(tr("Center"), Velmora::Alignment_CENTER);
    alignmentCombo->addItem(tr("Spread"), Velmora::Alignment_SPREAD);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Position")));
    row->addWidget(positionCombo);
    row->addWidget(new QLabel(tr("Alignment")));
    row->addWidget(alignmentCombo);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(buttonBox);

    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(positionCombo, &QComboBox::activated, this,
            &PageSwitcherEditorDialog::onPositionChange);
    connect(alignmentCombo, &QComboBox::activated, this,
            &PageSwitcherEditorDialog::onAlignmentChange);

    if (document)
        editor->setDocument(document);
    connect(editor, &PageSwitcherEditor::pageSwitcherIdChanged, this,
            &PageSwitcherEditorDialog::onPageSwitcherIdChanged);
    connect(editor, &PageSwitcherEditor::validStateChanged, this,
            &PageSwitcherEditorDialog::onValidStateChanged);
    setPosition(Velmora::NavigationPosition_BOTTOM);
    setAlignment(Velmora::Alignment_START);
}

void PageSwitcherEditorDialog::setEditMode(const Velmora::PageSwitcher* pageSwitcher)
{
    setWindowTitle(tr("Edit Page Switcher"));
    editor->setPageSwitcherId(pageSwitcher->getId());
}

void PageSwitcherEditorDialog::setPosition(int value)
{
    const int index = positionCombo->findData(value);
    if (index < 0)
        return;
    positionCombo->setCurrentIndex(index);
    onPositionChange(index);
}

void PageSwitcherEditorDialog::setAlignment(int value)
{
    const int index = alignmentCombo->findData(value);
    if (index < 0)
        return;
    alignmentCombo->setCurrentIndex(index);
    onAlignmentChange(index);
}

unsigned int PageSwitcherEditorDialog::pageSwitcherId() const
{
    return editor->pageSwitcherId();
}

void PageSwitcherEditorDialog::pageIds(std::vector<unsigned int>& ids) const
{
    editor->pageIds(ids);
}

void PageSwitcherEditorDialog::onPositionChange(int index)
{
    currentPosition = positionCombo->itemData(index).toInt();
    editor->setPosition(currentPosition);
}

void PageSwitcherEditorDialog::onAlignmentChange(int index)
{
    currentAlignment = alignmentCombo->itemData(index).toInt();
}

void PageSwitcherEditorDialog::onPageSwitcherIdChanged(unsigned int id)
{
    const bool composing = id == UINT_MAX;
    positionCombo->setEnabled(composing);
    alignmentCombo->setEnabled(composing);
    if (composing)
        return;
    VELMORA_ASSERT(pDocument);
    const Velmora::PageSwitcher& pageSwitcher = pDocument->getPageSwitcher(id);
    // The limit follows the existing switcher's edge.
    setPosition(pageSwitcher.getPosition());
    setAlignment(pageSwitcher.getAlignment());
}

void PageSwitcherEditorDialog::onValidStateChanged(bool valid)
{
    buttonBox->button(QDialogButtonBox::Ok)->setEnabled(valid);
}
