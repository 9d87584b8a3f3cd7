// qai_panel's dialog template 102 and help files.
#include "qai_panel.h"

namespace panels {
namespace {

using K = Kind;

// Tab order is table order.
// clang-format off
constexpr Control kControls[] = {
    // id     kind           text                                           x    y    w    h   style
    {kNoId, K::GroupBox,   "DLL使用開始終了（オープン／クローズ）",         5,  20, 185,  70, kNoStyle},
    {kNoId, K::GroupBox,   "ロータリースイッチ番号",                        5,  96, 185,  36, kNoStyle},
    {1002,  K::PushButton, "DLLオープン",                                  10,  36,  50,  14, kNoStyle},
    {1003,  K::PushButton, "DLLクローズ",                                  10,  56,  50,  14, kNoStyle},
    {1004,  K::PushButton, "DLLバージョンの読み出し",                      65,  36,  95,  14, kNoStyle},
    {1005,  K::Edit,       "",                                            105,  56,  80,  12, kNoStyle},
    {kNoId, K::Static,     "DLL Version:",                                 65,  58,  40,  10, kNoStyle},
    {1007,  K::Edit,       "",                                             12, 109,  80,  12, kNoStyle},
    {1009,  K::LogEdit,    "",                                            195, 260, 265,  85, kNoStyle},
    {kNoId, K::GroupBox,   "I/Oの読み取り・制御(ON/OFF)",                   5, 199, 186,  80, kNoStyle},
    {1010,  K::PushButton, "入力読取",                                     10, 231,  84,  14, kNoStyle},
    {1012,  K::PushButton, "ON",                                           99, 231,  40,  14, kNoStyle},
    {1013,  K::PushButton, "OFF",                                         145, 231,  41,  14, kNoStyle},
    {1015,  K::PushButton, "出力読取",                                    100, 249,  86,  14, kNoStyle},
    {1014,  K::Indicator,  "",                                             10, 211,  84,  15, kNoStyle},
    {1017,  K::Indicator,  "",                                             99, 211,  86,  15, kNoStyle},
    {kNoId, K::GroupBox,   "A/D読み取りの準備",                           195,  20, 265,  70, kNoStyle},
    {kNoId, K::GroupBox,   "A/D読み取り実行",                             195,  96, 265, 160, kNoStyle},
    {kNoId, K::GroupBox,   "コード形式 選択",                             205,  30, 130,  55, kNoStyle},
    {1020,  K::Radio,      "2の補数コード",                               211,  45,  57,  10, kGroupStart},
    {1021,  K::Radio,      "オフセットバイナリ",                          211,  65,  68,  10, kNoStyle},
    {kNoId, K::Static,     "入力スキャン速度",                            345,  40,  55,  10, kNoStyle},
    {kNoId, K::Static,     "平均数",                                      370,  66,  25,  10, kNoStyle},
    {1022,  K::PushButton, "設定",                                        430,  40,  25,  14, kNoStyle},
    {1023,  K::PushButton, "設定",                                        430,  66,  25,  14, kNoStyle},
    {1024,  K::Edit,       "",                                            400,  40,  25,  12, kNoStyle},
    {1025,  K::Edit,       "",                                            400,  66,  25,  12, kNoStyle},
    // channel rows: hexadecimal, decimal, millivolts, then the button
    {1026,  K::Edit,       "",                                            200, 130,  40,  12, kNoStyle},
    {1027,  K::Edit,       "",                                            245, 130,  65,  12, kNoStyle},
    {1028,  K::Edit,       "",                                            315, 130,  65,  12, kNoStyle},
    {1030,  K::PushButton, "～CH0",                                       385, 130,  70,  14, kNoStyle},
    {1061,  K::Edit,       "",                                            200, 146,  40,  12, kNoStyle},
    {1062,  K::Edit,       "",                                            245, 146,  65,  12, kNoStyle},
    {1063,  K::Edit,       "",                                            315, 146,  65,  12, kNoStyle},
    {1065,  K::PushButton, "～CH1",                                       385, 144,  70,  14, kNoStyle},
    {1066,  K::Edit,       "",                                            200, 160,  40,  12, kNoStyle},
    {1067,  K::Edit,       "",                                            245, 160,  65,  12, kNoStyle},
    {1068,  K::Edit,       "",                                            315, 160,  65,  12, kNoStyle},
    {1070,  K::PushButton, "～CH2",                                       385, 160,  70,  14, kNoStyle},
    {1071,  K::Edit,       "",                                            200, 176,  40,  12, kNoStyle},
    {1072,  K::Edit,       "",                                            245, 176,  65,  12, kNoStyle},
    {1073,  K::Edit,       "",                                            315, 176,  65,  12, kNoStyle},
    {1075,  K::PushButton, "～CH3",                                       385, 174,  70,  14, kNoStyle},
    {1076,  K::Edit,       "",                                            200, 190,  40,  12, kNoStyle},
    {1077,  K::Edit,       "",                                            245, 190,  65,  12, kNoStyle},
    {1078,  K::Edit,       "",                                            315, 190,  65,  12, kNoStyle},
    {1080,  K::PushButton, "～CH4",                                       385, 190,  70,  14, kNoStyle},
    {1081,  K::Edit,       "",                                            200, 206,  40,  12, kNoStyle},
    {1082,  K::Edit,       "",                                            245, 206,  65,  12, kNoStyle},
    {1083,  K::Edit,       "",                                            315, 206,  65,  12, kNoStyle},
    {1085,  K::PushButton, "～CH5",                                       385, 204,  70,  14, kNoStyle},
    {1086,  K::Edit,       "",                                            200, 220,  40,  12, kNoStyle},
    {1087,  K::Edit,       "",                                            245, 220,  65,  12, kNoStyle},
    {1088,  K::Edit,       "",                                            315, 220,  65,  12, kNoStyle},
    {1090,  K::PushButton, "～CH6",                                       385, 220,  70,  14, kNoStyle},
    {1091,  K::Edit,       "",                                            200, 236,  40,  12, kNoStyle},
    {1092,  K::Edit,       "",                                            245, 236,  65,  12, kNoStyle},
    {1093,  K::Edit,       "",                                            315, 236,  65,  12, kNoStyle},
    {1095,  K::PushButton, "～CH7",                                       385, 234,  70,  14, kNoStyle},
    {kNoId, K::Static,     "16進数",                                      200, 120,  25,  10, kNoStyle},
    {kNoId, K::Static,     "10進数",                                      245, 120,  25,  10, kNoStyle},
    {kNoId, K::Static,     "電圧換算値(mV)",                              315, 120,  65,  10, kNoStyle},
    {kNoId, K::Static,     "------------------ A/D 読み取り値 ------------------", 200, 110, 180, 10, kNoStyle},
    {kNoId, K::Static,     "---------------------------------",           340,  30, 115,  10, kNoStyle},
    {kNoId, K::Static,     "---------------------------------",           340,  56, 115,  10, kNoStyle},
    {kNoId, K::GroupBox,   "ファームウェアのバージョンを確認する",          5, 135, 186,  60, kNoStyle},
    {1096,  K::PushButton, "バージョンの読み出し",                        110, 169,  75,  14, kNoStyle},
    {1097,  K::Edit,       "",                                             10, 171,  96,  12, kNoStyle},
    {kNoId, K::Static,     "Firm Version",                                 40, 158,  40,  10, kNoStyle},
    {1006,  K::CheckBox,   "連続読み取り実行（調整用）",                   18, 309,  97,  10, kNoStyle},
    {kNoId, K::GroupBox,   "調整用",                                        5, 286, 186,  54, kNoStyle},
};
// clang-format on

}  // namespace

// clang-format off
const DialogTemplate kQaiTemplate = {
    "QAI調整用", 463, 347, "ＭＳ Ｐゴシック", 9,
    "qai_panel のﾊﾞｰｼﾞｮﾝ情報(&A)...",
    kControls, sizeof kControls / sizeof kControls[0],
};
// clang-format on

const HelpFiles kQaiHelpFiles = {"./QAI8_Func.txt", "./QAI8_ErrorCode.txt"};

}  // namespace panels
