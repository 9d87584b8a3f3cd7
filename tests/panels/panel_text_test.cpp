// Error texts and the number conversions of the panels.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "panel_text.h"
#include "qai_panel.h"
#include "qao_panel.h"

namespace panels {
namespace {

TEST(ErrorText, WholeTableAndFallback) {
  const struct {
    int32_t code;
    const char* text;
  } cases[] = {
      {-10, "-10： バスI/Fの制御関数:LISTDEVICEの呼び出し失敗"},
      {-11, "-11： バスI/Fの制御関数:OPENの呼び出し失敗"},
      {-12, "-12： バスI/Fの制御関数:SETBITMODEの呼び出し失敗"},
      {-13, "-13： バスI/Fの制御関数:GETBITMODEの呼び出し失敗"},
      {-14, "-14： バスI/Fの制御関数:SETBAUDRATEの呼び出し失敗"},
      {-15, "-15： バスI/Fの制御関数:SETDATACHARの呼び出し失敗"},
      {-16, "-16： バスI/Fの制御関数:CLOSEの呼び出し失敗"},
      {-17, "-17： バスI/Fの制御関数:SETTIMEOUTの呼び出し失敗"},
      {-18, "-18： 本機ハードウェア内部で、データ読み込みに失敗"},
      {-19, "-19： 本機ハードウェア内部で、データ読み込みに失敗（タイムアウト）"},
      {-21, "-21： デバイスが見つからない（本機ユニットを認識できない）"},
      {-22, "-22： ユニット番号の重複（同じユニット番号の本機が複数認識された）"},
      {-23, "-23： 本機ハードウェア内部で、ステートが異常"},
      {-24, "-24： 本機ハードウェア内部で、デバイスが選択されていない"},
      {-30, "-30： 本機ハードウェア内部で、ファームに対するコマンドが異常"},
      {-40, "-40： 入力されたパラメータ（引数）の不適切"},
      {-41, "-41： バスI/Fの制御関数:GETMODEMSTATUSの呼び出し失敗"},
      {-51, "-51： 本機ハードウェア内部で、電源異常が発生"},
      {-52, "-52： 本機の電源が未軌道"},
      {-53, "-53： バスI/Fの制御関数:SETDTRの呼び出し失敗"},
      {-54, "-54： バスI/Fの制御関数:SETRTSの呼び出し失敗"},
      {-60, "-60： 本機ハードウェア内部で、デフォルト値設定異常"},
      // no entry
      {-20, "-20：未定義エラー"},
      {-25, "-25：未定義エラー"},
      {-29, "-29：未定義エラー"},
      {-31, "-31：未定義エラー"},
      {-39, "-39：未定義エラー"},
      {-42, "-42：未定義エラー"},
      {-50, "-50：未定義エラー"},
      {-55, "-55：未定義エラー"},
      {-59, "-59：未定義エラー"},
      {-61, "-61：未定義エラー"},
      {-9, "-9：未定義エラー"},
      {-1, "-1：未定義エラー"},
      {0, "0：未定義エラー"},
      {5, "5：未定義エラー"},
      {INT32_MIN, "-2147483648：未定義エラー"},
      {INT32_MAX, "2147483647：未定義エラー"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorText(c.code), c.text) << "code " << c.code;
}

TEST(ParseLeadingInt, LeadingDecimalIntegerSaturating) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"3", 3},
      {" 3", 3},
      {"3abc", 3},
      {"+3", 3},
      {"\t\n 7", 7},
      {"-2", -2},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"+", 0},
      {"+-3", 0},
      {"- 3", 0},
      {"0x10", 0},
      {"007", 7},
      {"３", 0},  // full-width digits are not digits
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"99999999999999999999999999999999", INT32_MAX},
      {"-99999999999999999999999999999999", INT32_MIN},
      {"4294967301", INT32_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(parse_leading_int(c.text), c.value) << '"' << c.text << '"';
}

TEST(BufferText, StopsAtNulOrBufferEnd) {
  char full[50];
  std::memset(full, 'A', sizeof full);
  EXPECT_EQ(buffer_text(full, sizeof full), std::string(50, 'A'));
  char part[50] = "1.02";
  EXPECT_EQ(buffer_text(part, sizeof part), "1.02");
  char empty[50] = {};
  EXPECT_EQ(buffer_text(empty, sizeof empty), "");
}

// Code as returned in AdVal, then the texts of the decimal, hexadecimal and
// millivolt boxes.
TEST(AdConversion, WorkedValues) {
  const struct {
    int32_t format;
    uint16_t code;
    const char *decimal, *hex, *mv;
  } cases[] = {
      {0, 0x0000, "0", "0", "0.000000"},
      {0, 0x0001, "1", "1", "0.312500"},
      {0, 0x0064, "100", "64", "31.250002"},
      {0, 0x2710, "10000", "2710", "3125.000244"},
      {0, 0x7FFF, "32767", "7FFF", "10239.687500"},
      {0, 0xFFFF, "-1", "FFFF", "-0.312500"},
      {0, 0x8000, "-32768", "8000", "-10240.000000"},
      {1, 0x0000, "0", "0", "-10240.000000"},
      {1, 0x7FFF, "32767", "7FFF", "-0.312500"},
      {1, 0x8000, "32768", "8000", "0.000000"},
      {1, 0xC000, "49152", "C000", "5120.000000"},
      {1, 0xFFFF, "65535", "FFFF", "10239.687500"},
  };
  for (const auto& c : cases) {
    const auto t = qai::format_channel(static_cast<int16_t>(c.code), c.format, 312.5f);
    EXPECT_EQ(t.decimal, c.decimal) << "format " << c.format << " code " << c.code;
    EXPECT_EQ(t.hex, c.hex) << "format " << c.format << " code " << c.code;
    EXPECT_EQ(t.millivolts, c.mv) << "format " << c.format << " code " << c.code;
  }
}

TEST(DaConversion, DecimalTextToCodeAndHexDisplay) {
  const struct {
    const char* text;
    int16_t code;
    const char* hex;
  } cases[] = {
      {"-1", -1, "FFFF"},
      {"65535", -1, "FFFF"},
      {"70000", 4464, "1170"},
      {"26xyz", 26, "1A"},
      {"abc", 0, "0"},
      {"", 0, "0"},
      {" +7", 7, "7"},
      {"0", 0, "0"},
      {"32767", 32767, "7FFF"},
      {"32768", -32768, "8000"},
      {"-32768", -32768, "8000"},
      {"-32769", 32767, "7FFF"},
      {"100", 100, "64"},
      {"-100", -100, "FF9C"},
      // beyond 32 bits: saturated to 2147483647 / -2147483648, then the low 16 bits
      {"99999999999", -1, "FFFF"},
      {"-99999999999", 0, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(qao::da_code(c.text), c.code) << '"' << c.text << '"';
    EXPECT_EQ(qao::hex_of_decimal(c.text), c.hex) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace panels
