#include "gui/widgets/undo_keys.h"

#include <QShortcut>

#include "core/undo/undo_history.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {

void addUndoKeys(QWidget* window, const std::function<void(bool redo)>& step) {
    for (const UndoKey& key : kUndoKeys) {
        auto* shortcut = new QShortcut(QKeySequence(qs(key.sequence)), window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window,
                         [step, redo = key.redo] { step(redo); });
    }
}

std::optional<bool> undoKeyOf(const QKeyEvent* event) {
    const QKeySequence pressed(event->keyCombination());
    for (const UndoKey& key : kUndoKeys) {
        if (pressed == QKeySequence(qs(key.sequence))) {
            return key.redo;
        }
    }
    return std::nullopt;
}

}  // namespace tf::gui
