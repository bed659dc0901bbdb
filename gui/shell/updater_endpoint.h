#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>
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

// The endpoint number of the program in that directory for the user running this one.
long programEndpoint(const QString& programDirectory);
QString programEndpointName(const QString& programDirectory);

// Whether a program listens at the endpoint of that name.
bool answersAt(const QString& name);
// A second start of the program: hands the project among the arguments (or none) to the
// program already running at the endpoint of that name, which comes to the front with it.
// False when none runs there or it did not take it: this start goes on as the first.
bool handToRunningProgram(const QString& name, const QStringList& arguments);
// How long a start waits for a running program to pick up, and to answer. Both answer from
// their event loops at once; the limits only keep a hung program from hanging this one.
inline constexpr int kConnectMilliseconds = 1000;
inline constexpr int kReplyMilliseconds = 5000;

// The updater's command-line argument: "endpoint/number/mode".
QString updaterArgument(long endpoint, long dataNumber, int mode);
// At start-up: "Up.dll" copied over "Uplift.exe", which is started for the silent check.
// "检查更新...": "Up.exe" for the manual check. Neither waits; failures are not reported. The
// silent check's process id, when it started.
std::optional<qint64> startSilentUpdateCheck(const QString& programDirectory, long endpoint,
                                             long dataNumber);
void startManualUpdateCheck(const QString& programDirectory, long endpoint, long dataNumber);

}  // namespace tf::gui
