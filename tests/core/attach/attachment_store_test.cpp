#include "core/attach/attachment_store.h"

#include <gtest/gtest.h>

#include "core/attach/attachment_table.h"
#include "core/base/byte_io.h"

namespace tf {
namespace {

// Two top-level folders, a subfolder of the first and a sub-subfolder, files in three of
// them; contents with zero bytes, names in Chinese.
AttachmentStore sampleStore() {
    AttachmentStore s;
    EXPECT_EQ(s.addFolder(0), 2) << "the first key";
    EXPECT_EQ(s.addFolder(0), 3);
    EXPECT_EQ(s.addFolder(2), 4);
    EXPECT_EQ(s.addFolder(4), 5);
    s.folders[0].name = "图纸";
    s.folders[1].name = "照片";
    s.files = {
        {"平面图.dwg", "一层", "2026-12-01 09:00:00", std::string("DWG\0\x01\xFF", 7), 2},
        {"客厅.jpg", "", "2026-12-02 10:30:15", "JPEGDATA", 3},
        {"节点.dwg", "", "2026-12-03 11:00:00", "x", 4},
        {"大样.txt", "", "2026-12-03 11:00:01", "", 5},
        {"厨房.jpg", "北墙", "2026-12-04 08:00:00", "JPEG2", 3},
    };
    return s;
}

TEST(AttachmentStore, KeysAreNeverReusedAndFolderDeletionTakesItsSubtree) {
    AttachmentStore s = sampleStore();
    EXPECT_EQ(s.filesIn(3), (std::vector<std::size_t>{1, 4}));
    s.deleteFolder(2);  // with 4 and 5 under it, and their files
    ASSERT_EQ(s.folders.size(), 1u);
    EXPECT_EQ(s.folders[0].name, "照片");
    ASSERT_EQ(s.files.size(), 2u) << "the other folder's files remain";
    EXPECT_EQ(s.files[0].name, "客厅.jpg");
    EXPECT_EQ(s.files[1].name, "厨房.jpg");
    EXPECT_EQ(s.addFolder(0), 4) << "one more than the largest key in use";
    EXPECT_EQ(s.addFolder(99), 5) << "an unknown parent gives a top-level folder";
    EXPECT_EQ(s.folders.back().parent, 0);
    s.deleteFolder(42);  // unknown: nothing happens
    EXPECT_EQ(s.folders.size(), 3u);
}

TEST(AttachmentStore, BlocksRoundTripAndDamagedOnesAreRefused) {
    const AttachmentStore s = sampleStore();
    const std::string block = serializeAttachmentStore(s);
    EXPECT_EQ(serializedSize(s), block.size());
    EXPECT_EQ(parseAttachmentStore(block), s);
    EXPECT_EQ(serializeAttachmentStore(AttachmentStore{}), "") << "an empty store";
    EXPECT_EQ(parseAttachmentStore(""), AttachmentStore{}) << "an empty block";

    // The 4-byte little-endian length of the folder part comes first.
    ByteReader r(block);
    const std::uint32_t treeBytes = *r.u32();
    EXPECT_EQ(block[4], 1) << "folder part version";
    EXPECT_EQ(block[4 + treeBytes], 1) << "file part version right after the folder part";

    for (std::size_t cut = 0; cut + 1 < block.size(); ++cut) {
        EXPECT_FALSE(parseAttachmentStore(block.substr(0, cut + 1)).has_value()) << cut;
    }
    EXPECT_FALSE(parseAttachmentStore(block + "x")) << "trailing bytes";
    std::string newer = block;
    newer[4] = 2;
    EXPECT_FALSE(parseAttachmentStore(newer)) << "an unknown version";

    AttachmentStore orphan = s;
    orphan.files[0].folder = 77;
    EXPECT_FALSE(parseAttachmentStore(serializeAttachmentStore(orphan))) << "no such folder";
    AttachmentStore backwards = s;
    std::swap(backwards.folders[2], backwards.folders[3]);  // 5 before its parent 4
    EXPECT_FALSE(parseAttachmentStore(serializeAttachmentStore(backwards)));
    AttachmentStore twice = s;
    twice.folders[1].key = 2;
    EXPECT_FALSE(parseAttachmentStore(serializeAttachmentStore(twice)));
    // A count far beyond the bytes is refused before anything is reserved.
    std::string huge = block;
    huge[4 + 1 + 3] = '\x7F';
    EXPECT_FALSE(parseAttachmentStore(huge));
}

TEST(AttachmentTable, RoomLeavesTheSectionWithinItsSignedLength) {
    AttachmentTable table;
    table.align(4);
    table.records[2] = std::string(1000, 'a');
    const std::size_t section = serializeAttachments(table).size();
    EXPECT_EQ(attachmentSectionSize(table), section);
    const std::size_t room = attachmentRoom(table, 2);
    // The record may grow to the room: the section stays below 2^31 with 1 MiB to spare.
    EXPECT_EQ(section - 1000 + room + (1u << 20), 0x7FFFFFFFu);
    EXPECT_EQ(attachmentRoom(table, std::nullopt), room - 1000 - 4) << "a record still to come";
}

}  // namespace
}  // namespace tf
