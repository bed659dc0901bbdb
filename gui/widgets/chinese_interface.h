#pragma once

class QCoreApplication;

namespace tf::gui {

// Qt's own texts (the standard buttons 确定/是/否/取消, the file dialogs) in Chinese on every
// locale, as the rest of the interface. False when Qt's Chinese translations are missing.
bool speakChinese(QCoreApplication& app);

// Before the application is made: the locale the system reports to Qt (which dates files in
// the file dialogs and names their columns) is Simplified Chinese whatever the session's
// language, while characters stay UTF-8.
void chineseSystemLocale();

}  // namespace tf::gui
