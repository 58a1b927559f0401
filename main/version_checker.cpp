#include "main/version_checker.h"

#include "core/xml_shape.h"

#include <QDomDocument>
#include <QFutureWatcher>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QtConcurrent>
#include <utility>

namespace {

// A release list nests four deep (releases, release, platform, address), with notes of rich
// text below, and has few attributes to an element; the counts are those that the bounded
// body can hold, so that only the nesting and the attributes of one element are refused.
constexpr XmlShape::Limits ListShape = {32, 1 << 18, 8, 1 << 18};

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
    : QObject(parent), network(new QNetworkAccessManager(this)), m_deadline(new QTimer(this))
{
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this] {
        m_timedOut = !m_reported;
        report();
    });
    m_deadline->start(timeoutMs);
    QNetworkRequest request(address);
    // The list comes from one known address; a redirection is a failure, not a new address.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    // Without an encoding of our own, the network code asks for a compressed answer and
    // inflates it by itself, however large it grows; the list is small enough as it is.
    request.setRawHeader("Accept-Encoding", "identity");
    m_reply = network->get(request);
    // The body is taken as it comes, so that no more than the bound is ever held.
    m_reply->setReadBufferSize(64 * 1024);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &VersionChecker::onMetaDataChanged);
    connect(m_reply, &QNetworkReply::readyRead, this, &VersionChecker::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &VersionChecker::onReplyFinished);
}

VersionChecker::~VersionChecker()
{
    // The reply goes with the manager, without a signal to this half-destroyed object.
    if (m_reply)
        m_reply->disconnect(this);
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

void VersionChecker::onMetaDataChanged()
{
    if (!m_reply || m_reported)
        return;
    // An answer compressed although it was asked for as it is: inflating it is what must not
    // happen, so it is given up before any of it is read.
    const QByteArray coding = m_reply->rawHeader("Content-Encoding").trimmed().toLower();
    if (!coding.isEmpty() && coding != "identity")
        report();
}

void VersionChecker::onReadyRead()
{
    if (!m_reply || m_reported)
        return;
    const QByteArray piece = m_reply->read(MaximumListBytes + 1 - m_body.size());
    m_received += piece.size();
    m_body += piece;
    // One byte past the bound: the list is refused, whatever else would have come.
    if (m_body.size() > MaximumListBytes) {
        m_body.clear();
        report();
    }
}

void VersionChecker::onReplyFinished()
{
    if (!m_reply || m_reported)
        return;
    onReadyRead();
    if (m_reported)
        return;
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    reply->deleteLater();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // An unfollowed redirection ends without an error; only a successful answer holds the list.
    if (reply->error() != QNetworkReply::NoError ||
        (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) || m_body.isEmpty()) {
        report();
        return;
    }
    // The deadline still runs: a parse that outlasts it is left to end on its own, unheard.
    auto* parsed = new QFutureWatcher<ReleaseList>(this);
    connect(parsed, &QFutureWatcherBase::finished, this, [this, parsed] {
        if (!m_reported)
            releases = parsed->result();
        parsed->deleteLater();
        report();
    });
    parsed->setFuture(
        QtConcurrent::run(&VersionChecker::parseReleaseList, std::exchange(m_body, {})));
}

void VersionChecker::report()
{
    if (m_reported)
        return;
    m_reported = true;
    m_deadline->stop();
    m_body.clear();
    if (QNetworkReply* reply = std::exchange(m_reply, nullptr)) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    emit releaseDataAvailable();
}

VersionChecker::ReleaseList VersionChecker::parseReleaseList(const QByteArray& bytes)
{
    ReleaseList releases;
    // The shape first: the document tree takes memory and time that grow with the nesting and
    // the elements, and time that grows with the square of one element's attributes.
    if (!XmlShape::Check(bytes, ListShape).fine())
        return releases;
    QDomDocument document;
    if (!document.setContent(bytes, false))
        return releases;
    const QDomNodeList lists = document.elementsByTagName(QStringLiteral("releases"));
    if (lists.size() != 1)
        return releases;

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
    return releases;
}
