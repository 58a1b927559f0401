#pragma once

#include "main/software_version.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <map>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// Fetches the published release list once and answers whether a newer version exists for the
// platform this program runs on. The list is an XML document:
//
//     <releases>
//       <release version="1.2 BETA1">
//         <platform os="linux">
//           <downloadpage>https://...</downloadpage>
//           <downloadfile>https://...</downloadfile>
//         </platform>
//         <notes>text or rich text</notes>
//       </release>
//     </releases>
//
// releaseDataAvailable() is emitted once the check has ended, whatever its outcome; a list
// that could not be fetched or read leaves no releases, which reads as up to date.
//
// The server is not trusted. The whole check, from the request to the list read, ends within
// its deadline (a slow or silent server, or one that never stops sending, ends in no update);
// a body larger than MaximumListBytes is cut off and refused; the list is asked for as it is,
// not compressed, and an answer compressed all the same is refused at its headers, unread (a
// few kilobytes may inflate to gigabytes); the list's shape (nesting, elements, attributes) is
// checked before it is parsed, and both run on a thread of their own, so that the GUI thread
// only gathers the body's pieces as they come.
class VersionChecker : public QObject
{
    Q_OBJECT

public:
    enum Platform
    {
        NoPlatform = 0,
        Win32 = 1,
        MacOSX = 2,
        Linux = 3
    };

    struct Resources
    {
        QUrl downloadPage;
        QUrl downloadFile;
    };

    struct ReleaseData
    {
        std::map<Platform, Resources> resources;
        QString notes;
    };

    // The deadline of the whole check, so that it always reports.
    static constexpr int defaultTimeoutMs = 30000;
    // A release list is a few kilobytes.
    static constexpr qint64 MaximumListBytes = 1 << 20;

    // Sends the one GET request for the release list at the address. Redirections are not
    // followed. The check reports within timeoutMs.
    VersionChecker(const QUrl& address, QObject* parent = nullptr,
                   int timeoutMs = defaultTimeoutMs);
    ~VersionChecker() override;

    static Platform currentPlatform() { return Linux; }
    static bool hasPlatform(const ReleaseData& release, Platform platform);

    // True unless a release newer than `current` lists this platform; with finalOnly, release
    // candidates, betas and debug builds are passed over.
    bool isUpToDate(const SoftwareVersion& current, bool finalOnly) const;
    // The newest release listing this platform (final releases only with finalOnly); 0.0 when
    // there is none.
    const SoftwareVersion& latestVersion(bool finalOnly) const;
    // This platform's download page of the release; empty when it is not listed.
    QUrl downloadPage(const SoftwareVersion& version) const;
    // The notes of the release, empty when it is not listed.
    QString releaseNotes(const SoftwareVersion& version) const;

    const std::map<SoftwareVersion, ReleaseData>& releaseList() const { return releases; }
    // The bytes of the answer's body that the check took in.
    qint64 receivedBytes() const { return m_received; }
    // Whether the check ended by its deadline rather than by an answer.
    bool timedOut() const { return m_timedOut; }

    using ReleaseList = std::map<SoftwareVersion, ReleaseData>;
    // The releases of a release list's bytes; none when they are not a list of the expected
    // shape. Touches no object: it runs on a pool thread.
    static ReleaseList parseReleaseList(const QByteArray& bytes);

signals:
    void releaseDataAvailable();

private:
    void onMetaDataChanged();
    void onReadyRead();
    void onReplyFinished();
    // Ends the check once: the request is dropped, a parse still running is left to end on its
    // own, and the signal goes out.
    void report();

    QNetworkAccessManager* network;
    QNetworkReply* m_reply = nullptr;
    QByteArray m_body;
    qint64 m_received = 0;
    QTimer* m_deadline;
    bool m_reported = false;
    bool m_timedOut = false;
    ReleaseList releases;
};
