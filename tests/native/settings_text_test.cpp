#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "slots/settings_messages.h"
#include "slots/settings_text.h"

namespace {

struct Parsed {
    SoundSlot table[kSlotTableSize];
    SettingsRead read;
    explicit Parsed(std::string_view text) { read = parseSettings(text, table); }
    std::string written() const
    {
        return formatSettings(table, read.sampleRate, read.masterVolume, read.unreadTail);
    }
};

std::string header() { return "44100\r\n4294967295\r\n"; }

std::string row(const std::string& path, const std::string& key, int volume = 128, int pan = 128,
                const std::string& part = "DR_SNARE1")
{
    return path + "," + key + "," + std::to_string(volume) + "," + std::to_string(pan) + "," + part
           + "\r\n";
}

}  // namespace

TEST(SettingsRead, RowFieldsAndHeader)
{
    Parsed p("48000,,,,\r\n65535,,,,\r\n" + row("sounds\\snr1.wav", "48", 90, 100, "DR_HIHAT_CLOSE"));
    EXPECT_EQ(p.read.sampleRate, 48000u);
    EXPECT_EQ(p.read.masterVolume, 65535u);
    ASSERT_EQ(p.read.slotCount, 1);
    const SoundSlot& s = p.table[0];
    EXPECT_STREQ(s.path, "sounds\\snr1.wav");
    EXPECT_EQ(s.keyCode, 0x48);
    EXPECT_EQ(s.volume, 90);
    EXPECT_EQ(s.pan, 100);
    EXPECT_EQ(s.slotIndex, 0);
    EXPECT_EQ(s.partId, 1) << "DR_HIHAT_CLOSE is part 1";
    EXPECT_STREQ(s.partName, "DR_HIHAT_CLOSE");
    EXPECT_TRUE(p.read.reports.empty());
    EXPECT_FALSE(p.read.keepFile);
}

TEST(SettingsRead, TableIsClearedAndRenumbered)
{
    SoundSlot table[kSlotTableSize];
    std::memset(table, 0xAB, sizeof table);
    SettingsRead read = parseSettings(header() + row("a.wav", "41") + row("b.wav", "42"), table);
    ASSERT_EQ(read.slotCount, 2);
    for (int i = 0; i < read.slotCount; ++i) {
        EXPECT_EQ(table[i].slotIndex, i) << "slotIndex is the row number";
        EXPECT_EQ(read.lineOf[i], i + 2) << "row i is on line i + 2";
    }
    SoundSlot zero = {};
    for (int i = 2; i < kSlotTableSize; ++i)
        EXPECT_EQ(std::memcmp(&table[i], &zero, sizeof zero), 0) << "entry " << i << " not cleared";
}

TEST(SettingsRead, KeyColumnIsHexadecimal)
{
    Parsed p(header() + row("a.wav", "4D") + row("b.wav", "0xbb") + row("c.wav", " 8 ")
             + row("d.wav", "0ff") + row("e.wav", "141") + row("f.wav", "4dzz"));
    ASSERT_EQ(p.read.slotCount, 4);
    EXPECT_EQ(p.table[0].keyCode, 0x4D) << "upper case accepted";
    EXPECT_EQ(p.table[1].keyCode, 0xBB) << "0x prefix accepted";
    EXPECT_EQ(p.table[2].keyCode, 0x08) << "blanks around it skipped";
    EXPECT_EQ(p.table[3].keyCode, 0xFF) << "leading zeros";
    EXPECT_EQ(p.read.reports.size(), 2u) << "above ff or with text after it, a key would become another";
    EXPECT_NE(p.written().find("a.wav,4d,"), std::string::npos) << "written back in lower case";
    EXPECT_NE(p.written().find("c.wav,8,"), std::string::npos) << "written without leading zeros";
}

TEST(SettingsRead, SeparatorRunsCountAsOne)
{
    Parsed single(header() + "a.wav,41,100,90,DR_RIDE\r\n");
    Parsed doubled(header() + ",a.wav,,41,100,,90,DR_RIDE\r\n");
    ASSERT_EQ(doubled.read.slotCount, 1);
    EXPECT_EQ(std::memcmp(&single.table[0], &doubled.table[0], sizeof(SoundSlot)), 0)
        << "doubled commas read exactly like single ones";

    // An empty key column does not exist: every later column shifts left,
    // and the name falls off the row.
    Parsed shifted(header() + "a.wav,,100,90,DR_RIDE\r\n");
    ASSERT_EQ(shifted.read.reports.size(), 1u);
    EXPECT_EQ(shifted.read.reports[0].problem, RowProblem::TooFewFields);
}

TEST(SettingsRead, LfAloneAndNoFinalLineEnd)
{
    Parsed p("32000\n7\na.wav,41,100,90,DR_RIDE");
    EXPECT_EQ(p.read.sampleRate, 32000u);
    EXPECT_EQ(p.read.masterVolume, 7u);
    ASSERT_EQ(p.read.slotCount, 1);
    EXPECT_STREQ(p.table[0].partName, "DR_RIDE") << "no CR reaches the last field";
    EXPECT_EQ(p.table[0].partId, 9);
}

TEST(SettingsRead, HeaderNumbers)
{
    EXPECT_EQ(Parsed("99999999999\r\n4294967296\r\n").read.sampleRate, 4294967295u) << "saturates";
    EXPECT_EQ(Parsed("99999999999\r\n4294967296\r\n").read.masterVolume, 4294967295u);
    EXPECT_EQ(Parsed("  44100abc\r\nx\r\n").read.sampleRate, 44100u) << "blanks skipped";
    // Read in part, a master volume would mute the output: told, and full.
    for (const char* volume : {"x", "0xFFFFFFFF", "-1", "100abc"}) {
        Parsed p("44100\r\n" + std::string(volume) + "\r\n");
        EXPECT_EQ(p.read.masterVolume, 4294967295u) << volume;
        ASSERT_EQ(p.read.reports.size(), 1u) << volume;
        EXPECT_EQ(p.read.reports[0].line, 1) << volume;
    }
    Parsed empty("");
    EXPECT_EQ(empty.read.sampleRate, 44100u) << "no lines: the default rate";
    EXPECT_EQ(empty.read.masterVolume, 4294967295u) << "no lines: full volume";
    Parsed one("22050\r\n");
    EXPECT_EQ(one.read.sampleRate, 22050u);
    EXPECT_EQ(one.read.masterVolume, 4294967295u) << "one line: the default volume";
    EXPECT_EQ(one.read.slotCount, 0);
}

TEST(SettingsRead, ShortOrBlankRowEndsTheTableAndTheRestIsWrittenBackAsItWas)
{
    for (std::string end : {"\r\n", ",,,,\r\n", "x,42,1,1,DR_RIM\r\n", "\n"}) {
        std::string rest = end + row("b.wav", "42") + "anything\r\n";
        Parsed p(header() + row("a.wav", "41") + rest);
        EXPECT_EQ(p.read.slotCount, 1) << "the rows end at " << end;
        EXPECT_EQ(p.read.reports.size(), 0u) << "the unread rest is no fault";
        EXPECT_FALSE(p.read.keepFile) << "the unread rest is no fault";
        EXPECT_EQ(p.written(), header() + row("a.wav", "41") + rest) << "the rest is kept after " << end;
    }
}

TEST(SettingsRead, CrAloneEndsALineAndAByteOrderMarkIsSkipped)
{
    Parsed cr("48000\r65535\ra.wav,41,1,1,DR_RIM\rb.wav,42,1,1,DR_RIM\r");
    EXPECT_EQ(cr.read.sampleRate, 48000u);
    EXPECT_EQ(cr.read.masterVolume, 65535u);
    EXPECT_EQ(cr.read.slotCount, 2) << "CR alone ends a line";
    Parsed bom("\xEF\xBB\xBF" "48000,,,,\r\n" "65535\r\n");
    EXPECT_EQ(bom.read.sampleRate, 48000u) << "an editor's byte-order mark is no digit";
}

TEST(SettingsRead, ASixthFieldLeavesTheRowOut)
{
    Parsed p(header() + row("a.wav", "41") + "b.wav,42,1,1,DR_RIM,extra\r\n");
    EXPECT_EQ(p.read.slotCount, 1);
    ASSERT_EQ(p.read.reports.size(), 1u);
    EXPECT_EQ(p.read.reports[0].problem, RowProblem::TooManyFields);
    EXPECT_EQ(p.read.reports[0].line, 3);
    EXPECT_TRUE(p.read.keepFile) << "the field is not dropped by a rewrite";
    EXPECT_FALSE(Parsed(header() + "b.wav,42,1,1,DR_RIM,,,\r\n").read.keepFile) << "trailing commas are no field";
}

TEST(SettingsWrite, ARowFitsOnlyWithoutSeparatorsInItsPathAndWithinTheLineBuffer)
{
    struct Case {
        std::string path;
        RowFit fit;
    } cases[] = {
        {"sounds\\a.wav", RowFit::Fits},
        {"sounds\\a,b.wav", RowFit::PathSeparator},
        {"a\rb.wav", RowFit::PathSeparator},
        {std::string(254 - std::strlen(",41,128,128,DR_SNARE1"), 'p'), RowFit::Fits},
        {std::string(255 - std::strlen(",41,128,128,DR_SNARE1"), 'p'), RowFit::TooLong},
    };
    for (const Case& c : cases) {
        SoundSlot slot = {};
        std::snprintf(slot.path, sizeof slot.path, "%s", c.path.c_str());
        std::strcpy(slot.partName, "DR_SNARE1");
        slot.keyCode = 0x41;
        slot.volume = slot.pan = 128;
        EXPECT_EQ(settingsRowFit(slot), c.fit) << c.path.size() << "-byte path " << c.path.substr(0, 16);
    }
}

TEST(SettingsRead, UnknownPartNameIsKeptAndReported)
{
    Parsed p(header() + row("a.wav", "41") + row("b.wav", "42", 128, 128, "DR_TIMPANI"));
    ASSERT_EQ(p.read.slotCount, 2);
    EXPECT_EQ(p.table[1].partId, 0) << "an unknown name keeps part 0";
    EXPECT_STREQ(p.table[1].partName, "DR_TIMPANI");
    ASSERT_EQ(p.read.reports.size(), 1u);
    EXPECT_EQ(p.read.reports[0].problem, RowProblem::BadPartName);
    EXPECT_EQ(p.read.reports[0].line, 3) << "the second row is reported as line 3";
    EXPECT_FALSE(p.read.keepFile) << "the row is kept, so the file may be rewritten";
    EXPECT_NE(p.written().find("b.wav,42,128,128,DR_TIMPANI\r\n"), std::string::npos)
        << "the unknown name is written back unchanged";
}

TEST(SettingsRead, LevelsOutsideTheGainTablesAreClampedAndReported)
{
    Parsed p(header() + row("a.wav", "41", 0, 300) + row("b.wav", "42", -5, 255)
             + row("c.wav", "43", 256, 1));
    ASSERT_EQ(p.read.slotCount, 3);
    EXPECT_EQ(p.table[0].volume, 1);
    EXPECT_EQ(p.table[0].pan, 255);
    EXPECT_EQ(p.table[1].volume, 1);
    EXPECT_EQ(p.table[1].pan, 255) << "255 is in range";
    EXPECT_EQ(p.table[2].volume, 255);
    ASSERT_EQ(p.read.reports.size(), 4u);
    EXPECT_EQ(p.read.reports[0].problem, RowProblem::VolumeRange);
    EXPECT_EQ(p.read.reports[1].problem, RowProblem::PanRange);
    EXPECT_EQ(p.read.reports[1].line, 2);
    EXPECT_EQ(p.read.reports[2].line, 3);
    EXPECT_EQ(p.read.reports[3].line, 4);
    Parsed huge(header() + "a.wav,41,99999999999999999999,-99999999999999999999,DR_RIM\r\n");
    EXPECT_EQ(huge.table[0].volume, 255) << "an overlong number still clamps";
    EXPECT_EQ(huge.table[0].pan, 1);
    EXPECT_TRUE(p.read.keepFile) << "the user's own values stay in the file";
    EXPECT_TRUE(huge.read.keepFile) << "the user's own values stay in the file";
    Parsed text(header() + "a.wav,41,100abc,127;centre,DR_RIM\r\n");
    EXPECT_EQ(text.table[0].pan, 127);
    ASSERT_EQ(text.read.reports.size(), 1u) << "text after a number is told";
    EXPECT_EQ(text.read.reports[0].problem, RowProblem::NumberText);
    EXPECT_TRUE(text.read.keepFile) << "and stays in the file";
}

TEST(SettingsRead, RowsTheTableCannotHoldAreLeftOutAndReported)
{
    std::string longPath(250, 'p');
    Parsed p(header() + row("a.wav", "41") + row(longPath, "42") + "b.wav,43,100\r\n"
             + row("c.wav", "zz") + row("d.wav", "100") + row("e.wav", "44", 1, 1, std::string(32, 'N'))
             + row("f.wav", "45", 1, 1, std::string(31, 'N')) + std::string("g\0h.wav,46,1,1,DR_RIM\r\n", 23)
             + row("i.wav", "47"));
    ASSERT_EQ(p.read.slotCount, 3) << "only the rows that fit are stored";
    EXPECT_STREQ(p.table[0].path, "a.wav");
    EXPECT_STREQ(p.table[1].path, "f.wav");
    EXPECT_EQ(std::strlen(p.table[1].partName), 31u) << "a 31-byte name fits";
    EXPECT_STREQ(p.table[2].path, "i.wav");
    EXPECT_EQ(p.read.lineOf[2], 10) << "messages name the real line of a stored row";
    EXPECT_EQ(p.table[2].slotIndex, 2);

    const RowProblem expected[] = {RowProblem::LineTooLong, RowProblem::TooFewFields, RowProblem::BadKey,
                                   RowProblem::BadKey,      RowProblem::PartNameTooLong,
                                   RowProblem::BadPartName, RowProblem::ControlByte};
    const int lines[] = {3, 4, 5, 6, 7, 8, 9};
    ASSERT_EQ(p.read.reports.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(p.read.reports[i].problem, expected[i]) << "report " << i;
        EXPECT_EQ(p.read.reports[i].line, lines[i]) << "report " << i;
    }
    EXPECT_TRUE(p.read.keepFile) << "the file must not be rewritten without these rows";
}

TEST(SettingsRead, LineLengthLimit)
{
    std::string fits = "a.wav,41,1,1,DR_RIM";
    fits.insert(0, kMaxLineLength - fits.size(), 'p');
    ASSERT_EQ(fits.size(), 254u);
    Parsed ok(header() + fits + "\r\n");
    EXPECT_EQ(ok.read.slotCount, 1) << "254 bytes before the line end fit";
    Parsed tooLong(header() + "p" + fits + "\r\n");
    EXPECT_EQ(tooLong.read.slotCount, 0) << "255 bytes do not";
    EXPECT_TRUE(tooLong.read.keepFile);
}

TEST(SettingsRead, StopsAfter60Rows)
{
    std::string text = header();
    for (int i = 0; i < 62; ++i)
        text += row("sounds\\s" + std::to_string(i) + ".wav", "41");
    Parsed p(text);
    EXPECT_EQ(p.read.slotCount, 60) << "the table holds 60 rows";
    ASSERT_EQ(p.read.reports.size(), 1u) << "one message for the rest of the file";
    EXPECT_EQ(p.read.reports[0].problem, RowProblem::TooManyRows);
    EXPECT_EQ(p.read.reports[0].line, 62) << "the 61st row is on line 62";
    EXPECT_TRUE(p.read.keepFile);
    EXPECT_EQ(Parsed(text.substr(0, text.size() - 2 * row("sounds\\s60.wav", "41").size()))
                  .read.reports.size(),
              0u)
        << "exactly 60 rows are no fault";
}

TEST(SettingsWrite, DefaultFileNormalises)
{
    Parsed p("44100,,,,\r\n4294967295,,,,\r\nsounds\\bass2.wav,20,128,128,DR_BASS1\r\n"
             "sounds\\taml2.wav,bb,108,128,DR_TAML\r\n");
    EXPECT_EQ(p.written(), "44100\r\n4294967295\r\nsounds\\bass2.wav,20,128,128,DR_BASS1\r\n"
                           "sounds\\taml2.wav,bb,108,128,DR_TAML\r\n");
}

TEST(SettingsWrite, OnlyEntriesWithAKeyInTableOrder)
{
    SoundSlot table[kSlotTableSize] = {};
    std::strcpy(table[5].path, "x.wav");
    table[5].keyCode = 0x11;
    table[5].volume = -3;
    table[5].pan = 7;
    std::strcpy(table[5].partName, "DR_RIM");
    std::strcpy(table[7].path, "empty.wav");  // no key: not written
    std::strcpy(table[59].path, "\x95\x5C.wav");
    table[59].keyCode = 0xE2;
    table[59].volume = 1;
    table[59].pan = 255;
    EXPECT_EQ(formatSettings(table, 0, 1), "0\r\n1\r\nx.wav,11,-3,7,DR_RIM\r\n\x95\x5C.wav,e2,1,255,\r\n");
}

TEST(SettingsMessages, TextsCarryTheLineNumber)
{
    // "%d行目のドラム名が不正です" in Shift-JIS with 3 for %d.
    EXPECT_EQ(rowMessage({RowProblem::BadPartName, 3}),
              "3\x8D\x73\x96\xDA\x82\xCC\x83\x68\x83\x89\x83\x80\x96\xBC\x82\xAA\x95\x73\x90\xB3\x82\xC5\x82\xB7");
    EXPECT_EQ(lineMessage(kMsgSampleTooLarge, 12).substr(0, 7), "12\x8D\x73\x96\xDA ")
        << "the size message has a blank after 行目";
    for (RowProblem p : {RowProblem::VolumeRange, RowProblem::PanRange, RowProblem::LineTooLong,
                         RowProblem::TooFewFields, RowProblem::BadKey, RowProblem::PartNameTooLong,
                         RowProblem::ControlByte, RowProblem::TooManyRows, RowProblem::TooManyFields,
                         RowProblem::NumberText, RowProblem::MasterVolume})
        EXPECT_EQ(rowMessage({p, 62}).substr(0, 6), "62\x8D\x73\x96\xDA") << "every row message starts with N行目";
}
