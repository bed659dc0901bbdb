#pragma once

#include <QKeyEvent>
#include <QWidget>
#include <functional>
#include <optional>

namespace tf::gui {

// Undo and redo keys as shortcuts of the window (not of its dialogs or of a cell being
// edited): `step(true)` redoes.
void addUndoKeys(QWidget* window, const std::function<void(bool redo)>& step);

// For a view that takes its keys itself: whether the key is undo (false) or redo (true).
std::optional<bool> undoKeyOf(const QKeyEvent* event);

}  // namespace tf::gui
