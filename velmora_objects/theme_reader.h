#pragma once

#include "velmora_objects/temporary_directory.h"
#include "velmora_objects/velmora_types.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <memory>

class Gradient;
class QVariant;

namespace Velmora {
class Theme;
class SkinSet;
class Skin;
class SkinProperty;
class SkinTransition;
struct ThemeLibraryData;
} // namespace Velmora

// Reads theme bundles: gzip-compressed tar archives of flat members, one of them the theme XML
// document that names the others. Opening a bundle lists its members and extracts only the XML
// member, into the reader's own temporary folder, and hands it to the XML stream reader; the
// image members are extracted one at a time, when the document names them.
//
// Every reader alive has its own folder "velmora_theme_reader_<n>" in the application-data
// folder, n being the lowest number (from 1) that no other live reader holds. The folder is
// removed with the reader. One reader may open several bundles in turn.
class ThemeReader : public QXmlStreamReader
{
public:
    ThemeReader();
    ThemeReader(const ThemeReader&) = delete;
    ThemeReader& operator=(const ThemeReader&) = delete;
    ~ThemeReader();

    // Lists the bundle, extracts its XML member and opens it as the document to read. False
    // when the bundle cannot be listed, has no XML member, or that member cannot be extracted
    // or opened; the stream reader is then left without a document and without an error.
    bool open(const QString& bundlePath);
    // Extracts the first member whose suffix is exactly "xml" and returns the extracted file's
    // absolute path; an empty string when there is no such member or it cannot be extracted.
    QString extractXmlFile();

    // True when the opened bundle holds a member of exactly this name.
    bool hasMember(const QString& memberName) const;
    // Extracts the member of exactly this name (no pattern matching) into the temporary
    // folder, replacing a file of that name there, and returns the extracted file's absolute
    // path. An empty string when the name is not a flat member name of the bundle or the
    // extraction fails; nothing outside the temporary folder is touched.
    QString extractMember(const QString& memberName);

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
    // their set carries are dropped at the end, whatever the outcome.
    bool read(const QString& bundlePath, Velmora::Theme* theme);
    // The light read: opens the bundle and takes only the theme's name and its two splash
    // pictures into the data, whose path becomes the bundle path. True when the bundle opened
    // and the document holds no error.
    bool readLibraryData(const QString& bundlePath, Velmora::ThemeLibraryData& data);

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
    QString m_bundlePath;
    QStringList m_members;
    TemporaryDirectory m_folder;
    std::unique_ptr<QFile> m_xmlDevice;
    int m_version = 0;
    int m_folderNumber;
};
