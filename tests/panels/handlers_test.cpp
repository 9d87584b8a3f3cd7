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
    fake() = {};
    port.panel = &panel;
    panel.start();
  }
  const FakeCall& last_call() const { return fake().calls.back(); }
};

struct QaoFixture : ::testing::Test {
  FakePort port;
  std::vector<std::string> opened;
  QaoPanel panel{port, kFakeQao4, [this](const std::string& path) { opened.push_back(path); }};
  void SetUp() override {
    fake() = {};
    port.panel = &panel;
    panel.start();
  }
};

TEST_F(QaiFixture, StartTexts) {
  EXPECT_EQ(port.text(1005), "…不明…");
  EXPECT_EQ(port.text(1097), "…不明…");
  EXPECT_EQ(port.text(1007), "0");
  EXPECT_EQ(port.text(1024), "1");
  EXPECT_EQ(port.text(1025), "1");
  EXPECT_EQ(port.text(1009), "");
  EXPECT_EQ(panel.indicator_state(1014), 99);
  EXPECT_EQ(panel.indicator_state(1017), 99);
  EXPECT_EQ(panel.code_format(), 0);
  EXPECT_TRUE(fake().calls.empty());
}

TEST_F(QaiFixture, UnitNumberTakenAfreshForEveryCall) {
  const struct {
    const char* text;
    int32_t rotsw;
  } cases[] = {{"3", 3},  {" 3", 3},  {"3ab", 3},
               {"+3", 3}, {"ab", 0},  {"", 0},
               {"-", 0},  {"-2", -2}, {"123456789012", INT32_MAX}};
  for (const auto& c : cases) {
    port.type(1007, c.text);
    for (int id : {1096, 1010, 1015, 1012, 1013, 1020, 1021, 1022, 1023, 1030}) {
      panel.command(id);
      EXPECT_EQ(last_call().args.at(0), c.rotsw) << "box \"" << c.text << "\", button " << id;
    }
  }
}

TEST_F(QaiFixture, CallArguments) {
  port.type(1024, " 12s");
  port.type(1025, "4x");
  const struct {
    int id;
    std::vector<int32_t> args;
  } cases[] = {
      {1004, {50}},    {1096, {0, 50}}, {1012, {0, 1}}, {1013, {0, 0}}, {1020, {0, 0}}, {1021, {0, 1}},
      {1022, {0, 12}}, {1023, {0, 4}},  {1030, {0, 1}}, {1065, {0, 2}}, {1070, {0, 3}}, {1075, {0, 4}},
      {1080, {0, 5}},  {1085, {0, 6}},  {1090, {0, 7}}, {1095, {0, 8}},
  };
  for (const auto& c : cases) {
    panel.command(c.id);
    EXPECT_EQ(last_call().args, c.args) << "button " << c.id;
  }
  // the success line repeats the box text as typed
  EXPECT_NE(port.text(1009).find("　設定成功:4x\r\n"), std::string::npos);
  EXPECT_NE(port.text(1009).find("　設定成功: 12s\r\n"), std::string::npos);
}

TEST_F(QaiFixture, VersionBoxes) {
  panel.command(1004);
  EXPECT_EQ(port.text(1005), "1.00");
  fake().results["Get_Libver"] = -21;
  panel.command(1004);
  EXPECT_EQ(port.text(1005), "…不明…");

  // a firmware text that fills the whole buffer with no NUL
  fake().version = std::string(60, 'F');
  panel.command(1096);
  EXPECT_EQ(port.text(1097), std::string(50, 'F'));
  EXPECT_NE(port.text(1009).find("　読み出し成功：" + std::string(50, 'F') + "\r\n"), std::string::npos);
  fake().results["Get_Firmver"] = 1;
  panel.command(1096);
  EXPECT_EQ(port.text(1097), "…不明…");
}

TEST_F(QaiFixture, Indicators) {
  const struct {
    int id;
    const char* function;
    int32_t result;
    int32_t input, output;
  } steps[] = {
      {1010, "Get_Din", 0, 0, 99},    {1010, "Get_Din", 2, 1, 99},      {1010, "Get_Din", -21, 1, 99},
      {1012, "Set_Dout", 0, 1, 99},   {1015, "Get_DoutMon", 1, 1, 1},   {1013, "Set_Dout", 0, 1, 1},
      {1015, "Get_DoutMon", 0, 1, 0}, {1015, "Get_DoutMon", -18, 1, 0},
  };
  int repaints = 0;
  for (const auto& s : steps) {
    fake().results[s.function] = s.result;
    panel.command(s.id);
    const bool read = s.id == 1010 || s.id == 1015;
    if (read) ++repaints;
    EXPECT_EQ(panel.indicator_state(1014), s.input) << s.function << " " << s.result;
    EXPECT_EQ(panel.indicator_state(1017), s.output) << s.function << " " << s.result;
    EXPECT_EQ(port.repaints, repaints) << s.function << " " << s.result << ": reads repaint, even failed";
  }
}

TEST_F(QaiFixture, ReadFillsRowsZeroToN) {
  const int16_t ad[8] = {1, -1, 0, 100, 0x7FFF, -32768, 255, 10};
  std::copy(ad, ad + 8, fake().ad);
  panel.command(1095);  // all eight
  EXPECT_EQ(port.text(1092), "10");
  EXPECT_EQ(port.text(1091), "A");
  EXPECT_EQ(port.text(1093), "3.125000");

  for (int16_t& v : fake().ad) v = 0x0001;
  fake().results["Set_AdCode"] = 0;
  panel.command(1021);  // offset binary
  ASSERT_EQ(panel.code_format(), 1);
  panel.command(1070);  // ～CH2: rows 0 … 2
  const char* rows[8][3] = {
      {"1", "1", "-10239.687500"}, {"1", "1", "-10239.687500"},       {"1", "1", "-10239.687500"},
      {"100", "64", "31.250002"},  {"32767", "7FFF", "10239.687500"}, {"-32768", "8000", "-10240.000000"},
      {"255", "FF", "79.687500"},  {"10", "A", "3.125000"},
  };
  for (int i = 0; i < 8; ++i) {
    const auto& box = qai::kChannelRows[i];
    EXPECT_EQ(port.text(box.decimal_box), rows[i][0]) << "row " << i;
    EXPECT_EQ(port.text(box.hex_box), rows[i][1]) << "row " << i;
    EXPECT_EQ(port.text(box.millivolt_box), rows[i][2]) << "row " << i;
  }

  // a failed read leaves every box as it was
  fake().results["Get_AdValue"] = -21;
  for (int16_t& v : fake().ad) v = 0x1234;
  panel.command(1095);
  EXPECT_EQ(port.text(1027), "1");
  EXPECT_EQ(port.text(1092), "10");
}

TEST_F(QaiFixture, CodeFormatFollowsOnlySuccessfulSelection) {
  for (int16_t& v : fake().ad) v = static_cast<int16_t>(0x8000);
  panel.command(1030);  // no selection yet: two's complement
  EXPECT_EQ(port.text(1027), "-32768");
  EXPECT_EQ(port.text(1028), "-10240.000000");

  fake().results["Set_AdCode"] = -40;
  panel.command(1021);
  EXPECT_EQ(panel.code_format(), 0);
  panel.command(1030);
  EXPECT_EQ(port.text(1027), "-32768");

  fake().results["Set_AdCode"] = 0;
  panel.command(1021);
  EXPECT_EQ(panel.code_format(), 1);
  EXPECT_EQ(port.text(1027), "-32768") << "boxes are not recomputed on selection";
  panel.command(1030);
  EXPECT_EQ(port.text(1027), "32768");
  EXPECT_EQ(port.text(1026), "8000");
  EXPECT_EQ(port.text(1028), "0.000000");
  panel.command(1020);
  EXPECT_EQ(panel.code_format(), 0);
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
    fake() = {};
    port.checked = {1006};
    for (int i = 0; i < r.ticked; ++i) panel.tick();
    port.checked.clear();
    for (int i = 0; i < r.unticked; ++i) panel.tick();
    if (r.unticked > 0) {
      port.checked = {1006};
      for (int i = 0; i < 5; ++i) panel.tick();
    }
    EXPECT_EQ(static_cast<int>(fake().calls.size()), r.reads) << r.name;
    for (const FakeCall& call : fake().calls) {
      EXPECT_EQ(call.function, "Get_AdValue") << r.name;
      EXPECT_EQ(call.args.at(1), 8) << r.name;
    }
    port.checked.clear();
    panel.tick();  // clear: count back to 0
    EXPECT_EQ(panel.tick_count(), 0) << r.name;
  }
}

TEST_F(QaiFixture, ContinuousReadingGoesOnAfterFailures) {
  fake().results["Get_AdValue"] = -21;
  port.checked = {1006};
  for (int i = 0; i < 12; ++i) panel.tick();
  EXPECT_EQ(fake().calls.size(), 2u);
  EXPECT_EQ(panel.frame().log().blocks(), 2u);
}

TEST_F(QaiFixture, HelpCommandsOpenFilesAndLogNothing) {
  panel.command(1000);
  panel.command(1001);
  EXPECT_EQ(opened, (std::vector<std::string>{"./QAI8_Func.txt", "./QAI8_ErrorCode.txt"}));
  EXPECT_TRUE(fake().calls.empty());
  EXPECT_EQ(port.text(1009), "");
}

TEST_F(QaiFixture, LogBlocksFollowOneAnother) {
  panel.command(1002);
  panel.command(1003);
  EXPECT_EQ(port.text(1009),
            "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qai8_OpenDriver()\r\n　オープン成功\r\n\r\n"
            "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qai8_CloseDriver()\r\n　クローズ成功\r\n\r\n");
  EXPECT_EQ(port.select_ends, 2);
}

TEST_F(QaiFixture, TypedLogTextIsLostAtTheNextAppend) {
  panel.command(1002);
  port.type(1009, "memo");
  port.type(1027, "typed");
  panel.command(1003);
  EXPECT_EQ(port.text(1009),
            "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qai8_OpenDriver()\r\n　オープン成功\r\n\r\n"
            "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qai8_CloseDriver()\r\n　クローズ成功\r\n\r\n");
  EXPECT_EQ(port.text(1027), "typed") << "a result box keeps typed text until a handler writes it";
  panel.command(1002);
  EXPECT_EQ(port.full_rewrites, 1) << "only the append after typing rewrites the box";
}

TEST(MessageLog, CapDropsWholeBlocksFromTheFront) {
  FakePort port;
  MessageLog log(port, ctl::kLog, 100);
  const std::string block = std::string(28, 'a') + "\r\n";  // 30 bytes, 32 with the empty line
  for (int i = 0; i < 3; ++i) log.append(block);
  EXPECT_EQ(log.size(), 96u);
  log.append("b\r\n");  // 5 bytes: 101 > 100, the oldest block goes
  EXPECT_EQ(log.blocks(), 3u);
  EXPECT_EQ(log.size(), 69u);
  EXPECT_EQ(port.text(ctl::kLog), block + "\r\n" + block + "\r\n" + "b\r\n\r\n");
  EXPECT_EQ(port.text(ctl::kLog), log.text());

  const std::string big(300, 'c');  // larger than the cap: kept alone
  log.append(big);
  EXPECT_EQ(log.blocks(), 1u);
  EXPECT_EQ(port.text(ctl::kLog), big + "\r\n");
  EXPECT_EQ(port.full_rewrites, 0);
}

TEST(MessageLog, PastTheCapTrimsASixteenth) {
  FakePort port;
  MessageLog log(port, ctl::kLog, 100);
  std::string expected;
  for (char c = 'a'; c <= 'g'; ++c) log.append(std::string(10, c) + "\r\n");  // 14 bytes each
  EXPECT_EQ(log.size(), 98u);
  log.append("hhhhhhhhhh\r\n");  // 112 > 100: down to 94 or less
  EXPECT_EQ(log.blocks(), 6u);
  EXPECT_EQ(log.size(), 84u);
  for (char c = 'c'; c <= 'h'; ++c) expected += std::string(10, c) + "\r\n\r\n";
  EXPECT_EQ(port.text(ctl::kLog), expected);
  log.append("iiiiiiiiii\r\n");  // 98: under the cap, nothing dropped
  EXPECT_EQ(log.blocks(), 7u);
}

TEST_F(QaoFixture, StartTexts) {
  EXPECT_EQ(port.text(1097), "…不明…");
  EXPECT_EQ(port.text(1007), "0");
  EXPECT_EQ(port.text(1005), "…不明…");
  for (int id : {1027, 1062, 1067, 1072, 1026, 1061, 1066, 1071}) EXPECT_EQ(port.text(id), "0") << id;
  for (int id : {1076, 1077, 1081, 1082, 1086, 1087, 1091, 1092}) EXPECT_EQ(port.text(id), "") << id;
  EXPECT_EQ(panel.indicator_state(1014), 99);
  EXPECT_TRUE(fake().calls.empty());
}

TEST_F(QaoFixture, TypingADecimalBoxUpdatesItsHexBoxOnly) {
  const struct {
    int decimal, hex;
  } pairs[] = {{1027, 1026}, {1062, 1061}, {1067, 1066}, {1072, 1071},
               {1077, 1076}, {1082, 1081}, {1087, 1086}, {1092, 1091}};
  for (const auto& p : pairs) {
    const auto before = port.texts;
    port.type(p.decimal, "70000");
    EXPECT_EQ(port.text(p.hex), "1170") << p.decimal;
    auto expected = before;
    expected[p.decimal] = "70000";
    expected[p.hex] = "1170";
    EXPECT_EQ(port.texts, expected) << p.decimal << ": nothing else changes";
  }
  EXPECT_TRUE(fake().calls.empty());
  EXPECT_EQ(port.text(1009), "");
}

TEST_F(QaoFixture, WriteConvertsAllFourBoxesAndSendsN) {
  panel.command(1075);  // right after start: four zeros
  EXPECT_EQ(fake().calls.back().args, (std::vector<int32_t>{0, 4, 0, 0, 0, 0}));

  port.type(1027, "100");
  port.type(1062, "-100");
  port.type(1067, "65535");
  port.type(1072, "x");
  panel.command(1065);  // ～CH1
  EXPECT_EQ(fake().calls.back().args, (std::vector<int32_t>{0, 2, 100, -100, -1, 0}));
  const std::string log = port.text(1009);
  EXPECT_TRUE(log.ends_with("　出力成功： 100  -100 \r\n\r\n")) << log;

  port.type(1027, "65535");
  panel.command(1030);
  EXPECT_EQ(fake().da_written[0], -1);
  EXPECT_NE(port.text(1009).find("　出力成功： -1 \r\n"), std::string::npos);
  for (int id : {1076, 1077, 1081, 1082}) EXPECT_EQ(port.text(id), "") << "readback rows untouched";
}

TEST_F(QaoFixture, ReadbackFillsRowsZeroToNOnSuccess) {
  for (int id : {1077, 1082, 1087, 1092}) port.type(id, "5");
  const int16_t da[4] = {-32768, 255, 7, 8};
  std::copy(da, da + 4, fake().da);
  panel.command(1085);  // ～CH1 of the readback rows
  EXPECT_EQ(fake().calls.back().args, (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(port.text(1077), "-32768");
  EXPECT_EQ(port.text(1076), "8000");
  EXPECT_EQ(port.text(1082), "255");
  EXPECT_EQ(port.text(1081), "FF");
  EXPECT_EQ(port.text(1087), "5");
  EXPECT_EQ(port.text(1086), "5");
  EXPECT_EQ(port.text(1092), "5");

  fake().results["Get_DaValue"] = -21;
  fake().da[0] = 1;
  panel.command(1095);
  EXPECT_EQ(port.text(1077), "-32768");
  EXPECT_EQ(port.text(1092), "5");
}

TEST_F(QaoFixture, SameTextSetAgainStillUpdatesHex) {
  port.type(1077, "1");
  port.type(1076, "junk");  // readback hex boxes are editable
  fake().da[0] = 1;
  panel.command(1080);
  EXPECT_EQ(port.text(1076), "1");
}

TEST_F(QaoFixture, CodeFormatChangesNoBox) {
  port.type(1027, "-1");
  const auto before = port.texts;
  panel.command(1021);
  EXPECT_EQ(fake().calls.back().args, (std::vector<int32_t>{0, 1}));
  panel.command(1020);
  EXPECT_EQ(fake().calls.back().args, (std::vector<int32_t>{0, 0}));
  auto after = port.texts;
  after.erase(1009);
  auto expected = before;
  expected.erase(1009);
  EXPECT_EQ(after, expected);
}

TEST_F(QaoFixture, HelpCommandsOpenTheirOwnFiles) {
  panel.command(1000);
  panel.command(1001);
  EXPECT_EQ(opened, (std::vector<std::string>{"./QAI8_QAO4_Func.txt", "./QAI8_QAO4_ErrorCode.txt"}));
  EXPECT_EQ(port.text(1009), "");
}

}  // namespace
}  // namespace panels::testing
