#pragma once

#include <QColor>
#include <QDialog>
#include <QPersistentModelIndex>

class ColourPicker;
class ColourSwatchWidget;
class GradientEditor;
class QLineEdit;
class QListView;
class QPushButton;
class QStackedWidget;
class QUndoStack;

// The manager of the application's gradient library: a list page to browse, create, copy,
// delete and pick gradients, and an edit page where one user gradient gets its name and stops
// edited, with undo of the stop edits. The choice reaches callers only through
// gradientSelected(), an index of the library model, emitted at every selection change of the
// list, after Copy and after Save. Library changes are written to their files whenever the
// dialog is hidden.
class GradientDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GradientDialog(QWidget* parent = nullptr);

    void setAlphaEnabled(bool enabled);
    // Selects that row alone and scrolls to it; nothing for an invalid index.
    void selectGradient(const QModelIndex& index);

    void setVisible(bool visible) override;

signals:
    void gradientSelected(QModelIndex index);

public slots:
    // Escape and every other rejection on the edit page ask about unsaved changes first, as
    // closing the window does.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void onSelectionChanged();
    void onNewPressed();
    void onCopyPressed();
    void onDeletePressed();
    void onEditPressed();
    void onReversePressed();
    void onSavePressed();
    void onCancelPressed();
    void onNameChanged();
    void onGradientChanged();
    void onStopSelected(QColor colour);
    void onStopColourChanged(QColor colour);
    void onColourSelected(QColor colour);
    void onSwatchColourSelected(QColor colour);

private:
    void beginEdit(const QModelIndex& index, bool isNew);
    void commitEdit();
    void endEdit(bool discard);
    // Offers to save unsaved changes; false when the user cancels.
    bool maybeSave();
    void setModified();

    QStackedWidget* pages;
    QWidget* listPage;
    QWidget* editPage;
    QListView* list;
    QPushButton* copyButton;
    QPushButton* deleteButton;
    QPushButton* editButton;
    QLineEdit* nameEdit;
    GradientEditor* editor;
    ColourPicker* picker;
    ColourSwatchWidget* swatchWidget = nullptr;
    QPushButton* saveButton;
    QUndoStack* undoStack;
    QPersistentModelIndex currentIndex;
    QPersistentModelIndex editIndex;
    QColor lastColour;
    bool modified = false;
    bool isNew = false;
};
