#pragma once

#include <optional>

namespace tf::uplift {

// The updater's side of the message endpoint: codes 4 and 3 wait for the main program's
// reply, 2 does not. A main program that is not there is no failure: replies are not used.
class MainProgramLink {
  public:
    explicit MainProgramLink(long endpoint) : endpoint_(endpoint) {}
    std::optional<int> send(int code, bool waitForReply) const;

  private:
    long endpoint_;
};

}  // namespace tf::uplift
