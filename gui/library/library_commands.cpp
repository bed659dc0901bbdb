#include "gui/library/library_commands.h"

#include "core/base/path_text.h"
#include "core/base/prompter.h"
#include "core/library/library_location.h"
#include "core/library/repricing.h"
#include "gui/library/library_browser.h"
#include "gui/library/reprice_dialog.h"

namespace tf::gui {
namespace {

// `after` says what became of the project, where anything could have.
void tellFailure(const LibraryHost& host, const LibraryError& e, std::string_view after = {}) {
    host.prompter.message("价格库无法使用：" + libraryLocation(host.settings, std::nullopt) +
                              "\r\n" + std::string(e.what()) + std::string(after),
                          Captions::kError, MessageFlags::kError);
}

constexpr std::string_view kProjectUnchanged = "\r\n工程没有改动。";

std::unique_ptr<PriceLibrary> openLibrary(const LibraryHost& host) {
    BusyCursor busy(host.prompter);
    return openPriceLibrary(libraryLocation(host.settings, std::nullopt));
}

}  // namespace

void repriceFromLibrary(const LibraryHost& host) {
    const auto day =
        host.prompter.input("取价日期（YYYY-MM-DD）：", "从价格库取价", libraryToday());
    if (!day) {
        return;
    }
    if (!isLibraryDay(*day)) {
        host.prompter.message("日期应写成 YYYY-MM-DD，例如 " + libraryToday() + "。",
                              Captions::kWarning, MessageFlags::kWarning);
        return;
    }
    RepricePlan plan;
    try {
        plan = planRepricing(host.document, *openLibrary(host), *day);
    } catch (const LibraryError& e) {
        tellFailure(host, e, kProjectUnchanged);
        return;
    }
    auto* dialog = new RepriceDialog(plan, host.window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, dialog, [host, plan] {
        int changed = 0;
        host.asOneStep([&] { changed = applyRepricing(host.document, plan); });
        host.prompter.setStatus("已从价格库取价：" + std::to_string(changed) + " 种材料改价");
    });
    dialog->open();
}

void browseLibrary(const LibraryHost& host) {
    try {
        auto* browser = new LibraryBrowser(openLibrary(host), host.window);
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->open();
    } catch (const LibraryError& e) {
        tellFailure(host, e);
    }
}

void savePricesToLibrary(const LibraryHost& host) {
    const std::string name = host.document.path.empty()
                                 ? "未命名工程"
                                 : utf8FromPath(pathFromUtf8(host.document.path).stem());
    try {
        const PriceImport done = openLibrary(host)->importPrices(projectPrices(host.document),
                                                                 libraryToday(), "工程：" + name);
        host.prompter.setStatus("已存入价格库：新增 " + std::to_string(done.added) +
                                " 个价格，更新 " + std::to_string(done.unchanged) + " 个");
    } catch (const LibraryError& e) {
        tellFailure(host, e);
    }
}

}  // namespace tf::gui
