#pragma once

class QCoreApplication;

namespace tf::gui {

// Qt's own texts (the standard buttons 确定/是/否/取消, the file dialogs) in Chinese on every
// locale, as the rest of the interface. False when Qt's Chinese translations are missing.
bool speakChinese(QCoreApplication& app);

}  // namespace tf::gui
