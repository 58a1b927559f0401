#pragma once

#include <QObject>
#include <QString>

class ProgressHandler;

namespace Velmora {
class Theme;
}

// Writes a theme as a theme bundle: a gzip-compressed tar archive of the two splash images
// ("landscape_splash_image", "portrait_splash_image"), every page background, icon and control
// image ("image_<id>", "icon_<id>", "control_image_<id>"), the skin images that some skin still
// uses ("skin_image_<id>") and the theme XML document (see xmlMemberName), in that order.
//
// The members are assembled in memory, the image bytes shared with the theme rather than copied,
// and written straight into the archive. The bundle file is replaced only once the whole archive
// has been written and flushed to disk, so a failed write leaves an existing bundle as it was
// (see TargzArchive::create: a link is written through, permissions are kept, a read-only
// bundle is refused). The caller's theme is never changed: pruning works on a private copy.
// Pruning leaves out the skin images no skin uses and the skin properties that the
// skin-property tables do not define, and before anything is written the bundle is held to
// the reader's limits (ThemeReader::limits(): members, bytes, picture sides, skins, the shape of
// the document), so that every bundle written reads back; a theme beyond them is not written.
class ThemeFileWriter : public QObject
{
    Q_OBJECT

public:
    // The codes of error(int).
    enum Error
    {
        XmlFileError = 0,    // the theme XML document could not be written
        ImageFileError = 1,  // an image member could not be written (no longer happens: image
                             // members are written from memory, as part of the archive)
        SplashFileError = 2, // a splash image could not be encoded
        ArchiveError = 3,    // the archive could not be written (a full disk, a read-only or
                             // missing target, no memory left; errorString() says which)
        LimitError = 4,      // the bundle would go beyond what the reader takes (errorString()
                             // says which bound)
        NameError = 5        // the theme's name holds a character that the theme XML document
                             // cannot hold (errorString() names it)
    };

    // Neither the theme nor the progress handler is owned; the handler may be null.
    ThemeFileWriter(const Velmora::Theme* theme, ProgressHandler* progressHandler,
                    QObject* parent = nullptr);

    void setTheme(const Velmora::Theme* theme) { m_theme = theme; }
    void setProgressHandler(ProgressHandler* progressHandler) { m_progress = progressHandler; }

    // Writes the bundle; on failure emits error(int) once and returns false. Progress goes to
    // the handler: five steps of preparation, the last of which the packaging fills. Ranges
    // opened here are closed again on every return.
    bool write(const QString& bundlePath);
    // What went wrong in the last write, for the errors that say more than their code
    // (LimitError, and ArchiveError: what stands in the bundle's place, "No space left on
    // device"...); empty otherwise.
    const QString& errorString() const { return m_errorString; }

    // The name of the XML member for a theme name: FileSystem::visibleFileName with ".xml", a
    // name that every common system extracts and every reader takes as the document. The
    // document keeps the theme's name as typed.
    static QString xmlMemberName(const QString& themeName);

signals:
    void error(int code);

public slots:
    void onArchiveOperationStarted(int total);
    void onArchiveOperationProgress(int done);

private:
    // The steps of write; false after emitting error(int).
    bool writeBundle(const QString& bundlePath);
    bool fail(Error code, const QString& message = QString());

    const Velmora::Theme* m_theme;
    ProgressHandler* m_progress;
    QString m_errorString;
};
