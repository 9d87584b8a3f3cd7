// Every operation block of both panels, success and failure, byte for byte.
#include <gtest/gtest.h>

#include <memory>

#include "fake_port.h"
#include "fake_units.h"

namespace panels::testing {
namespace {

enum class Panel { Qai, Qao };

struct BlockCase {
  const char* name;
  Panel panel;
  int id;
  const char* function;  // the call the button makes, without the prefix
  int32_t result;        // what that call returns
  const char* block;     // the log after the press: the block and its empty line
};

// Unit number 0; A/D codes 1, -1, 0, 100, 0x7FFF, 0x8000, 255, 10; D/A
// readback codes 100, -100, 0, -1; version texts "1.00"; the D/A output
// boxes as after start ("0").
const BlockCase kBlocks[] = {
    // ---- shared buttons, qai_panel
    {"qai open ok", Panel::Qai, 1002, "OpenDriver", 0,
     "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qai8_OpenDriver()\r\n　オープン成功\r\n\r\n"},
    {"qai open -11", Panel::Qai, 1002, "OpenDriver", -11,
     "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qai8_OpenDriver()\r\n　オープン失敗:-11： バスI/Fの制御関数:OPENの呼び出し失敗\r\n\r\n"},
    {"qai open 1 is a failure", Panel::Qai, 1002, "OpenDriver", 1,
     "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qai8_OpenDriver()\r\n　オープン失敗:1：未定義エラー\r\n\r\n"},
    {"qai close ok", Panel::Qai, 1003, "CloseDriver", 0,
     "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qai8_CloseDriver()\r\n　クローズ成功\r\n\r\n"},
    {"qai close -16", Panel::Qai, 1003, "CloseDriver", -16,
     "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qai8_CloseDriver()\r\n　クローズ失敗：-16： バスI/Fの制御関数:CLOSEの呼び出し失敗\r\n\r\n"},
    {"qai libver ok", Panel::Qai, 1004, "Get_Libver", 0,
     "ＤＬＬバージョンの読み出し・・・\r\n　関数呼び出し：ret = Qai8_Get_Libver(Dll_Ver, Len(Dll_Ver))\r\n　読み出し成功：1.00\r\n\r\n"},
    {"qai libver -10", Panel::Qai, 1004, "Get_Libver", -10,
     "ＤＬＬバージョンの読み出し・・・\r\n　関数呼び出し：ret = Qai8_Get_Libver(Dll_Ver, Len(Dll_Ver))\r\n　読み出し失敗：-10： バスI/Fの制御関数:LISTDEVICEの呼び出し失敗\r\n\r\n"},
    {"qai libver 2 is a failure", Panel::Qai, 1004, "Get_Libver", 2,
     "ＤＬＬバージョンの読み出し・・・\r\n　関数呼び出し：ret = Qai8_Get_Libver(Dll_Ver, Len(Dll_Ver))\r\n　読み出し失敗：2：未定義エラー\r\n\r\n"},
    {"qai firmver ok", Panel::Qai, 1096, "Get_Firmver", 0,
     "ファームバージョン読み出し・・・\r\n　関数呼び出し：ret = Qai8_Get_Firmver(RotSw, F_Ver, Len(F_Ver))\r\n　読み出し成功：1.00\r\n\r\n"},
    {"qai firmver -21", Panel::Qai, 1096, "Get_Firmver", -21,
     "ファームバージョン読み出し・・・\r\n　関数呼び出し：ret = Qai8_Get_Firmver(RotSw, F_Ver, Len(F_Ver))\r\n　読み出し失敗：-21： デバイスが見つからない（本機ユニットを認識できない）\r\n\r\n"},
    {"qai din off", Panel::Qai, 1010, "Get_Din", 0,
     "入力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_Din(RotSw)\r\n　読み取り成功：入力はOFF\r\n\r\n"},
    {"qai din 2 is on", Panel::Qai, 1010, "Get_Din", 2,
     "入力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_Din(RotSw)\r\n　読み取り成功：入力はON\r\n\r\n"},
    {"qai din -21", Panel::Qai, 1010, "Get_Din", -21,
     "入力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_Din(RotSw)\r\n　読み取り失敗：-21： デバイスが見つからない（本機ユニットを認識できない）\r\n\r\n"},
    {"qai doutmon on", Panel::Qai, 1015, "Get_DoutMon", 1,
     "出力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_DoutMon(RotSw)\r\n　読み取り成功：出力はON\r\n\r\n"},
    {"qai doutmon off", Panel::Qai, 1015, "Get_DoutMon", 0,
     "出力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_DoutMon(RotSw)\r\n　読み取り成功：出力はOFF\r\n\r\n"},
    {"qai doutmon -19", Panel::Qai, 1015, "Get_DoutMon", -19,
     "出力の読み取り・・・\r\n　関数呼び出し：ret = Qai8_Get_DoutMon(RotSw)\r\n　読み取り失敗：-19： 本機ハードウェア内部で、データ読み込みに失敗（タイムアウト）\r\n\r\n"},
    {"qai dout on", Panel::Qai, 1012, "Set_Dout", 0,
     "出力をONにする・・・\r\n　関数呼び出し：ret = Qai8_Set_Dout(RotSw, 1)\r\n　出力制御成功：ON\r\n\r\n"},
    {"qai dout on 3 is done", Panel::Qai, 1012, "Set_Dout", 3,
     "出力をONにする・・・\r\n　関数呼び出し：ret = Qai8_Set_Dout(RotSw, 1)\r\n　出力制御成功：ON\r\n\r\n"},
    {"qai dout on -24", Panel::Qai, 1012, "Set_Dout", -24,
     "出力をONにする・・・\r\n　関数呼び出し：ret = Qai8_Set_Dout(RotSw, 1)\r\n　出力制御失敗：-24： 本機ハードウェア内部で、デバイスが選択されていない\r\n\r\n"},
    {"qai dout off", Panel::Qai, 1013, "Set_Dout", 0,
     "出力をOFFにする・・・\r\n　関数呼び出し：ret = Qai8_Set_Dout(RotSw, 0)\r\n　出力制御成功：OFF\r\n\r\n"},
    {"qai dout off -20", Panel::Qai, 1013, "Set_Dout", -20,
     "出力をOFFにする・・・\r\n　関数呼び出し：ret = Qai8_Set_Dout(RotSw, 0)\r\n　出力制御失敗：-20：未定義エラー\r\n\r\n"},
    // ---- A/D preparation and reading
    {"qai twos complement", Panel::Qai, 1020, "Set_AdCode", 0,
     "コード形式の選択・・・\r\n　関数呼び出し：ret = Qai8_Set_AdCode(RotSw, code)\r\n　選択成功：２の補数コード\r\n\r\n"},
    {"qai twos complement -40", Panel::Qai, 1020, "Set_AdCode", -40,
     "コード形式の選択・・・\r\n　関数呼び出し：ret = Qai8_Set_AdCode(RotSw, code)\r\n　選択失敗：-40： 入力されたパラメータ（引数）の不適切\r\n\r\n"},
    {"qai offset binary", Panel::Qai, 1021, "Set_AdCode", 1,
     "コード形式の選択・・・\r\n　関数呼び出し：ret = Qai8_Set_AdCode(RotSw, code)\r\n　選択成功：オフセットバイナリ\r\n\r\n"},
    {"qai offset binary -30", Panel::Qai, 1021, "Set_AdCode", -30,
     "コード形式の選択・・・\r\n　関数呼び出し：ret = Qai8_Set_AdCode(RotSw, code)\r\n　選択失敗：-30： 本機ハードウェア内部で、ファームに対するコマンドが異常\r\n\r\n"},
    {"qai scan speed", Panel::Qai, 1022, "Set_ScanSpeed", 0,
     "入力スキャン速度の設定・・・\r\n　関数呼び出し：ret = Qai8_Set_ScanSpeed(RotSw, speed)\r\n　設定成功:1\r\n\r\n"},
    {"qai scan speed -40", Panel::Qai, 1022, "Set_ScanSpeed", -40,
     "入力スキャン速度の設定・・・\r\n　関数呼び出し：ret = Qai8_Set_ScanSpeed(RotSw, speed)\r\n　設定失敗:-40： 入力されたパラメータ（引数）の不適切\r\n\r\n"},
    {"qai averaging", Panel::Qai, 1023, "Set_MultiScan", 0,
     "平均数の設定・・・\r\n　関数呼び出し：ret = Qai8_Set_MultiScan(RotSw, AveNum)\r\n　設定成功:1\r\n\r\n"},
    {"qai averaging -51", Panel::Qai, 1023, "Set_MultiScan", -51,
     "平均数の設定・・・\r\n　関数呼び出し：ret = Qai8_Set_MultiScan(RotSw, AveNum)\r\n　設定失敗:-51： 本機ハードウェア内部で、電源異常が発生\r\n\r\n"},
    {"qai read ch0", Panel::Qai, 1030, "Get_AdValue", 0,
     "Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qai8_Get_AdValue(RotSw, CH, AdVal[])\r\n　読み取り成功： 1\r\n\r\n"},
    {"qai read ch0..2", Panel::Qai, 1070, "Get_AdValue", 3,
     "Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qai8_Get_AdValue(RotSw, CH, AdVal[])\r\n　読み取り成功： 1 -1 0\r\n\r\n"},
    {"qai read ch0..7", Panel::Qai, 1095, "Get_AdValue", 0,
     "Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qai8_Get_AdValue(RotSw, CH, AdVal[])\r\n　読み取り成功： 1 -1 0 100 32767 -32768 255 10\r\n\r\n"},
    {"qai read -18", Panel::Qai, 1075, "Get_AdValue", -18,
     "Ａ／Ｄ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qai8_Get_AdValue(RotSw, CH, AdVal[])\r\n　読み取り失敗：-18： 本機ハードウェア内部で、データ読み込みに失敗\r\n\r\n"},
    // ---- shared buttons, qao_panel
    {"qao open ok", Panel::Qao, 1002, "OpenDriver", 0,
     "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qao4_OpenDriver()\r\n　オープン成功\r\n\r\n"},
    {"qao open -12", Panel::Qao, 1002, "OpenDriver", -12,
     "ＤＬＬオープン・・・\r\n　関数呼び出し：ret = Qao4_OpenDriver()\r\n　オープン失敗:-12： バスI/Fの制御関数:SETBITMODEの呼び出し失敗\r\n\r\n"},
    {"qao close ok", Panel::Qao, 1003, "CloseDriver", 0,
     "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qao4_CloseDriver()\r\n　クローズ成功\r\n\r\n"},
    {"qao close 7 is a failure", Panel::Qao, 1003, "CloseDriver", 7,
     "ＤＬＬクローズ・・・\r\n　関数呼び出し：ret = Qao4_CloseDriver()\r\n　クローズ失敗：7：未定義エラー\r\n\r\n"},
    {"qao libver ok", Panel::Qao, 1004, "Get_Libver", 0,
     "ＤＬＬバージョンの読み出し・・・\r\n　関数呼び出し：ret = Qao4_Get_Libver(Dll_Ver, Len(Dll_Ver))\r\n　読み出し成功：1.00\r\n\r\n"},
    {"qao libver -13", Panel::Qao, 1004, "Get_Libver", -13,
     "ＤＬＬバージョンの読み出し・・・\r\n　関数呼び出し：ret = Qao4_Get_Libver(Dll_Ver, Len(Dll_Ver))\r\n　読み出し失敗：-13： バスI/Fの制御関数:GETBITMODEの呼び出し失敗\r\n\r\n"},
    {"qao firmver ok", Panel::Qao, 1096, "Get_Firmver", 0,
     "ファームバージョン読み出し・・・\r\n　関数呼び出し：ret = Qao4_Get_Firmver(RotSw, F_Ver, Len(F_Ver))\r\n　読み出し成功：1.00\r\n\r\n"},
    {"qao firmver -22", Panel::Qao, 1096, "Get_Firmver", -22,
     "ファームバージョン読み出し・・・\r\n　関数呼び出し：ret = Qao4_Get_Firmver(RotSw, F_Ver, Len(F_Ver))\r\n　読み出し失敗：-22： ユニット番号の重複（同じユニット番号の本機が複数認識された）\r\n\r\n"},
    {"qao din on", Panel::Qao, 1010, "Get_Din", 1,
     "入力の読み取り・・・\r\n　関数呼び出し：ret = Qao4_Get_Din(RotSw)\r\n　読み取り成功：入力はON\r\n\r\n"},
    {"qao din -23", Panel::Qao, 1010, "Get_Din", -23,
     "入力の読み取り・・・\r\n　関数呼び出し：ret = Qao4_Get_Din(RotSw)\r\n　読み取り失敗：-23： 本機ハードウェア内部で、ステートが異常\r\n\r\n"},
    {"qao doutmon off", Panel::Qao, 1015, "Get_DoutMon", 0,
     "出力の読み取り・・・\r\n　関数呼び出し：ret = Qao4_Get_DoutMon(RotSw)\r\n　読み取り成功：出力はOFF\r\n\r\n"},
    {"qao doutmon -52", Panel::Qao, 1015, "Get_DoutMon", -52,
     "出力の読み取り・・・\r\n　関数呼び出し：ret = Qao4_Get_DoutMon(RotSw)\r\n　読み取り失敗：-52： 本機の電源が未軌道\r\n\r\n"},
    {"qao dout on", Panel::Qao, 1012, "Set_Dout", 0,
     "出力をONにする・・・\r\n　関数呼び出し：ret = Qao4_Set_Dout(RotSw, 1)\r\n　出力制御成功：ON\r\n\r\n"},
    {"qao dout on -53", Panel::Qao, 1012, "Set_Dout", -53,
     "出力をONにする・・・\r\n　関数呼び出し：ret = Qao4_Set_Dout(RotSw, 1)\r\n　出力制御失敗：-53： バスI/Fの制御関数:SETDTRの呼び出し失敗\r\n\r\n"},
    {"qao dout off", Panel::Qao, 1013, "Set_Dout", 0,
     "出力をOFFにする・・・\r\n　関数呼び出し：ret = Qao4_Set_Dout(RotSw, 0)\r\n　出力制御成功：OFF\r\n\r\n"},
    {"qao dout off -54", Panel::Qao, 1013, "Set_Dout", -54,
     "出力をOFFにする・・・\r\n　関数呼び出し：ret = Qao4_Set_Dout(RotSw, 0)\r\n　出力制御失敗：-54： バスI/Fの制御関数:SETRTSの呼び出し失敗\r\n\r\n"},
    // ---- D/A output and readback
    {"qao twos complement", Panel::Qao, 1020, "Set_DaCode", 0,
     "コード形式の選択・・・\r\n　関数呼び出し：ret = Qao4_Set_DaCode(RotSw, code)\r\n　選択成功：２の補数コード\r\n\r\n"},
    {"qao twos complement -41", Panel::Qao, 1020, "Set_DaCode", -41,
     "コード形式の選択・・・\r\n　関数呼び出し：ret = Qao4_Set_DaCode(RotSw, code)\r\n　選択失敗：-41： バスI/Fの制御関数:GETMODEMSTATUSの呼び出し失敗\r\n\r\n"},
    {"qao offset binary", Panel::Qao, 1021, "Set_DaCode", 0,
     "コード形式の選択・・・\r\n　関数呼び出し：ret = Qao4_Set_DaCode(RotSw, code)\r\n　選択成功：オフセットバイナリ\r\n\r\n"},
    {"qao offset binary -60", Panel::Qao, 1021, "Set_DaCode", -60,
     "コード形式の選択・・・\r\n　関数呼び出し：ret = Qao4_Set_DaCode(RotSw, code)\r\n　選択失敗：-60： 本機ハードウェア内部で、デフォルト値設定異常\r\n\r\n"},
    {"qao write ch0", Panel::Qao, 1030, "Set_DaValue", 0,
     "Ｄ／Ａ出力 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Set_DaValue(RotSw, CH, Da_Val[])\r\n　出力成功： 0 \r\n\r\n"},
    {"qao write ch0..3", Panel::Qao, 1075, "Set_DaValue", 4,
     "Ｄ／Ａ出力 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Set_DaValue(RotSw, CH, Da_Val[])\r\n　出力成功： 0  0  0  0 \r\n\r\n"},
    {"qao write -40", Panel::Qao, 1065, "Set_DaValue", -40,
     "Ｄ／Ａ出力 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Set_DaValue(RotSw, CH, Da_Val[])\r\n　出力失敗：-40： 入力されたパラメータ（引数）の不適切\r\n\r\n"},
    {"qao read ch0..1", Panel::Qao, 1085, "Get_DaValue", 0,
     "Ｄ／Ａ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Get_DaValue(RotSw, CH, DaVal)\r\n　読み取り成功： 100  -100 \r\n\r\n"},
    {"qao read ch0..3", Panel::Qao, 1095, "Get_DaValue", 0,
     "Ｄ／Ａ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Get_DaValue(RotSw, CH, DaVal)\r\n　読み取り成功： 100  -100  0  -1 \r\n\r\n"},
    {"qao read -21", Panel::Qao, 1080, "Get_DaValue", -21,
     "Ｄ／Ａ読み取り 複数ＣＨ・・・\r\n　関数呼び出し：ret = Qao4_Get_DaValue(RotSw, CH, DaVal)\r\n　読み取り失敗：-21： デバイスが見つからない（本機ユニットを認識できない）\r\n\r\n"},
};

std::unique_ptr<PanelHandlers> make_panel(Panel panel, FakePort& port) {
  std::unique_ptr<PanelHandlers> handlers;
  if (panel == Panel::Qai) {
    handlers = std::make_unique<QaiPanel>(port, kFakeQai8, [](const std::string&) {});
  } else {
    handlers = std::make_unique<QaoPanel>(port, kFakeQao4, [](const std::string&) {});
  }
  port.panel = handlers.get();
  handlers->start();
  return handlers;
}

TEST(OperationBlocks, EveryButtonSucceedingAndFailing) {
  for (const BlockCase& c : kBlocks) {
    fake() = {};
    const int16_t ad[8] = {1, -1, 0, 100, 0x7FFF, -32768, 255, 10};
    std::copy(ad, ad + 8, fake().ad);
    const int16_t da[4] = {100, -100, 0, -1};
    std::copy(da, da + 4, fake().da);
    fake().results[c.function] = c.result;

    FakePort port;
    auto panel = make_panel(c.panel, port);
    panel->command(c.id);

    EXPECT_EQ(port.text(ctl::kLog), c.block) << c.name;
    ASSERT_EQ(fake().calls.size(), 1u) << c.name << ": one library call per press";
    EXPECT_EQ(fake().calls[0].function, c.function) << c.name;
  }
}

}  // namespace
}  // namespace panels::testing
