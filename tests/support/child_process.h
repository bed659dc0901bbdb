#pragma once

#include <functional>

namespace tf::test {

// Runs `body` in a forked child (for limits or identities a test must not give itself) and
// tells whether it returned true there.
bool trueInChildProcess(const std::function<bool()>& body);

// For a child run by root: becomes the unprivileged user "nobody", for whom file
// permissions count. False when that fails.
bool dropRootPrivileges();

}  // namespace tf::test
