#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QTest>
#include <QTimer>
#include <functional>

namespace tf::test {

// How long a window test waits for an event before calling it missing: far beyond what a
// loaded machine takes, so only an event that never comes reaches it. Tests wait for the
// event itself, never for a fixed time.
inline constexpr int kEventCeilingMs = 60'000;

// Processes events until `done` holds; false when the ceiling came first.
template <class Condition>
bool waitUntil(Condition done) {
    return QTest::qWaitFor(done, kEventCeilingMs);
}

// Runs `action` from the event loop as soon as `ready` holds: gestures on a window that a
// blocking call (a modal dialog, the capture overlay) is about to put up.
inline void whenReady(std::function<bool()> ready, std::function<void()> action) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout,
                     [poll, deadline = QDeadlineTimer(kEventCeilingMs), ready = std::move(ready),
                      action = std::move(action)] {
                         const bool now = ready();
                         if (!now && !deadline.hasExpired()) {
                             return;
                         }
                         poll->stop();
                         poll->deleteLater();
                         if (now) {
                             action();
                         } else {
                             ADD_FAILURE() << "the awaited window never came";
                         }
                     });
    poll->start();
}

// The top-level window of that class on screen, if any: one a command opened without
// waiting for it.
template <class Window>
Window* shownWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<Window*>(w); found && found->isVisible()) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace tf::test
