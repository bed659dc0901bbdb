#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/prompter.h"
#include "core/grid/cell_block.h"
#include "core/grid/grid.h"

namespace tf {

// What came of pasting a block cell by cell: the cells refused, and what the table's rules
// said of the cells they took. Told in one message, not one box per cell.
class PasteReport {
  public:
    // Rows as the user sees them numbered (the heading is row 0).
    void refuse(int row, std::string_view column, std::string_view text, std::string_view why);
    void note(int row, std::string_view column, std::string_view said);
    // A cell beyond the table's last column.
    void refuseOutside(int row, std::string_view text);
    bool empty() const { return lines_.empty(); }
    const std::vector<std::string>& lines() const { return lines_; }
    // Names the first kMostNamed cells, then how many more there were.
    void tell(Prompter& prompter) const;
    static constexpr std::size_t kMostNamed = 20;

  private:
    std::vector<std::string> lines_;
};

// Lets core's rules run cell by cell while a block is pasted: while it gathers, what they
// would tell the user is kept for the paste's one message; what they ask still goes to the
// user, and so does everything while it does not gather.
class GatheringPrompter : public Prompter {
  public:
    explicit GatheringPrompter(Prompter& user) : user_(user) {}

    void gather(bool on) { gathering_ = on; }
    // What was told since the last call, on one line.
    std::string takeTold();

    Answer message(std::string_view text, std::string_view caption, int flags) override;
    std::optional<std::string> input(std::string_view prompt, std::string_view title,
                                     std::string_view initial) override {
        return user_.input(prompt, title, initial);
    }
    std::optional<std::string> chooseOpenFile(std::string_view title,
                                              std::string_view filter) override {
        return user_.chooseOpenFile(title, filter);
    }
    std::optional<std::string> chooseSaveFile(std::string_view title, std::string_view filter,
                                              std::string_view defaultExtension) override {
        return user_.chooseSaveFile(title, filter, defaultExtension);
    }
    void setStatus(std::string_view text) override { user_.setStatus(text); }
    std::string status() const override { return user_.status(); }
    void setBusy(bool busy) override { user_.setBusy(busy); }
    void processEvents() override { user_.processEvents(); }
    void pause(int milliseconds) override { user_.pause(milliseconds); }

  private:
    Prompter& user_;
    bool gathering_ = false;
    std::string told_;
};

// Pastes a block cell by cell from `at` while `told` gathers: rows past the grid's end come
// from `addRow`; a cell beyond the last column is refused; `paste` takes one cell through the
// table's rules and says why when it refuses it; what the rules told meanwhile is noted.
void pasteBlockCells(
    Grid& grid, CellPos at, const CellBlock& block, GatheringPrompter& told, PasteReport& report,
    const std::function<void()>& addRow,
    const std::function<std::optional<std::string>(int row, int column, const std::string& text)>&
        paste);

}  // namespace tf
