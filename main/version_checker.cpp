#include "main/version_checker.h"

#include <QDomDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

VersionChecker::Platform platformOf(const QString& os)
{
    if (os == QLatin1String("win32"))
        return VersionChecker::Win32;
    if (os == QLatin1String("macosx"))
        return VersionChecker::MacOSX;
    if (os == QLatin1String("linux"))
        return VersionChecker::Linux;
    return VersionChecker::NoPlatform;
}

// The trimmed text of the one descendant of that name; empty when there is none or several.
QString onlyText(const QDomElement& parent, const QString& name)
{
    const QDomNodeList found = parent.elementsByTagName(name);
    return found.size() == 1 ? found.item(0).toElement().text().trimmed() : QString();
}

} // namespace

VersionChecker::VersionChecker(const QUrl& address, QObject* parent, int timeoutMs)
    : QObject(parent), network(new QNetworkAccessManager(this))
{
    connect(network, &QNetworkAccessManager::finished, this, &VersionChecker::onReplyFinished);
    QNetworkRequest request(address);
    // The list comes from one known address; a redirection is a failure, not a new address.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    network->get(request);
}

bool VersionChecker::hasPlatform(const ReleaseData& release, Platform platform)
{
    return release.resources.count(platform) != 0;
}

bool VersionChecker::isUpToDate(const SoftwareVersion& current, bool finalOnly) const
{
    for (auto iRelease = releases.rbegin(); iRelease != releases.rend(); ++iRelease) {
        if (!(current < iRelease->first))
            return true;
        if (finalOnly && !iRelease->first.isFinal())
            continue;
        if (hasPlatform(iRelease->second, currentPlatform()))
            return false;
    }
    return true;
}

const SoftwareVersion& VersionChecker::latestVersion(bool finalOnly) const
{
    static const SoftwareVersion none;
    for (auto iRelease = releases.rbegin(); iRelease != releases.rend(); ++iRelease) {
        if (finalOnly && !iRelease->first.isFinal())
            continue;
        if (hasPlatform(iRelease->second, currentPlatform()))
            return iRelease->first;
    }
    return none;
}

QUrl VersionChecker::downloadPage(const SoftwareVersion& version) const
{
    const auto iRelease = releases.find(version);
    if (iRelease == releases.end())
        return QUrl();
    const auto iResources = iRelease->second.resources.find(currentPlatform());
    return iResources == iRelease->second.resources.end() ? QUrl()
                                                          : iResources->second.downloadPage;
}

QString VersionChecker::releaseNotes(const SoftwareVersion& version) const
{
    const auto iRelease = releases.find(version);
    return iRelease == releases.end() ? QString() : iRelease->second.notes;
}

void VersionChecker::onReplyFinished(QNetworkReply* reply)
{
    readReleaseList(reply);
    reply->deleteLater();
    emit releaseDataAvailable();
}

void VersionChecker::readReleaseList(QNetworkReply* reply)
{
    if (reply->error() != QNetworkReply::NoError)
        return;
    // An unfollowed redirection ends without an error; only a successful answer holds the list.
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299))
        return;

    QDomDocument document;
    if (!document.setContent(reply, false))
        return;
    const QDomNodeList lists = document.elementsByTagName(QStringLiteral("releases"));
    if (lists.size() != 1)
        return;

    const QDomNodeList releaseElements =
        lists.item(0).toElement().elementsByTagName(QStringLiteral("release"));
    for (int i = 0; i < releaseElements.size(); ++i) {
        const QDomElement release = releaseElements.item(i).toElement();
        const SoftwareVersion version =
            SoftwareVersion::fromString(release.attribute(QStringLiteral("version")));
        ReleaseData data;
        const QDomNodeList platforms = release.elementsByTagName(QStringLiteral("platform"));
        for (int j = 0; j < platforms.size(); ++j) {
            const QDomElement platform = platforms.item(j).toElement();
            Resources resources;
            resources.downloadPage = QUrl(onlyText(platform, QStringLiteral("downloadpage")));
            resources.downloadFile = QUrl(onlyText(platform, QStringLiteral("downloadfile")));
            data.resources[platformOf(platform.attribute(QStringLiteral("os")))] = resources;
        }
        data.notes = onlyText(release, QStringLiteral("notes"));
        releases[version] = data;
    }
}
