#include "core/base/ini_file.h"

#include <gtest/gtest.h>

#include "core/base/text_codec.h"

namespace tf {
namespace {

TEST(IniFile, FindsSectionsAndKeysInAnyCaseAndKeepsWhatItDoesNotKnow) {
    const std::string text =
        "; 设置\r\n[Window]\r\nLeft = 10\r\n\r\n[save]\r\nstime= 30 \r\nOther=x\r\n\r\n"
        "[Last]\r\nk=v\r\n";
    IniFile ini = IniFile::parse(toGbk(text));
    EXPECT_EQ(ini.value("Save", "STime"), "30");
    EXPECT_EQ(ini.value("SAVE", "other"), "x");
    EXPECT_EQ(ini.value("Save", "Type"), std::nullopt);
    EXPECT_EQ(ini.value("Window", "STime"), std::nullopt) << "keys belong to their section";
    EXPECT_EQ(ini.value("Nowhere", "k"), std::nullopt);

    // A new key joins the end of its section, before the blank line; a known key is
    // rewritten where it stands; comments, unknown keys and other sections stay.
    ini.setValue("Save", "Type", "1");
    ini.setValue("Save", "STime", "45");
    ini.setValue("New", "名称", "值");
    EXPECT_EQ(fromGbk(ini.serialize()),
              "; 设置\r\n[Window]\r\nLeft = 10\r\n\r\n[save]\r\nstime=45\r\nOther=x\r\nType=1\r\n"
              "\r\n[Last]\r\nk=v\r\n\r\n[New]\r\n名称=值\r\n");
    EXPECT_EQ(IniFile::parse(ini.serialize()).value("new", "名称"), "值");
}

TEST(IniFile, OddLinesAreKeptAndNeverTakenForKeys) {
    IniFile ini = IniFile::parse("[Save\r\n;Type=9\r\nno equals here\r\n=empty key\r\n[Save]\r\n");
    EXPECT_EQ(ini.value("Save", "Type"), std::nullopt);
    ini.setValue("Save", "Type", "2");
    EXPECT_EQ(ini.serialize(),
              "[Save\r\n;Type=9\r\nno equals here\r\n=empty key\r\n[Save]\r\nType=2\r\n");
    EXPECT_EQ(IniFile::parse("").serialize(), "");
    EXPECT_EQ(IniFile::parse("\xEF\xBB\xBF[S]\nk=值\n").value("S", "k"), "值");
}

TEST(IniFile, MalformedUtf8BehindAByteOrderMarkBecomesReplacementCharacters) {
    // Whatever reaches memory is valid UTF-8, so a value survives being written again.
    IniFile ini = IniFile::parse("\xEF\xBB\xBF[Save]\ntype=7\xBD\xBC\x41\n");
    EXPECT_EQ(ini.value("Save", "Type"),
              "7\xEF\xBF\xBD\xEF\xBF\xBD"
              "A");
    ini.setValue("Save", "STime", "30");
    EXPECT_EQ(IniFile::parse(ini.serialize()).value("Save", "Type"), ini.value("Save", "Type"));
}

}  // namespace
}  // namespace tf
