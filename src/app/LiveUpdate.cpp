#include "app/LiveUpdate.h"
#include "net/IcmpEcho.h"
#include "platform/AppState.h"
#include "platform/Ini.h"
#include "platform/Session.h"
#include "platform/Ui.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace zorva {

namespace {
const QString kVersionFile = QStringLiteral("ZorvaLiveUpdate");
}

QString updateHostOf(const QString& updateUrl) {
    QString host = updateUrl.split(QLatin1Char('/')).value(2);
    // a port belongs to the web service, not to the host that is pinged
    const qsizetype colon = host.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0 && !host.contains(QLatin1Char(']'))) host.truncate(colon);
    if (const qsizetype at = host.lastIndexOf(QLatin1Char('@')); at >= 0) host.remove(0, at + 1);
    return host.trimmed();
}

std::optional<VersionLine> parseVersionLine(const QString& firstLine) {
    const QString separator = QStringLiteral(" -> ");
    const qsizetype at = firstLine.indexOf(separator);
    if (at < 0) return std::nullopt;
    VersionLine v{firstLine.left(at).trimmed(),
                  firstLine.mid(at + separator.size()).section(separator, 0, 0).trimmed()};
    if (!v.newest.contains(QLatin1Char('.'))) return std::nullopt;
    return v;
}

int compareVersionTexts(const QString& a, const QString& b) {
    const QStringList pa = a.split(QLatin1Char('.')), pb = b.split(QLatin1Char('.'));
    bool numeric = pa.size() == pb.size();
    for (qsizetype i = 0; numeric && i < pa.size(); ++i) {
        bool okA = false, okB = false;
        pa[i].toUInt(&okA);
        pb[i].toUInt(&okB);
        numeric = okA && okB;
    }
    if (numeric) {
        for (qsizetype i = 0; i < pa.size(); ++i) {
            const uint x = pa[i].toUInt(), y = pb[i].toUInt();
            if (x != y) return x < y ? -1 : 1;
        }
        return 0;
    }
    const int c = QString::compare(a, b, Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

UpdateVerdict judgeUpdate(const QString& current, const VersionLine& line) {
    if (compareVersionTexts(current, line.newest) >= 0) return UpdateVerdict::None;
    if (compareVersionTexts(current, line.lowest) >= 0) return UpdateVerdict::UpdateOffered;
    return UpdateVerdict::FullDownload;
}

HttpFetch::HttpFetch(QObject* parent) : QObject(parent), manager_(new QNetworkAccessManager(this)) {}

HttpFetch::~HttpFetch() = default;

std::optional<QByteArray> HttpFetch::get(const QString& address) {
    const QUrl url(address);
    if (!url.isValid() || url.scheme().isEmpty()) return std::nullopt;
    busy_ = true;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = manager_->get(request);
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    limit.start(timeoutMs);
    if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    std::optional<QByteArray> body;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && (status == 0 || status / 100 == 2))
        body = reply->readAll();
    reply->deleteLater();
    busy_ = false;
    return body;
}

bool DownloadFile(HttpFetch& fetch, const QString& address, const QString& folder,
                  QWidget* parent) {
    if (fetch.isBusy()) return false;
    const auto body = fetch.get(address);
    bool written = false;
    if (body) {
        QFile f(folder + QLatin1Char('/') + address.section(QLatin1Char('/'), -1));
        written = f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  f.write(*body) == body->size();
        if (f.isOpen()) f.close();
        written = written && f.error() == QFileDevice::NoError;
    }
    if (!written)
        ui().message(parent, Icon::Information, QString(),
                     QStringLiteral("An error has occured in the file transfer or write.  Please "
                                    "try again later."));
    return written;
}

bool updateHostAnswers(const QString& host) {
    return echoWithPayload(host, 32, 500).payloadMatched;
}

UpdateVerdict runLiveUpdateCheck(QWidget* parent, HttpFetch& fetch,
                                 const std::function<bool(const QString&)>& reachable,
                                 const QString& currentVersion) {
    const QString updateUrl = ReadIni(QStringLiteral("Web"), QStringLiteral("UpdateURL"));
    const QString host = updateHostOf(updateUrl);
    if (host.isEmpty() || !reachable(host)) return UpdateVerdict::None;
    const QString current = currentVersion.isEmpty() ? versionText() : currentVersion;
    const QString address = updateUrl + QLatin1Char('/') + kVersionFile;
    const QString saved = appState().appFolder + QLatin1Char('/') + kVersionFile;

    UpdateVerdict verdict = UpdateVerdict::None;
    std::optional<VersionLine> line;
    if (DownloadFile(fetch, address, appState().appFolder, parent)) {
        QFile f(saved);
        if (f.open(QIODevice::ReadOnly))
            line = parseVersionLine(QString::fromUtf8(f.readLine()).trimmed());
        if (line) verdict = judgeUpdate(current, *line);
    }
    const QString greeting = appState().gUserName + QStringLiteral(",\r\n\r\n");
    if (verdict == UpdateVerdict::UpdateOffered)
        ui().message(parent, Icon::Information, QStringLiteral("Live Update Info ..."),
                     greeting + QStringLiteral("There is an update available to version ") +
                         line->newest +
                         QStringLiteral(". Please update using Utility - Live Update menu."));
    else if (verdict == UpdateVerdict::FullDownload)
        ui().message(parent, Icon::Information, QStringLiteral("Information"),
                     greeting + QStringLiteral("There are Major Update to Zorva software. Please "
                                               "download Zorva from Zorva website !"));
    QFile::remove(saved);
    return verdict;
}

void checkForUpdatesAtLogin(QWidget* parent) {
    HttpFetch fetch;
    if (runLiveUpdateCheck(parent, fetch) == UpdateVerdict::UpdateOffered)
        session().offerLiveUpdate(true);
}

} // namespace zorva
