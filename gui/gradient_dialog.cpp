#include "gui/gradient_dialog.h"

#include "core/gradient_library.h"
#include "gui/colour_picker.h"
#include "gui/colour_swatch.h"
#include "gui/colour_widget_resources.h"
#include "gui/gradient_editor.h"
#include "gui/gradient_item_delegate.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

QPushButton* addButton(QBoxLayout* layout, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    layout->addWidget(button);
    return button;
}

QToolButton* iconButton(QAction* action, const QString& icon, QWidget* parent)
{
    action->setIcon(QIcon(icon));
    auto* button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return button;
}

} // namespace

GradientDialog::GradientDialog(QWidget* parent) : QDialog(parent)
{
    loadColourWidgetResources();
    setWindowTitle(tr("Gradients"));
    GradientLibrary* library = GradientLibrary::instance();
    undoStack = new QUndoStack(this);

    auto* layout = new QVBoxLayout(this);
    pages = new QStackedWidget(this);
    layout->addWidget(pages);

    listPage = new QWidget(pages);
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->setContentsMargins(0, 0, 0, 0);
    list = new QListView(listPage);
    list->setModel(library);
    list->setItemDelegate(new GradientItemDelegate(list));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setMouseTracking(true);
    listLayout->addWidget(list, 1);
    auto* listButtons = new QHBoxLayout;
    listLayout->addLayout(listButtons);
    QPushButton* newButton = addButton(listButtons, tr("New"), listPage);
    copyButton = addButton(listButtons, tr("Copy"), listPage);
    deleteButton = addButton(listButtons, tr("Delete"), listPage);
    editButton = addButton(listButtons, tr("Edit"), listPage);
    QPushButton* closeButton = addButton(listButtons, tr("Close"), listPage);
    listButtons->addStretch();
    for (QPushButton* button : {copyButton, deleteButton, editButton})
        button->setEnabled(false);
    pages->addWidget(listPage);

    editPage = new QWidget(pages);
    auto* editLayout = new QVBoxLayout(editPage);
    editLayout->setContentsMargins(0, 0, 0, 0);
    auto* nameRow = new QHBoxLayout;
    editLayout->addLayout(nameRow);
    nameRow->addWidget(new QLabel(tr("Name"), editPage));
    nameEdit = new QLineEdit(editPage);
    nameRow->addWidget(nameEdit);
    editor = new GradientEditor(editPage);
    editor->setUndoStack(undoStack);
    editLayout->addWidget(editor);
    picker = new ColourPicker(editPage);
    editLayout->addWidget(picker);
    editLayout->addStretch();
    if (ColourSwatch::activeSwatch) {
        auto* swatchRow = new QHBoxLayout;
        editLayout->addLayout(swatchRow);
        swatchWidget = new ColourSwatchWidget(editPage);
        swatchWidget->setSwatch(ColourSwatch::activeSwatch);
        swatchRow->addWidget(swatchWidget);
        swatchRow->addStretch();
    }
    auto* editButtons = new QHBoxLayout;
    editLayout->addLayout(editButtons);
    editButtons->addWidget(iconButton(undoStack->createUndoAction(this),
                                      QStringLiteral(":/icons/22x22/undo.png"), editPage));
    editButtons->addWidget(iconButton(undoStack->createRedoAction(this),
                                      QStringLiteral(":/icons/22x22/redo.png"), editPage));
    editButtons->addStretch();
    QPushButton* reverseButton = addButton(editButtons, tr("Reverse"), editPage);
    editButtons->addStretch();
    saveButton = addButton(editButtons, tr("Save"), editPage);
    saveButton->setEnabled(false);
    QPushButton* cancelButton = addButton(editButtons, tr("Cancel"), editPage);
    pages->addWidget(editPage);

    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &GradientDialog::onSelectionChanged);
    connect(list, &QListView::doubleClicked, this, &GradientDialog::accept);
    connect(newButton, &QPushButton::clicked, this, &GradientDialog::onNewPressed);
    connect(copyButton, &QPushButton::clicked, this, &GradientDialog::onCopyPressed);
    connect(deleteButton, &QPushButton::clicked, this, &GradientDialog::onDeletePressed);
    connect(editButton, &QPushButton::clicked, this, &GradientDialog::onEditPressed);
    connect(reverseButton, &QPushButton::clicked, this, &GradientDialog::onReversePressed);
    connect(saveButton, &QPushButton::clicked, this, &GradientDialog::onSavePressed);
    connect(cancelButton, &QPushButton::clicked, this, &GradientDialog::onCancelPressed);
    connect(closeButton, &QPushButton::clicked, this, &GradientDialog::accept);
    connect(nameEdit, &QLineEdit::textChanged, this, &GradientDialog::onNameChanged);
    connect(editor, &GradientEditor::gradientChanged, this, &GradientDialog::onGradientChanged);
    connect(editor, &GradientEditor::stopSelected, this, &GradientDialog::onStopSelected);
    connect(editor, &GradientEditor::stopColourChanged, this, &GradientDialog::onStopColourChanged);
    connect(picker, &ColourPicker::colourChanged, this, &GradientDialog::onColourSelected);
    if (swatchWidget)
        connect(swatchWidget, &ColourSwatchWidget::colourSelected, this,
                &GradientDialog::onSwatchColourSelected);
}

void GradientDialog::setAlphaEnabled(bool enabled)
{
    picker->setAlphaEnabled(enabled);
}

void GradientDialog::selectGradient(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    list->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(index);
}

void GradientDialog::setVisible(bool visible)
{
    // A close that was accepted has saved already; what it could not write is tried again here,
    // and said once.
    if (!visible) {
        GradientLibrary* library = GradientLibrary::instance();
        if (!library->save())
            QMessageBox::warning(
                this, tr("Save failed"),
                tr("The gradients could not be saved.\n%1").arg(library->saveError()));
    }
    QDialog::setVisible(visible);
}

void GradientDialog::reject()
{
    if (maybeSave())
        QDialog::reject();
}

void GradientDialog::closeEvent(QCloseEvent* event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    GradientLibrary::instance()->save();
    event->accept();
}

void GradientDialog::onSelectionChanged()
{
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    currentIndex = rows.size() == 1 ? QPersistentModelIndex(rows.first()) : QPersistentModelIndex();
    bool anyBuiltIn = false;
    for (const QModelIndex& row : rows)
        anyBuiltIn |=
            row.data(GradientLibrary::GradientTypeRole).toInt() == GradientLibrary::BuiltInGradient;
    copyButton->setEnabled(rows.size() == 1);
    deleteButton->setEnabled(!rows.isEmpty() && !anyBuiltIn);
    editButton->setEnabled(rows.size() == 1 && !anyBuiltIn);
    emit gradientSelected(currentIndex);
}

void GradientDialog::onNewPressed()
{
    beginEdit(GradientLibrary::instance()->newGradient(), true);
}

void GradientDialog::onCopyPressed()
{
    const QModelIndex copy = GradientLibrary::instance()->copyGradient(currentIndex);
    selectGradient(copy);
    emit gradientSelected(copy);
}

void GradientDialog::onDeletePressed()
{
    GradientLibrary::instance()->removeGradients(list->selectionModel()->selection());
}

void GradientDialog::onEditPressed()
{
    beginEdit(currentIndex, false);
}

void GradientDialog::onReversePressed()
{
    editor->reverse();
}

void GradientDialog::onSavePressed()
{
    commitEdit();
    endEdit(false);
}

void GradientDialog::onCancelPressed()
{
    endEdit(true);
}

void GradientDialog::setModified()
{
    modified = true;
    saveButton->setEnabled(true);
}

void GradientDialog::onNameChanged()
{
    setModified();
}

void GradientDialog::onGradientChanged()
{
    setModified();
}

void GradientDialog::onStopSelected(QColor colour)
{
    // The colour last chosen joins the recent colours once the user moves on to other stops.
    if (ColourSwatch::activeSwatch && lastColour.isValid())
        ColourSwatch::activeSwatch->addColour(lastColour);
    picker->setColour(colour);
    picker->setVisible(colour.isValid());
    if (swatchWidget)
        swatchWidget->setVisible(colour.isValid());
}

void GradientDialog::onStopColourChanged(QColor colour)
{
    picker->setColour(colour);
}

void GradientDialog::onColourSelected(QColor colour)
{
    lastColour = colour;
    editor->setSelectedStopColour(lastColour);
}

void GradientDialog::onSwatchColourSelected(QColor colour)
{
    picker->setColour(colour);
    editor->setSelectedStopColour(colour);
}

void GradientDialog::beginEdit(const QModelIndex& index, bool newGradient)
{
    editIndex = index;
    isNew = newGradient;
    const Gradient gradient = index.data(GradientLibrary::GradientRole).value<Gradient>();
    {
        const QSignalBlocker blocker(nameEdit);
        nameEdit->setText(gradient.name());
    }
    editor->setGradientStops(gradient.stops());
    modified = isNew;
    saveButton->setEnabled(isNew);
    pages->setCurrentWidget(editPage);
}

void GradientDialog::commitEdit()
{
    if (!editIndex.isValid())
        return;
    Gradient gradient;
    gradient.setName(nameEdit->text());
    gradient.setStops(editor->gradientStops());
    GradientLibrary::instance()->setGradient(editIndex, gradient);
    selectGradient(editIndex);
    emit gradientSelected(editIndex);
}

void GradientDialog::endEdit(bool discard)
{
    if (discard && isNew) {
        GradientLibrary::instance()->removeGradient(editIndex);
        isNew = false;
    }
    modified = false;
    saveButton->setEnabled(false);
    editIndex = QPersistentModelIndex();
    pages->setCurrentWidget(listPage);
}

bool GradientDialog::maybeSave()
{
    if (!modified)
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, tr("Gradient modified"), tr("Gradient is modified. Save changes?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) {
        commitEdit();
        endEdit(false);
    } else if (answer == QMessageBox::No) {
        endEdit(true);
    } else {
        return false;
    }
    return true;
}
