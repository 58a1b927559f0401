#pragma once

#include "velmora_objects/theme.h"

#include <QList>
#include <QStringList>
#include <limits>

// The theme editor's editable theme: a complete, independent copy of a theme on which the
// editor's commands work, addressing skins by item type and name. The theme bundle writer also
// makes one as its private working copy, which it prunes without touching the caller's theme.
//
// The editor keeps skin names unique within a type (the sets are keyed by name) and a type's
// default-skin name naming a skin of its set.
class EditTheme : public Velmora::Theme
{
public:
    // A deep copy of the theme, its name included.
    explicit EditTheme(const Velmora::Theme& theme);
    // The theme bundle at the path, read as Velmora::Theme reads it (empty when unreadable).
    explicit EditTheme(const QString& bundlePath);
    EditTheme(const EditTheme&) = delete;
    EditTheme& operator=(const EditTheme&) = delete;
    ~EditTheme() override;

    // The skin set of the item type. When the theme has none: null, or with create a new,
    // empty set of that type, stored in the theme (which owns it) and returned.
    Velmora::SkinSet* skinSet(Velmora::ThemedItemType itemType, bool create);

    // Puts the skin into the set of its own item type, creating the set when missing, and
    // takes it (skin becomes null). False, leaving skin with the caller, when the set already
    // holds a skin of that name or skin is null.
    bool addSkin(smart_ptr<Velmora::Skin>& skin);
    // Removes and deletes the named skin; nothing when the type has no set or no such skin.
    void removeSkin(Velmora::ThemedItemType itemType, const QString& name);
    // Adds a skin of the name holding every property of the type's definition table, valued
    // as the type's default skin has it where that skin holds the property and as the table
    // has it elsewhere; its transition is a new skin's, not the default skin's. False, adding
    // nothing, when the name is taken.
    bool createSkin(Velmora::ThemedItemType itemType, const QString& name);
    // Adds a deep copy of the named skin called "Copy of <name>", or "Copy <n> of <name>" with
    // the first n from 2 that is free, and returns that name in newName. False when the type
    // has no set (none is created) or no such skin.
    bool duplicateSkin(Velmora::ThemedItemType itemType, const QString& name, QString& newName);

    // Stores the value under the type and the name. An invalid value erases the entry, and the
    // type's entry with its last value, so that undoing a first setting leaves the theme as it
    // was rather than holding a value that would be saved as an empty text.
    void setDefaultItemProperty(Velmora::ThemedItemType itemType, const QString& propertyName,
                                const QVariant& value);

    // Whether the store holds an image whose bytes equal the file's (compared by digest,
    // whatever the file's name). False for a file that cannot be read.
    static bool containsImageFile(const QString& path, const ImageStore& store);
    bool hasPageBackground(const QString& path) const;
    bool hasIcon(const QString& path) const;

    // A file left out, with the bound it goes beyond.
    struct RefusedFile
    {
        QString path;
        QString reason;
    };
    // Image files offered for one store, in their given order: those to add, those whose bytes
    // the store already holds, those that cannot be read or decoded as an image, which would
    // otherwise be stored as empty images, those that are no regular file (with the words of
    // the regular-file rule), which are not read at all, and those that a theme bundle could not
    // carry (see ThemeImageLimits), or that would take more than the room left, in bytes, for
    // the images of the whole theme.
    struct ImageFiles
    {
        QStringList newFiles;
        QStringList storedFiles;
        QStringList unreadableFiles;
        QList<RefusedFile> notRegularFiles;
        QList<RefusedFile> tooLargeFiles;
    };
    static ImageFiles sortImageFiles(const QStringList& paths, const ImageStore& store,
                                     qint64 room = std::numeric_limits<qint64>::max());
    // Whether the file can be read, is within the bounds of a theme image and its bytes decode
    // as an image (format taken from the bytes, as the theme decodes stored images).
    static bool isImageFile(const QString& path);
    // The bytes of every image and splash picture the theme holds.
    qint64 imageBytes() const;

    // The stored bytes of the image of the id, which the store must hold.
    const QByteArray& pageBackgroundData(unsigned int id) const;
    const QByteArray& iconData(unsigned int id) const;
    const QByteArray& controlImageData(unsigned int id) const;
    const QByteArray& skinImageData(unsigned int id) const;
};
