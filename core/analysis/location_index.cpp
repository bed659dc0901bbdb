#include "core/analysis/location_index.h"

#include <algorithm>
#include <string>

#include "core/base/number_text.h"
#include "core/project/analysis_layout.h"

namespace tf {

using namespace AnalysisColumn;

std::optional<int> locationOfRow(const LocationIndex& index, int row) {
    const auto it = std::lower_bound(index.begin(), index.end(), row,
                                     [](const LocationSpan& span, int r) { return span.last < r; });
    if (it == index.end() || it->first > row) {
        return std::nullopt;
    }
    return static_cast<int>(it - index.begin());
}

std::optional<int> locationNumberedOnRow(const Grid& a, const LocationIndex& index, int row) {
    const double n = parseNumber(a.text(row, kNumber));
    if (n < 1 || n > static_cast<double>(index.size())) {
        return std::nullopt;
    }
    return static_cast<int>(n) - 1;
}

LocationIndex rebuildLocationIndex(const Grid& a) {
    LocationIndex index;
    for (int r = kAnalysisHeadingRows; r < a.rowCount(); ++r) {
        const double n = parseNumber(a.text(r, kNumber));
        const std::string_view name = a.text(r, kLocation);
        if (n < 1 || name.find_first_not_of(' ') == std::string_view::npos) {
            continue;
        }
        if (n > static_cast<double>(index.size())) {
            index.push_back({r, r});
        } else {
            LocationSpan& span = index[static_cast<std::size_t>(n) - 1];
            span.first = std::min(span.first, r);
            span.last = std::max(span.last, r);
        }
    }
    return index;
}

void shiftLocationSpans(LocationIndex& index, Grid& a, int k, int delta, bool renumber) {
    for (std::size_t i = static_cast<std::size_t>(k) + 1; i < index.size(); ++i) {
        index[i].first += delta;
        index[i].last += delta;
        if (renumber) {
            for (int r = index[i].first; r <= index[i].last; ++r) {
                a.setText(r, kNumber, std::to_string(i));
            }
        }
    }
    if (k >= 0 && static_cast<std::size_t>(k) < index.size()) {
        paintAnalysisBands(a, index[static_cast<std::size_t>(k)].first, a.rowCount() - 1);
    }
}

void deleteLocation(LocationIndex& index, Grid& a, AttachmentTable& attachments, int k) {
    if (k < 0 || static_cast<std::size_t>(k) >= index.size()) {
        return;
    }
    const LocationSpan span = index[static_cast<std::size_t>(k)];
    const int count = span.last - span.first + 1;
    a.deleteRows(span.first, count);
    attachments.remove(span.first, count);
    shiftLocationSpans(index, a, k, -count, true);
    index.erase(index.begin() + k);
    const int below = index.empty() ? kAnalysisHeadingRows : index.back().last + 1;
    for (int r = below, n = static_cast<int>(index.size()) + 1; r < a.rowCount(); ++r, ++n) {
        a.setText(r, kNumber, std::to_string(n));
    }
}

void deleteAnalysisRow(LocationIndex& index, Grid& a, AttachmentTable& attachments, int row) {
    if (row < kAnalysisHeadingRows || row >= a.rowCount()) {
        return;
    }
    const auto k = locationOfRow(index, row);
    if (k &&
        index[static_cast<std::size_t>(*k)].first == index[static_cast<std::size_t>(*k)].last) {
        deleteLocation(index, a, attachments, *k);
        return;
    }
    const auto at = static_cast<std::size_t>(row);
    if (k && index[static_cast<std::size_t>(*k)].first == row &&
        at + 1 < attachments.records.size()) {
        attachments.set(static_cast<int>(at) + 1, attachments.records[at]);
    }
    a.deleteRows(row);
    attachments.remove(row, 1);
    if (!k) {
        for (LocationSpan& span : index) {
            if (span.first > row) {
                --span.first;
                --span.last;
            }
        }
        return;
    }
    LocationSpan& span = index[static_cast<std::size_t>(*k)];
    --span.last;
    shiftLocationSpans(index, a, *k, -1, false);
    formatLocationBlock(a, index, *k);
    mergeLocationBlock(a, span.first, span.last);
}

void formatLocationBlock(Grid& a, const LocationIndex& index, int k) {
    const LocationSpan span = index[static_cast<std::size_t>(k)];
    const auto columns = [&](int left, int right) {
        return CellRange{span.first, left, span.last, right};
    };
    a.setAlign(columns(kNumber, kNumber), Align::Center);
    a.setAlign(columns(kLocation, kStructureSize), Align::Left);
    a.setAlign(columns(kItemCode, kItemCode), Align::Center);
    a.setAlign(columns(kItemSize, kItemSize), Align::Left);
    a.setAlign(columns(kWorkQuantity, kWorkQuantity), Align::Center);
    a.setAlign(columns(kMaterialName, kMaterialName), Align::Left);
    a.setAlign(columns(kMaterialQuantity, kMaterialUnit), Align::Center);
    a.setAlign(columns(kNote, kNote), Align::Left);
    for (const int c : {kWorkQuantity, kMaterialQuantity}) {
        a.setForeground(columns(c, c), kQuantityRed);
        a.setBold(columns(c, c), true);
    }
    a.setWrap(columns(kDrawing, kStructureSize), true);
    a.setWrap(columns(kItemSize, kItemSize), true);
    a.setForeground(columns(kNumber, kNumber), kNumberGrey);
    paintAnalysisBands(a, span.first, a.rowCount() - 1);
}

void mergeLocationBlock(Grid& a, int first, int last) {
    a.split({first, kNumber, last, kNote});
    int runStart = first;
    for (int r = first; r <= last; ++r) {
        if (r == last || a.text(r + 1, kItemCode) != a.text(runStart, kItemCode)) {
            for (const int c : {kItemCode, kItemSize, kWorkQuantity}) {
                a.merge({runStart, c, r, c});
            }
            runStart = r + 1;
        }
    }
    for (const int c : {kNumber, kLocation, kDrawing, kStructureSize}) {
        a.merge({first, c, last, c});
    }
}

}  // namespace tf
