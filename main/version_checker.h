#pragma once

#include "main/software_version.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <map>

class QNetworkAccessManager;
class QNetworkReply;

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
// releaseDataAvailable() is emitted once the request has ended, whatever its outcome; a list
// that could not be fetched or read leaves no releases, which reads as up to date.
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

    // A request that stays silent this long ends as a failure, so that the check always reports.
    static constexpr int defaultTimeoutMs = 30000;

    // Sends the one GET request for the release list at the address. Redirections are not
    // followed.
    VersionChecker(const QUrl& address, QObject* parent = nullptr,
                   int timeoutMs = defaultTimeoutMs);

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

signals:
    void releaseDataAvailable();

public slots:
    void onReplyFinished(QNetworkReply* reply);

private:
    void readReleaseList(QNetworkReply* reply);

    QNetworkAccessManager* network;
    std::map<SoftwareVersion, ReleaseData> releases;
};
