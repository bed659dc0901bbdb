// The grid's byte format, version 1. All integers little-endian.
//
//   "TFGRID" u32 version
//   i32 rows, columns, fixedRows, fixedColumns, rowHeight; u32 gridLineColour
//   i32 cursor row, column; i32 selection top, left, bottom, right
//   per column: i32 width, u8 kind, u8 decimals, u8 align (0 = none),
//               i32 productLeft, productRight (-1 = none), u32 n, n x sized pick item
//   u32 styles (without the default, id 0); per style: u8 flags (1 background, 2 foreground,
//               4 bold, 8 wrap), u32 background, u32 foreground, u8 align, sized font name,
//               i32 font size
//   u32 merges; per merge: i32 top, left, bottom, right
//   u32 sums; per sum: i32 row, column, source column, first row, last row
//   per row: u32 slots, slots x u16 style id, slots x u32 text length, the texts
//   u32 CRC-32 of everything before it
//
// Texts are GBK. Counts are checked against the bytes that remain before anything is
// allocated, so hostile input cannot ask for absurd memory.
#include <algorithm>
#include <array>

#include "core/base/byte_io.h"
#include "core/base/byte_stream.h"
#include "core/base/fill_advice.h"
#include "core/base/sealed_bytes.h"
#include "core/base/text_codec.h"
#include "core/grid/grid.h"

namespace tf {

class GridFormat {
  public:
    static void save(const Grid& grid, ByteWriter& out);
    static std::size_t sizeHint(const Grid& grid);
    static bool load(ByteStream& section, Grid& grid);
};

namespace {

constexpr std::string_view kMagic = "TFGRID";
constexpr std::uint32_t kVersion = 1;
constexpr int kMaxColumns = 16384;
constexpr int kMaxRows = 100'000'000;
constexpr std::size_t kMinColumnBytes = 4 + 3 + 8 + 4;
constexpr std::size_t kMinStyleBytes = 1 + 4 + 4 + 1 + 4 + 4;

enum StyleFlags : std::uint8_t { kBackground = 1, kForeground = 2, kBold = 4, kWrap = 8 };

template <typename... T>
bool allRead(const std::optional<T>&... values) {
    return (values.has_value() && ...);
}

void writeRange(ByteWriter& w, const CellRange& r) {
    w.i32(r.top);
    w.i32(r.left);
    w.i32(r.bottom);
    w.i32(r.right);
}

std::optional<CellRange> readRange(ByteStream& r) {
    const auto top = r.i32();
    const auto left = r.i32();
    const auto bottom = r.i32();
    const auto right = r.i32();
    if (!allRead(top, left, bottom, right)) {
        return std::nullopt;
    }
    return CellRange{*top, *left, *bottom, *right};
}

std::optional<Align> alignFromByte(std::uint8_t value, bool& ok) {
    if (value == 0) {
        return std::nullopt;
    }
    ok = ok && value <= 3;
    return static_cast<Align>(value);
}

bool insideGrid(const CellRange& r, int rows, int columns) {
    return r.top >= 0 && r.left >= 0 && r.top <= r.bottom && r.left <= r.right && r.bottom < rows &&
           r.right < columns;
}

bool noneOverlap(const std::vector<CellRange>& sortedMerges) {
    std::vector<CellRange> active;
    for (const auto& m : sortedMerges) {
        std::erase_if(active, [&](const CellRange& a) { return a.bottom < m.top; });
        for (const auto& a : active) {
            if (a.intersects(m)) {
                return false;
            }
        }
        active.push_back(m);
    }
    return true;
}

}  // namespace

std::size_t GridFormat::sizeHint(const Grid& g) {
    std::size_t estimate = 4096 + g.merges_.size() * 16 + g.sums_.size() * 20;
    for (const auto& row : g.rows_) {
        estimate += 4 + static_cast<std::size_t>(row.slotCount()) * 6 + row.textBytes();
    }
    return estimate;
}

void GridFormat::save(const Grid& g, ByteWriter& w) {
    const std::size_t start = beginSealed(w, kMagic);
    w.u32(kVersion);
    w.i32(g.rowCount());
    w.i32(g.columnCount());
    w.i32(g.fixedRows_);
    w.i32(g.fixedColumns_);
    w.i32(g.rowHeight_);
    w.u32(g.gridLineColor_.packed());
    w.i32(g.cursor_.row);
    w.i32(g.cursor_.column);
    writeRange(w, g.selection_);
    for (const auto& c : g.columns_) {
        w.i32(c.width);
        w.u8(static_cast<std::uint8_t>(c.kind));
        w.u8(static_cast<std::uint8_t>(c.decimals));
        w.u8(c.align ? static_cast<std::uint8_t>(*c.align) : 0);
        w.i32(c.product ? c.product->left : -1);
        w.i32(c.product ? c.product->right : -1);
        w.u32(static_cast<std::uint32_t>(c.pickList.size()));
        for (const auto& item : c.pickList) {
            w.sized(toGbk(item));
        }
    }
    // Only the styles some cell uses, renumbered in their order.
    std::vector<StyleId> savedId(g.styles_.size(), 0);
    for (const auto& row : g.rows_) {
        for (int c = 0; c < row.slotCount(); ++c) {
            savedId[row.style(c)] = 1;
        }
    }
    savedId[0] = 0;
    std::vector<StyleId> usedStyles;
    for (std::size_t id = 1; id < g.styles_.size(); ++id) {
        if (savedId[id] != 0) {
            usedStyles.push_back(static_cast<StyleId>(id));
            savedId[id] = static_cast<StyleId>(usedStyles.size());
        }
    }
    w.u32(static_cast<std::uint32_t>(usedStyles.size()));
    for (const StyleId id : usedStyles) {
        const CellStyle& s = g.styles_[id];
        w.u8(static_cast<std::uint8_t>((s.background ? kBackground : 0) |
                                       (s.foreground ? kForeground : 0) | (s.bold ? kBold : 0) |
                                       (s.wrap ? kWrap : 0)));
        w.u32(s.background ? s.background->packed() : 0);
        w.u32(s.foreground ? s.foreground->packed() : 0);
        w.u8(s.align ? static_cast<std::uint8_t>(*s.align) : 0);
        w.sized(toGbk(s.fontName));
        w.i32(s.fontSize);
    }
    w.u32(static_cast<std::uint32_t>(g.merges_.size()));
    for (const auto& m : g.merges_) {
        writeRange(w, m);
    }
    w.u32(static_cast<std::uint32_t>(g.sums_.size()));
    for (const auto& s : g.sums_) {
        w.i32(s.row);
        w.i32(s.column);
        w.i32(s.sourceColumn);
        w.i32(s.firstRow);
        w.i32(s.lastRow);
    }
    // Each row's header and texts are made aside and written in one piece.
    std::string header;
    std::string encoded;
    for (const auto& row : g.rows_) {
        const auto slots = static_cast<std::size_t>(row.slotCount());
        header.resize(4 + slots * 6);
        storeU32(header.data(), static_cast<std::uint32_t>(slots));
        char* const lengths = header.data() + 4 + slots * 2;
        if (encoded.size() < row.textBytes() * 2) {
            encoded.resize(row.textBytes() * 2);
        }
        char* const begin = encoded.data();
        char* end = begin;
        for (std::size_t c = 0; c < slots; ++c) {
            const int column = static_cast<int>(c);
            storeU16(header.data() + 4 + c * 2, savedId[row.style(column)]);
            char* const cellEnd = encodeGbk(row.text(column), end);
            storeU32(lengths + c * 4, static_cast<std::uint32_t>(cellEnd - end));
            end = cellEnd;
        }
        w.bytes(header);
        w.bytes(std::string_view(begin, static_cast<std::size_t>(end - begin)));
    }
    endSealed(w, start);
}

bool GridFormat::load(ByteStream& r, Grid& out) {
    // Magic, body, then the CRC of both: the body is parsed as it streams by and the grid
    // taken only when the CRC matches, so a damaged section still changes nothing.
    const ByteStream::Checkpoint start = r.checkpoint();
    if (r.take(kMagic.size()) != kMagic || r.remaining() < 4) {
        return false;
    }
    const std::uint64_t sectionEnd = r.limitTo(r.remaining() - 4);
    if (r.u32() != kVersion) {
        return false;
    }
    Grid g;
    const auto rows = r.i32();
    const auto columns = r.i32();
    const auto fixedRows = r.i32();
    const auto fixedColumns = r.i32();
    const auto rowHeight = r.i32();
    const auto lineColour = r.u32();
    const auto cursorRow = r.i32();
    const auto cursorColumn = r.i32();
    const auto selection = readRange(r);
    if (!allRead(rows, columns, fixedRows, fixedColumns, rowHeight, lineColour, cursorRow,
                 cursorColumn, selection) ||
        *rows < 0 || *rows > kMaxRows || *columns < 0 || *columns > kMaxColumns ||
        static_cast<std::size_t>(*columns) > r.remaining() / kMinColumnBytes ||
        static_cast<std::size_t>(*rows) > r.remaining() / 4 || *fixedRows < 0 ||
        *fixedRows > *rows || *fixedColumns < 0 || *fixedColumns > *columns || *rowHeight < 1 ||
        *lineColour > 0xFFFFFF) {
        return false;
    }
    g.fixedRows_ = *fixedRows;
    g.fixedColumns_ = *fixedColumns;
    g.rowHeight_ = *rowHeight;
    g.gridLineColor_ = Rgb::fromPacked(*lineColour);

    bool ok = true;
    g.columns_.resize(static_cast<std::size_t>(*columns));
    for (auto& c : g.columns_) {
        const auto width = r.i32();
        const auto kind = r.u8();
        const auto decimals = r.u8();
        const auto align = r.u8();
        const auto left = r.i32();
        const auto right = r.i32();
        const auto items = r.u32();
        if (!allRead(width, kind, decimals, align, left, right, items) || *width < 0 || *kind > 3 ||
            *decimals > 15 || *items > r.remaining() / 4) {
            return false;
        }
        c.width = *width;
        c.kind = static_cast<ColumnKind>(*kind);
        c.decimals = *decimals;
        c.align = alignFromByte(*align, ok);
        if (*left != -1 || *right != -1) {
            ok = ok && *left >= 0 && *left < *columns && *right >= 0 && *right < *columns;
            c.product = ProductRule{*left, *right};
        }
        for (std::uint32_t i = 0; i < *items; ++i) {
            const auto item = r.sized();
            if (!item) {
                return false;
            }
            c.pickList.push_back(fromGbk(*item));
        }
    }

    const auto styleCount = r.u32();
    if (!styleCount || *styleCount >= StyleTable::kCapacity ||
        *styleCount > r.remaining() / kMinStyleBytes) {
        return false;
    }
    for (std::uint32_t i = 0; i < *styleCount; ++i) {
        const auto flags = r.u8();
        const auto background = r.u32();
        const auto foreground = r.u32();
        const auto align = r.u8();
        const auto font = r.sized();
        const auto size = r.i32();
        if (!allRead(flags, background, foreground, align, font, size) || *flags > 15 ||
            *background > 0xFFFFFF || *foreground > 0xFFFFFF || *size < 0) {
            return false;
        }
        CellStyle s;
        if (*flags & kBackground) {
            s.background = Rgb::fromPacked(*background);
        }
        if (*flags & kForeground) {
            s.foreground = Rgb::fromPacked(*foreground);
        }
        s.bold = (*flags & kBold) != 0;
        s.wrap = (*flags & kWrap) != 0;
        s.align = alignFromByte(*align, ok);
        s.fontName = fromGbk(*font);
        s.fontSize = *size;
        // Styles are distinct when saved; a repeat means the bytes are not ours.
        if (g.styles_.intern(s) != static_cast<StyleId>(i + 1)) {
            return false;
        }
    }

    const auto mergeCount = r.u32();
    if (!mergeCount || *mergeCount > r.remaining() / 16) {
        return false;
    }
    g.merges_.reserve(*mergeCount);  // bounded by the bytes left, just checked
    adviseFilling(g.merges_.data(), g.merges_.capacity() * sizeof(CellRange));
    // Taken from the stream a batch at a time: a million-row table has as many merges.
    constexpr std::uint32_t kMergeBatch = 4096;
    for (std::uint32_t done = 0; done < *mergeCount;) {
        const std::uint32_t batch = std::min(*mergeCount - done, kMergeBatch);
        const auto bytes = r.take(std::size_t{batch} * 16);
        if (!bytes) {
            return false;
        }
        for (std::uint32_t i = 0; i < batch; ++i) {
            const char* p = bytes->data() + std::size_t{i} * 16;
            const CellRange m{static_cast<std::int32_t>(loadU32(p)),
                              static_cast<std::int32_t>(loadU32(p + 4)),
                              static_cast<std::int32_t>(loadU32(p + 8)),
                              static_cast<std::int32_t>(loadU32(p + 12))};
            if (!insideGrid(m, *rows, *columns) || m.singleCell()) {
                return false;
            }
            g.merges_.push_back(m);
        }
        done += batch;
    }
    const auto byPosition = [](const CellRange& a, const CellRange& b) {
        return std::pair(a.top, a.left) < std::pair(b.top, b.left);
    };
    if (!std::is_sorted(g.merges_.begin(), g.merges_.end(), byPosition) ||
        !noneOverlap(g.merges_)) {
        return false;
    }
    g.sortMerges();

    const auto sumCount = r.u32();
    if (!sumCount || *sumCount > r.remaining() / 20) {
        return false;
    }
    for (std::uint32_t i = 0; i < *sumCount; ++i) {
        std::array<std::optional<std::int32_t>, 5> v{r.i32(), r.i32(), r.i32(), r.i32(), r.i32()};
        if (!allRead(v[0], v[1], v[2], v[3], v[4])) {
            return false;
        }
        const RangeSum s{*v[0], *v[1], *v[2], *v[3], *v[4]};
        if (s.row < 0 || s.row >= *rows || s.column < 0 || s.column >= *columns ||
            s.sourceColumn < 0 || s.sourceColumn >= *columns) {
            return false;
        }
        g.sums_.push_back(s);
    }

    // Room for entries to come (a sixteenth more) before the first one moves every row.
    const auto rowCount = static_cast<std::size_t>(*rows);
    g.rows_.reserve(rowCount + rowCount / 16);
    adviseFilling(g.rows_.data(), rowCount * sizeof(PackedRow));
    g.rowArena_ = std::make_shared<RowArena>();
    std::vector<StyleId> styles;
    std::vector<std::size_t> lengths;
    std::vector<std::string_view> texts;
    std::string decoded;
    for (int row = 0; row < *rows; ++row) {
        const auto slots = r.u32();
        if (!slots || *slots > static_cast<std::uint32_t>(*columns) || *slots > r.remaining() / 6) {
            return false;
        }
        const std::size_t n = *slots;
        const auto header = r.take(n * 6);
        if (!header) {
            return false;
        }
        styles.resize(n);
        lengths.resize(n);
        std::size_t total = 0;
        for (std::size_t c = 0; c < n; ++c) {
            styles[c] = loadU16(header->data() + c * 2);
            lengths[c] = loadU32(header->data() + n * 2 + c * 4);
            if (styles[c] >= g.styles_.size()) {
                return false;
            }
            total += lengths[c];
        }
        if (total > r.remaining()) {
            return false;
        }
        const auto raw = r.take(total);
        if (!raw) {
            return false;
        }
        if (decoded.size() < raw->size() * 3) {
            decoded.resize(raw->size() * 3);
        }
        texts.resize(n);
        const char* in = raw->data();
        char* cursor = decoded.data();
        for (std::size_t c = 0; c < n; ++c) {
            char* const begin = cursor;
            cursor = decodeGbk({in, lengths[c]}, cursor);
            in += lengths[c];
            texts[c] = {begin, static_cast<std::size_t>(cursor - begin)};
        }
        g.rows_.push_back(
            PackedRow::build(static_cast<int>(n), styles.data(), texts.data(), g.rowArena_.get()));
    }
    if (!ok || !r.atEnd()) {
        return false;
    }
    const std::uint32_t check = r.crcSince(start);
    r.restoreLimit(sectionEnd);
    if (r.u32() != check || !r.atEnd()) {
        return false;
    }
    const bool cursorValid =
        (*cursorRow == -1 && *cursorColumn == -1) ||
        (*cursorRow >= 0 && *cursorRow < *rows && *cursorColumn >= 0 && *cursorColumn < *columns);
    const bool selectionValid =
        *selection == CellRange{} || insideGrid(*selection, *rows, *columns);
    if (!cursorValid || !selectionValid) {
        return false;
    }
    g.cursor_ = {*cursorRow, *cursorColumn};
    g.selection_ = *selection;
    out = std::move(g);
    return true;
}

std::string Grid::save() const {
    ByteWriter w;
    w.reserve(GridFormat::sizeHint(*this));
    GridFormat::save(*this, w);
    return w.take();
}

void Grid::saveTo(ByteWriter& out) const {
    GridFormat::save(*this, out);
}

std::size_t Grid::saveSizeHint() const {
    return GridFormat::sizeHint(*this);
}

bool Grid::load(std::string_view bytes) {
    keepWhole();
    ByteStream section(bytes);
    return GridFormat::load(section, *this);
}

bool Grid::load(ByteStream& section) {
    keepWhole();
    return GridFormat::load(section, *this);
}

}  // namespace tf
