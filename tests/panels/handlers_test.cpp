// Behaviour of the handlers beyond their log blocks: the unit number, the
// fields, the indicators, continuous reading, the help commands and the log.
#include <gtest/gtest.h>

#include <cstring>

#include "fake_port.h"
#include "fake_units.h"

namespace panels::testing {
namespace {

struct QaiFixture : ::testing::Test {
    FakePort port;
    std::vector<std::string> opened;
    QaiPanel panel{port, kFakeQai8, [this](const std::string& path) { opened.push_back(path); }};
    void SetUp() override {
        Fake() = {};
        port.panel = &panel;
        panel.Start();
    }
    const FakeCall& LastCall() const { return Fake().calls.back(); }
};

struct QaoFixture : ::testing::Test {
    FakePort port;
    std::vector<std::string> opened;
    QaoPanel panel{port, kFakeQao4, [this](const std::string& path) { opened.push_back(path); }};
    void SetUp() override {
        Fake() = {};
        port.panel = &panel;
        panel.Start();
    }
};

TEST_F(QaiFixture, StartTexts) {
    EXPECT_EQ(port.Text(1005), "…不明…");
    EXPECT_EQ(port.Text(1097), "…不明…");
    EXPECT_EQ(port.Text(1007), "0");
    EXPECT_EQ(port.Text(1024), "1");
    EXPECT_EQ(port.Text(1025), "1");
    EXPECT_EQ(port.Text(1009), "");
    EXPECT_EQ(panel.IndicatorState(1014), 99);
    EXPECT_EQ(panel.IndicatorState(1017), 99);
    EXPECT_EQ(panel.CodeFormat(), 0);
    EXPECT_TRUE(Fake().calls.empty());
}

TEST_F(QaiFixture, UnitNumberTakenAfreshForEveryCall) {
    const struct {
        const char* text;
        int32_t rotSw;
    } cases[] = {{"3", 3}, {" 3", 3}, {"3ab", 3}, {"+3", 3}, {"ab", 0}, {"", 0}, {"-", 0}, {"-2", -2},
                 {"123456789012", INT32_MAX}};
    for (const auto& c : cases) {
        port.Type(1007, c.text);
        for (int id : {1096, 1010, 1015, 1012, 1013, 1020, 1021, 1022, 1023, 1030}) {
            panel.Command(id);
            EXPECT_EQ(LastCall().args.at(0), c.rotSw) << "box \"" << c.text << "\", button " << id;
        }
    }
}

TEST_F(QaiFixture, CallArguments) {
    port.Type(1024, " 12s");
    port.Type(1025, "4x");
    const struct {
        int id;
        std::vector<int32_t> args;
    } cases[] = {
        {1004, {50}},        {1096, {0, 50}},  {1012, {0, 1}}, {1013, {0, 0}}, {1020, {0, 0}},
        {1021, {0, 1}},      {1022, {0, 12}},  {1023, {0, 4}}, {1030, {0, 1}}, {1065, {0, 2}},
        {1070, {0, 3}},      {1075, {0, 4}},   {1080, {0, 5}}, {1085, {0, 6}}, {1090, {0, 7}},
        {1095, {0, 8}},
    };
    for (const auto& c : cases) {
        panel.Command(c.id);
        EXPECT_EQ(LastCall().args, c.args) << "button " << c.id;
    }
    // the success line repeats the box text as typed
    EXPECT_NE(port.Text(1009).find("　設定成功:4x\r\n"), std::string::npos);
    EXPECT_NE(port.Text(1009).find("　設定成功: 12s\r\n"), std::string::npos);
}

TEST_F(QaiFixture, VersionBoxes) {
    panel.Command(1004);
    EXPECT_EQ(port.Text(1005), "1.00");
    Fake().results["Get_Libver"] = -21;
    panel.Command(1004);
    EXPECT_EQ(port.Text(1005), "…不明…");

    // a firmware text that fills the whole buffer with no NUL
    Fake().version = std::string(60, 'F');
    panel.Command(1096);
    EXPECT_EQ(port.Text(1097), std::string(50, 'F'));
    EXPECT_NE(port.Text(1009).find("　読み出し成功：" + std::string(50, 'F') + "\r\n"), std::string::npos);
    Fake().results["Get_Firmver"] = 1;
    panel.Command(1096);
    EXPECT_EQ(port.Text(1097), "…不明…");
}

TEST_F(QaiFixture, Indicators) {
    const struct {
        int id;
        const char* function;
        int32_t result;
        int32_t input, output;
    } steps[] = {
        {1010, "Get_Din", 0, 0, 99},      {1010, "Get_Din", 2, 1, 99},     {1010, "Get_Din", -21, 1, 99},
        {1012, "Set_Dout", 0, 1, 99},     {1015, "Get_DoutMon", 1, 1, 1},  {1013, "Set_Dout", 0, 1, 1},
        {1015, "Get_DoutMon", 0, 1, 0},   {1015, "Get_DoutMon", -18, 1, 0},
    };
    int repaints = 0;
    for (const auto& s : steps) {
        Fake().results[s.function] = s.result;
        panel.Command(s.id);
        const bool read = s.id == 1010 || s.id == 1015;
        if (read) ++repaints;
        EXPECT_EQ(panel.IndicatorState(1014), s.input) << s.function << " " << s.result;
        EXPECT_EQ(panel.IndicatorState(1017), s.output) << s.function << " " << s.result;
        EXPECT_EQ(port.repaints, repaints) << s.function << " " << s.result << ": reads repaint, even failed";
    }
}

TEST_F(QaiFixture, ReadFillsRowsZeroToN) {
    const int16_t ad[8] = {1, -1, 0, 100, 0x7FFF, -32768, 255, 10};
    std::copy(ad, ad + 8, Fake().ad);
    panel.Command(1095);  // all eight
    EXPECT_EQ(port.Text(1092), "10");
    EXPECT_EQ(port.Text(1091), "A");
    EXPECT_EQ(port.Text(1093), "3.125000");

    for (int16_t& v : Fake().ad) v = 0x0001;
    Fake().results["Set_AdCode"] = 0;
    panel.Command(1021);  // offset binary
    ASSERT_EQ(panel.CodeFormat(), 1);
    panel.Command(1070);  // ～CH2: rows 0 … 2
    const char* rows[8][3] = {
        {"1", "1", "-10239.687500"}, {"1", "1", "-10239.687500"}, {"1", "1", "-10239.687500"},
        {"100", "64", "31.250002"},  {"32767", "7FFF", "10239.687500"}, {"-32768", "8000", "-10240.000000"},
        {"255", "FF", "79.687500"},  {"10", "A", "3.125000"},
    };
    for (int i = 0; i < 8; ++i) {
        const auto& box = qai::kChannelRows[i];
        EXPECT_EQ(port.Text(box.decimalBox), rows[i][0]) << "row " << i;
        EXPECT_EQ(port.Text(box.hexBox), rows[i][1]) << "row " << i;
        EXPECT_EQ(port.Text(box.millivoltBox), rows[i][2]) << "row " << i;
    }

    // a failed read leaves every box as it was
    Fake().results["Get_AdValue"] = -21;
    for (int16_t& v : Fake().ad) v = 0x1234;
    panel.Command(1095);
    EXPECT_EQ(port.Text(1027), "1");
    EXPECT_EQ(port.Text(1092), "10");
}

TEST_F(QaiFixture, CodeFormatFollowsOnlySuccessfulSelection) {
    for (int16_t& v : Fake().ad) v = static_cast<int16_t>(0x8000);
    panel.Command(1030);  // no selection yet: two's complement
    EXPECT_EQ(port.Text(1027), "-32768");
    EXPECT_EQ(port.Text(1028), "-10240.000000");

    Fake().results["Set_AdCode"] = -40;
    panel.Command(1021);
    EXPECT_EQ(panel.CodeFormat(), 0);
    panel.Command(1030);
    EXPECT_EQ(port.Text(1027), "-32768");

    Fake().results["Set_AdCode"] = 0;
    panel.Command(1021);
    EXPECT_EQ(panel.CodeFormat(), 1);
    EXPECT_EQ(port.Text(1027), "-32768") << "boxes are not recomputed on selection";
    panel.Command(1030);
    EXPECT_EQ(port.Text(1027), "32768");
    EXPECT_EQ(port.Text(1026), "8000");
    EXPECT_EQ(port.Text(1028), "0.000000");
    panel.Command(1020);
    EXPECT_EQ(panel.CodeFormat(), 0);
}

TEST_F(QaiFixture, ContinuousReadingEverySixthTickedTick) {
    // box state per tick (200 ms each) → reads after that tick, counted
    struct Run {
        const char* name;
        int ticked;    // ticks with the box ticked
        int unticked;  // then ticks with it clear
        int reads;
    } runs[] = {
        {"1 s ticked", 5, 0, 0},
        {"1.2 s ticked", 6, 0, 1},
        {"5 s ticked", 25, 0, 4},
        {"5 ticked, 1 clear, 5 ticked", 5, 1, 0},
    };
    for (const Run& r : runs) {
        Fake() = {};
        port.checked = {1006};
        for (int i = 0; i < r.ticked; ++i) panel.Tick();
        port.checked.clear();
        for (int i = 0; i < r.unticked; ++i) panel.Tick();
        if (r.unticked > 0) {
            port.checked = {1006};
            for (int i = 0; i < 5; ++i) panel.Tick();
        }
        EXPECT_EQ(static_cast<int>(Fake().calls.size()), r.reads) << r.name;
        for (const FakeCall& call : Fake().calls) {
            EXPECT_EQ(call.function, "Get_AdValue") << r.name;
            EXPECT_EQ(call.args.at(1), 8) << r.name;
        }
        port.checked.clear();
        panel.Tick();  // clear: count back to 0
        EXPECT_EQ(panel.TickCount(), 0) << r.name;
    }
}

TEST_F(QaiFixture, ContinuousReadingGoesOnAfterFailures) {
    Fake().results["Get_AdValue"] = -21;
    port.checked = {1006};
    for (int i = 0; i < 12; ++i) panel.Tick();
    EXPECT_EQ(Fake().calls.size(), 2u);
    EXPECT_EQ(panel.Frame().Log().Blocks(), 2u);
}

TEST_F(QaiFixture, HelpCommandsOpenFilesAndLogNothing) {
    panel.Command(1000);
    panel.Command(1001);
    EXPECT_EQ(opened, (std::vector<std::string>{"./QAI8_Func.txt", "./QAI8_ErrorCode.txt"}));
    EXPECT_TRUE(Fake().calls.empty());
    EXPECT_EQ(port.Text(1009), "");
}

TEST_F(QaiFixture, LogBlocksFollowOneAnother) {
    panel.Command(1002);
    panel.Command(1003);
    EXPECT_EQ(port.Text(1009),
              "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qai8_OpenDriver()\r\n　オープン成功\r\n\r\n"
              "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qai8_CloseDriver()\r\n　クローズ成功\r\n\r\n");
    EXPECT_EQ(port.selectEnds, 2);
}

TEST_F(QaiFixture, TypedLogTextIsLostAtTheNextAppend) {
    panel.Command(1002);
    port.Type(1009, "memo");
    port.Type(1027, "typed");
    panel.Command(1003);
    EXPECT_EQ(port.Text(1009),
              "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qai8_OpenDriver()\r\n　オープン成功\r\n\r\n"
              "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qai8_CloseDriver()\r\n　クローズ成功\r\n\r\n");
    EXPECT_EQ(port.Text(1027), "typed") << "a result box keeps typed text until a handler writes it";
    panel.Command(1002);
    EXPECT_EQ(port.fullRewrites, 1) << "only the append after typing rewrites the box";
}

TEST(MessageLog, CapDropsWholeBlocksFromTheFront) {
    FakePort port;
    MessageLog log(port, ctl::kLog, 100);
    const std::string block = std::string(28, 'a') + "\r\n";  // 30 bytes, 32 with the empty line
    for (int i = 0; i < 3; ++i) log.Append(block);
    EXPECT_EQ(log.Size(), 96u);
    log.Append("b\r\n");  // 5 bytes: 101 > 100, the oldest block goes
    EXPECT_EQ(log.Blocks(), 3u);
    EXPECT_EQ(log.Size(), 69u);
    EXPECT_EQ(port.Text(ctl::kLog), block + "\r\n" + block + "\r\n" + "b\r\n\r\n");
    EXPECT_EQ(port.Text(ctl::kLog), log.Text());

    const std::string big(300, 'c');  // larger than the cap: kept alone
    log.Append(big);
    EXPECT_EQ(log.Blocks(), 1u);
    EXPECT_EQ(port.Text(ctl::kLog), big + "\r\n");
    EXPECT_EQ(port.fullRewrites, 0);
}

TEST(MessageLog, PastTheCapTrimsASixteenth) {
    FakePort port;
    MessageLog log(port, ctl::kLog, 100);
    std::string expected;
    for (char c = 'a'; c <= 'g'; ++c) log.Append(std::string(10, c) + "\r\n");  // 14 bytes each
    EXPECT_EQ(log.Size(), 98u);
    log.Append("hhhhhhhhhh\r\n");  // 112 > 100: down to 94 or less
    EXPECT_EQ(log.Blocks(), 6u);
    EXPECT_EQ(log.Size(), 84u);
    for (char c = 'c'; c <= 'h'; ++c) expected += std::string(10, c) + "\r\n\r\n";
    EXPECT_EQ(port.Text(ctl::kLog), expected);
    log.Append("iiiiiiiiii\r\n");  // 98: under the cap, nothing dropped
    EXPECT_EQ(log.Blocks(), 7u);
}

TEST_F(QaoFixture, StartTexts) {
    EXPECT_EQ(port.Text(1097), "…不明…");
    EXPECT_EQ(port.Text(1007), "0");
    EXPECT_EQ(port.Text(1005), "…不明…");
    for (int id : {1027, 1062, 1067, 1072, 1026, 1061, 1066, 1071}) EXPECT_EQ(port.Text(id), "0") << id;
    for (int id : {1076, 1077, 1081, 1082, 1086, 1087, 1091, 1092}) EXPECT_EQ(port.Text(id), "") << id;
    EXPECT_EQ(panel.IndicatorState(1014), 99);
    EXPECT_TRUE(Fake().calls.empty());
}

TEST_F(QaoFixture, TypingADecimalBoxUpdatesItsHexBoxOnly) {
    const struct {
        int decimal, hex;
    } pairs[] = {{1027, 1026}, {1062, 1061}, {1067, 1066}, {1072, 1071},
                 {1077, 1076}, {1082, 1081}, {1087, 1086}, {1092, 1091}};
    for (const auto& p : pairs) {
        const auto before = port.texts;
        port.Type(p.decimal, "70000");
        EXPECT_EQ(port.Text(p.hex), "1170") << p.decimal;
        auto expected = before;
        expected[p.decimal] = "70000";
        expected[p.hex] = "1170";
        EXPECT_EQ(port.texts, expected) << p.decimal << ": nothing else changes";
    }
    EXPECT_TRUE(Fake().calls.empty());
    EXPECT_EQ(port.Text(1009), "");
}

TEST_F(QaoFixture, WriteConvertsAllFourBoxesAndSendsN) {
    panel.Command(1075);  // right after start: four zeros
    EXPECT_EQ(Fake().calls.back().args, (std::vector<int32_t>{0, 4, 0, 0, 0, 0}));

    port.Type(1027, "100");
    port.Type(1062, "-100");
    port.Type(1067, "65535");
    port.Type(1072, "x");
    panel.Command(1065);  // ～CH1
    EXPECT_EQ(Fake().calls.back().args, (std::vector<int32_t>{0, 2, 100, -100, -1, 0}));
    const std::string log = port.Text(1009);
    EXPECT_TRUE(log.ends_with("　出力成功： 100  -100 \r\n\r\n")) << log;

    port.Type(1027, "65535");
    panel.Command(1030);
    EXPECT_EQ(Fake().daWritten[0], -1);
    EXPECT_NE(port.Text(1009).find("　出力成功： -1 \r\n"), std::string::npos);
    for (int id : {1076, 1077, 1081, 1082}) EXPECT_EQ(port.Text(id), "") << "readback rows untouched";
}

TEST_F(QaoFixture, ReadbackFillsRowsZeroToNOnSuccess) {
    for (int id : {1077, 1082, 1087, 1092}) port.Type(id, "5");
    const int16_t da[4] = {-32768, 255, 7, 8};
    std::copy(da, da + 4, Fake().da);
    panel.Command(1085);  // ～CH1 of the readback rows
    EXPECT_EQ(Fake().calls.back().args, (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(port.Text(1077), "-32768");
    EXPECT_EQ(port.Text(1076), "8000");
    EXPECT_EQ(port.Text(1082), "255");
    EXPECT_EQ(port.Text(1081), "FF");
    EXPECT_EQ(port.Text(1087), "5");
    EXPECT_EQ(port.Text(1086), "5");
    EXPECT_EQ(port.Text(1092), "5");

    Fake().results["Get_DaValue"] = -21;
    Fake().da[0] = 1;
    panel.Command(1095);
    EXPECT_EQ(port.Text(1077), "-32768");
    EXPECT_EQ(port.Text(1092), "5");
}

TEST_F(QaoFixture, SameTextSetAgainStillUpdatesHex) {
    port.Type(1077, "1");
    port.Type(1076, "junk");  // readback hex boxes are editable
    Fake().da[0] = 1;
    panel.Command(1080);
    EXPECT_EQ(port.Text(1076), "1");
}

TEST_F(QaoFixture, CodeFormatChangesNoBox) {
    port.Type(1027, "-1");
    const auto before = port.texts;
    panel.Command(1021);
    EXPECT_EQ(Fake().calls.back().args, (std::vector<int32_t>{0, 1}));
    panel.Command(1020);
    EXPECT_EQ(Fake().calls.back().args, (std::vector<int32_t>{0, 0}));
    auto after = port.texts;
    after.erase(1009);
    auto expected = before;
    expected.erase(1009);
    EXPECT_EQ(after, expected);
}

TEST_F(QaoFixture, HelpCommandsOpenTheirOwnFiles) {
    panel.Command(1000);
    panel.Command(1001);
    EXPECT_EQ(opened, (std::vector<std::string>{"./QAI8_QAO4_Func.txt", "./QAI8_QAO4_ErrorCode.txt"}));
    EXPECT_EQ(port.Text(1009), "");
}

}  // namespace
}  // namespace panels::testing
