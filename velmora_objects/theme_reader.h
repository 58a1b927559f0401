#pragma once

#include "containers/smart_ptr.h"
#include "core/targz_archive.h"
#include "core/xml_shape.h"
#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/velmora_types.h"

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <map>
#include <memory>

class Gradient;
class QVariant;

namespace Velmora {
class ImageData;
class Theme;
class SkinSet;
class Skin;
class SkinProperty;
class SkinTransition;
struct ThemeLibraryData;
} // namespace Velmora

// Reads theme bundles: gzip-compressed tar archives of flat members, one of them the theme XML
// document that names the others. Opening a bundle reads the archive once, from start to end:
// every member is listed, and the document and the members that may carry images are held in
// memory; the document is then read from there, and no element it holds can make the reader
// go over the archive again. Each member's bytes are held once, however many elements name it.
//
// A bundle may hold no more than the limits allow, which are far above any real theme; one
// beyond them is refused at the header that breaks them, with a fault that says so. A document
// nested too deeply or with too many elements or attributes is refused the same way when the
// bundle is opened, before any element of it is read.
//
// Every reader alive has its own folder "velmora_theme_reader_<n>" in the folder of this
// process (TemporaryDirectory::processFolder), n being the lowest number (from 1) that no other
// live reader holds; members are written there only on request. The folder is removed with the
// reader. One reader may open several bundles in turn.
class ThemeReader : public QXmlStreamReader
{
public:
    // What one bundle may hold.
    struct Limits
    {
        int memberCount = 4096;               // members (the stores hold 3,328 images at most)
        qint64 memberSize = 32 * 1024 * 1024; // uncompressed bytes of any one member
        qint64 totalSize = 256 * 1024 * 1024; // uncompressed bytes of all members
        int imageSide = 4096;                 // pixels of either side of a picture
        int skinCount = 4096;                 // skins of all skin sets of the document
        // Nesting, elements and attributes of the document, checked before it is read.
        XmlShape::Limits document = {256, 1 << 20, 64, 1 << 22};
    };
    static const Limits& limits();
    // Replaces the limits of every later read (tests and fuzzing use small ones).
    static void setLimits(const Limits& limits);

    ThemeReader();
    ThemeReader(const ThemeReader&) = delete;
    ThemeReader& operator=(const ThemeReader&) = delete;
    ~ThemeReader();

    // Reads the bundle in one pass and opens its XML member (the first member at the top of
    // the bundle whose suffix is exactly "xml") as the document to read. Members are named as
    // TarHeaders gives them (a leading "./" dropped), and the sidecars that macOS archivers add
    // ("._<name>", anything in "__MACOSX/") are left out as if absent. A hard link to an
    // earlier file holds that file's bytes (through any chain of hard links), a sparse member
    // the file with its holes. The file is opened once and everything is learnt from what was
    // opened, whatever the path names meanwhile. False when the path is not a regular file or
    // is empty, the bundle cannot be read or is beyond the limits, a member cannot be read as a
    // file (a hard link to no earlier file, a sparse member whose map does not fit), or it has
    // no such member or that member is not a regular file; the stream reader is then left without a
    // document and with a fault that says what is wrong (for a file that is no gzip-compressed tar
    // archive, what it is instead; for a refused member, the member and what it is).
    bool open(const QString& bundlePath);
    // Writes the XML member into the temporary folder and returns the file's absolute path;
    // an empty string when no bundle with an XML member is open.
    QString extractXmlFile();

    // True when the opened bundle holds a member of exactly this name.
    bool hasMember(const QString& memberName) const;
    // The bytes of the member of exactly this name, as read at opening, when it is a regular
    // member that may carry an image or the document; null otherwise (a link or a folder has
    // no bytes).
    QByteArray memberData(const QString& memberName) const;
    // What the member of this name is when it is no file (a folder, a link...), the name given
    // without the "/" that archivers put after a folder's; MemberKind::File otherwise, also
    // for a name that no member has.
    TargzArchive::MemberKind memberKind(const QString& memberName) const;
    // Writes the member's bytes into the temporary folder, replacing a file of that name
    // there, and returns the file's absolute path. An empty string when the member has no
    // bytes held (see memberData) or the name is not a flat file name; nothing outside the
    // temporary folder is touched.
    QString extractMember(const QString& memberName);

    // The names of the members that carry a bundle's images: "landscape_splash_image",
    // "portrait_splash_image", "image_<n>", "icon_<n>", "control_image_<n>", "skin_image_<n>".
    static bool isImageMemberName(const QString& name);

    // The member's bytes as a new image of a theme's store (its id not set), sharing the bytes
    // and their digest with every other image made of that member; the digest is computed once.
    // Null when the member has no bytes held; an empty image while readLibraryData checks the
    // document.
    smart_ptr<Velmora::ImageData> imageOfMember(const QString& memberName);
    // The member decoded as a picture, once per member however often it is asked for; a null
    // picture when it has no bytes held or does not decode.
    QImage pictureOfMember(const QString& memberName);
    // The size of the member's picture as its header says, read once without decoding the
    // picture; invalid when it has no bytes held or no header of a picture format.
    QSize pictureSizeOfMember(const QString& memberName);
    // False when the member is a picture (as its header says) larger than the limits allow.
    bool withinImageLimits(const QString& memberName);

    // Closes the XML document once it has been read. The stream reader keeps its state, its
    // error included; the file object itself goes at the next open or with the reader.
    void closeDevice();

    const QString& bundlePath() const { return m_bundlePath; }
    // The bundle's member names in archive order.
    const QStringList& members() const { return m_members; }
    // The reader's temporary folder.
    QString temporaryFolder() const { return m_folder.dir().absolutePath(); }
    // The theme XML version of the document being read: 0 after open, until the root's
    // "version" attribute is read.
    int version() const { return m_version; }
    void setVersion(int version) { m_version = version; }

    // Reading the document. A fault of the document is raised on the stream reader with a
    // fixed, translatable text, and the first one ends the reading; what was read before it
    // stays in the theme. Member names that the document gives are accepted only when they
    // are of the kinds a bundle carries ("landscape_splash_image", "portrait_splash_image",
    // "image_<n>", "icon_<n>", "control_image_<n>", "skin_image_<n>"), so the document can
    // never steer a file operation outside the reader's folder.

    // Opens the bundle and reads every theme root of its document into the theme; true when
    // the bundle opened and the document holds no error. Default-skin names that no skin of
    // their set carries are dropped at the end, whatever the outcome. A read that throws (a
    // failed allocation) lets go of the bundle first; so does readLibraryData.
    bool read(const QString& bundlePath, Velmora::Theme* theme);
    // Reads the document of the bundle opened last into the theme once more, as read does,
    // from the members held since: the archive is not read again. False when no bundle is open.
    bool readOpened(Velmora::Theme* theme);
    // The read for a list of themes: opens the bundle and takes only the theme's name and its
    // two splash pictures into the data, whose path becomes the bundle path, then reads the
    // document as read does into a theme of its own, so that a bundle listed is one that
    // loads. True when the bundle opened and both reads found no error. Only the splash
    // pictures' headers are read; no image that the list does not show is decoded.
    bool readLibraryData(const QString& bundlePath, Velmora::ThemeLibraryData& data);

    // Counts one more skin of the document; false, with the fault raised, beyond the limit.
    bool countSkin();

    // Reads the root's "version" attribute (base 10) into version().
    void readVersion();
    // Passes over the current element with everything inside it. Iterative, so that no
    // nesting depth can exhaust the stack.
    void skipUnknownElement();

    // The element readers. Each is entered on the start tag of its own element (anything
    // else is fatal) and leaves the reader on that element's end tag, or after an error.
    void readTheme(Velmora::Theme* theme);
    void readLibraryTheme(Velmora::ThemeLibraryData* data);
    void readPageBackgroundImages(Velmora::Theme* theme);
    void readIcons(Velmora::Theme* theme);
    void readControlImages(Velmora::Theme* theme);
    void readDefaultItemProperties(Velmora::Theme* theme);
    void readDefaultItemProperty(QString* name, QVariant* value);
    void readGradient(Gradient* gradient);
    void readTextStyle(Velmora::TextStyle* textStyle);
    void readSkinSet(Velmora::SkinSet* skinSet, Velmora::Theme* theme);
    void readSkin(Velmora::Skin* skin, Velmora::Theme* theme);
    void readTransition(Velmora::SkinTransition* transition);
    // On return *out holds the new property when its name was recognised (owned by the
    // caller, also after an error), else null.
    void readSkinProperty(Velmora::SkinProperty** out, Velmora::ThemedItemType itemType,
                          Velmora::Theme* theme);

private:
    // Lets go of the bundle opened last: its members, their bytes and the document.
    void dropBundle();
    // readLibraryData() but for the letting go when it throws.
    bool readLibraryDataOf(const QString& bundlePath, Velmora::ThemeLibraryData& data);

    // What is made of one member, made once.
    struct Derived
    {
        std::unique_ptr<Velmora::ImageData> image;
        QImage picture;
        QSize size;
        bool pictureDecoded = false;
        bool sizeRead = false;
    };

    // Puts the held document on a new device at its start, with the stream reader reset.
    bool openDocument();

    QString m_bundlePath;
    QStringList m_members;
    QSet<QString> m_memberNames; // the same names, for lookups in constant time
    TemporaryDirectory m_folder;
    std::unique_ptr<QIODevice> m_xmlDevice;
    int m_version = 0;
    int m_folderNumber;
    QString m_xmlMember;
    QHash<QString, QByteArray> m_contents;
    QHash<QString, TargzArchive::MemberKind> m_otherKinds;
    std::map<QString, Derived> m_derived;
    int m_skinCount = 0;
    // While the library read checks the document: images are looked up and checked, but the
    // theme they would go to is thrown away, so they are made empty.
    bool m_checkingOnly = false;
};
