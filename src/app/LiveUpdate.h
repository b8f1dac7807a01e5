#pragma once
#include "app/VersionFile.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QWidget;

namespace zorva {

// The HTTP fetch of the update check: one request at a time, each with a time limit.
class HttpFetch : public QObject {
    Q_OBJECT
public:
    explicit HttpFetch(QObject* parent = nullptr);
    ~HttpFetch() override;
    bool isBusy() const { return busy_; }
    int timeoutMs = 15000;
    // Fetches the address; nullopt on any failure (an error reply, a time-out).
    std::optional<QByteArray> get(const QString& address);

private:
    QNetworkAccessManager* manager_;
    bool busy_ = false;
};

// Fetches the address into the folder under the part of the address after its last "/".
// False when the fetch is still busy (nothing done), or after a failed transfer or write
// (with the message "An error has occured in the file transfer or write.  Please try again
// later.").
bool DownloadFile(HttpFetch& fetch, const QString& address, const QString& folder,
                  QWidget* parent = nullptr);

// Whether the update host answers: one echo with 32 random bytes within 500 ms, the same bytes
// coming back.
bool updateHostAnswers(const QString& host);

// The check after a login with "Check for Version Updates." ticked: reads Web/UpdateURL, tests
// the host, fetches the version file into the application folder, tells the user what it found
// and always deletes the file again. The caller enables "Live Update" on UpdateOffered.
UpdateVerdict runLiveUpdateCheck(QWidget* parent, HttpFetch& fetch,
                                 const std::function<bool(const QString&)>& reachable =
                                     updateHostAnswers,
                                 const QString& currentVersion = {});

// The login's check: runs the check and, when an update is offered, offers the live update to
// the session (the main window enables its entry and shows its toolbar button).
void checkForUpdatesAtLogin(QWidget* parent);

} // namespace zorva
