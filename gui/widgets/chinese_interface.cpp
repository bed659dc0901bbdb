#include "gui/widgets/chinese_interface.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QtGlobal>

namespace tf::gui {

void chineseSystemLocale() {
    // Qt reads the categories it formats by; the character type stays as the C library has it,
    // which needs no Chinese locale installed.
    for (const char* category : {"LC_TIME", "LC_MESSAGES", "LC_MONETARY", "LC_NUMERIC"}) {
        qputenv(category, "zh_CN.UTF-8");
    }
    qputenv("LANGUAGE", "zh_CN");
    qunsetenv("LC_ALL");
    qputenv("LANG", "C.UTF-8");
}

bool speakChinese(QCoreApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace tf::gui
