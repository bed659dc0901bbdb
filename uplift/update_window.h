#pragma once

#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <memory>

#include "core/update/update_check.h"
#include "uplift/http_fetcher.h"
#include "uplift/main_program_link.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tf {
class Prompter;
}

namespace tf::uplift {

// "检查更新": shows the UpdateCheck's state and carries out its steps: the probe, the two
// downloads, the messages to the main program, the notice and the install.
class UpdateWindow : public QWidget {
    Q_OBJECT
  public:
    // `notice`: whether "您必须退出…" waits for the user before the files are written (an
    // unattended installation skips it).
    UpdateWindow(const UpdaterArguments& arguments, std::filesystem::path programDirectory,
                 QUrl base, std::chrono::milliseconds limit, bool notice);
    ~UpdateWindow() override;

    // Silent mode starts at once; manual mode waits for "开 始".
    void begin();
    const UpdateCheck& check() const { return check_; }

  protected:
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void run(UpdateStep step);
    void showState(const UpdateView& view);
    void placeAtBottomRight();

    UpdaterArguments arguments_;
    std::filesystem::path programDirectory_;
    QUrl base_;
    bool notice_;
    UpdateCheck check_;
    HttpFetcher fetcher_;
    MainProgramLink link_;
    std::unique_ptr<Prompter> prompter_;
    QLabel* progressCaption_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* end_ = nullptr;
};

}  // namespace tf::uplift
