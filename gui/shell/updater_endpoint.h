#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <optional>

#include "core/update/updater_link.h"

namespace tf::gui {

// The main program's message endpoint for the updater: a local socket only the same user
// can reach, named after a number the updater gets on its command line. Each 12-byte
// request is answered by the host with a 4-byte reply; anything else ends the connection.
class UpdaterEndpoint : public QObject {
    Q_OBJECT
  public:
    UpdaterEndpoint(long number, UpdaterHost& host, QObject* parent = nullptr);
    long number() const { return number_; }
    bool listening() const { return server_.isListening(); }

  signals:
    void answered(int code, int reply);

  private:
    void serve(QLocalSocket* socket);

    long number_;
    UpdaterHost& host_;
    QLocalServer server_;
};

// The updater's command-line argument: "endpoint/number/mode".
QString updaterArgument(long endpoint, long dataNumber, int mode);
// At start-up: "Up.dll" copied over "Uplift.exe", which is started for the silent check.
// "检查更新...": "Up.exe" for the manual check. Neither waits; failures are not reported. The
// silent check's process id, when it started.
std::optional<qint64> startSilentUpdateCheck(const QString& programDirectory, long endpoint,
                                             long dataNumber);
void startManualUpdateCheck(const QString& programDirectory, long endpoint, long dataNumber);

}  // namespace tf::gui
