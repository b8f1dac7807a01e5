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
            line = parseVersionFile(f.readLine());
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
