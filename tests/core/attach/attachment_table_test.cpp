#include "core/attach/attachment_table.h"

#include <gtest/gtest.h>

namespace tf {
namespace {

TEST(AttachmentTable, RecordsFollowRowsAndRoundTrip) {
    AttachmentTable table;
    table.align(4);
    table.records[1] = std::string("\0photo\xFF", 7);
    table.insert(1, 2);
    EXPECT_EQ(table.records.size(), 6u);
    EXPECT_EQ(table.records[3], std::string("\0photo\xFF", 7));
    table.remove(0, 2);
    EXPECT_EQ(table.records[1], std::string("\0photo\xFF", 7));
    table.remove(9, 1);
    table.remove(3, 100);
    EXPECT_EQ(table.records.size(), 3u);

    EXPECT_EQ(parseAttachments(serializeAttachments(table)), table);
    EXPECT_EQ(parseAttachments(""), AttachmentTable{});
}

TEST(AttachmentTable, DamagedSectionsAreRefused) {
    AttachmentTable table;
    table.records = {"a", "bc"};
    const std::string good = serializeAttachments(table);
    for (std::size_t cut = 1; cut < good.size(); ++cut) {
        EXPECT_FALSE(parseAttachments(good.substr(0, cut))) << cut;
    }
    std::string flipped = good;
    flipped[13] ^= 1;
    EXPECT_FALSE(parseAttachments(flipped));
    EXPECT_FALSE(parseAttachments("not an attachment table"));
}

}  // namespace
}  // namespace tf
