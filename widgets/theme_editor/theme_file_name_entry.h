#pragma once

#include "widgets/theme_editor/theme_file_name_entry_form.h"

#include <QString>
#include <QWidget>
#include <functional>

class ThemeNameValidator;

// The theme name and file path of a new theme file, as the export and new-theme pages ask for
// them. Until the user types a path or picks one with Browse, the path follows the name: one
// visible file in the remembered theme folder, named from the name as a bundle names its
// document (FileSystem::visibleFileName) with the theme extension; a path typed or picked is
// taken as it is, a relative one in the remembered theme folder. In both fields a pasted line
// break becomes a space, and a character that a theme file cannot store is refused with a word
// of why (ThemeNameValidator). Before a page writes anything it asks the entry to complete the
// path and to confirm replacing an existing file. Its size hint holds the whole path, as far as
// half the screen, for the page that shows it to grow to; the path is always its edit's tooltip.
class ThemeFileNameEntry : public QWidget, private Ui::ThemeFileNameEntry
{
    Q_OBJECT

public:
    // What asks the user where to save (parent, caption, starting point, filter); the path
    // chosen, or an empty text when cancelled. The platform's save dialog unless replaced.
    using SaveFileDialog =
        std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;

    explicit ThemeFileNameEntry(QWidget* parent = nullptr);
    ~ThemeFileNameEntry() override;

    QString name() const;
    // The path typed, picked or derived; a relative one taken in the remembered theme folder,
    // where a derived path lies.
    QString filePath() const;

    QSize sizeHint() const override;

    // Sets the name as the theme holds it (a carriage return read from a file is kept), as if
    // typed otherwise: the path follows it while it is derived, and nameChanged is emitted.
    void setName(const QString& name);
    // Sets the path text only: no signal, and a derived path still follows later name changes.
    void setFilePath(const QString& path);
    // Empties both texts silently and lets the path follow the name again, with the overwrite
    // question armed.
    void clear();
    // Focuses the name with its text selected, ready to be typed over.
    void focusName();

    // Completes the path before a page writes: a relative path becomes the whole path where it
    // is taken (see filePath), and "." and the theme extension are appended when it has
    // another suffix or none.
    void ensureFileExtension();
    // True to go on: nothing to ask, no file at the path, or the user agreed to replace it.
    bool confirmOverwrite();

    // Replaces the save dialog of every entry; an empty function restores the platform's.
    // Returns the previous one.
    static SaveFileDialog setSaveFileDialog(SaveFileDialog dialog);

signals:
    // The name text changed (typed or set); the derived path is already written.
    void nameChanged(const QString& name);
    // The user edited the path text; never for a path the entry writes itself.
    void filePathChanged(const QString& path);

private slots:
    void onNameChange(const QString& name);
    void onFilePathChange(const QString& text);
    void onBrowseClicked();

private:
    // Writes a path the entry made itself (derived, picked or completed), as it is.
    void writeFilePath(const QString& path);
    // The path becomes the edit's tooltip and the size hint follows it.
    void fitFilePath();

    // Turn what the user types or pastes into a field into what the field shows, and refuse
    // what a theme file cannot store; children of their edits.
    ThemeNameValidator* nameValidator = nullptr;
    ThemeNameValidator* pathValidator = nullptr;
    // The path is derived from the name; false once the user typed or browsed a path.
    bool autoFilePath = true;
    // confirmOverwrite must ask before an existing file is replaced; false only when the save
    // dialog already confirmed the very path in the edit.
    bool checkOverwrite = true;
};
