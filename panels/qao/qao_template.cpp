// qao_panel's dialog template 102 and help files.
#include "qao_panel.h"

namespace panels {
namespace {

using K = Kind;

// Tab order is table order; the output rows and then the readback rows
// stand where the row table goes.
// clang-format off
constexpr Control kControls[] = {
    // id     kind           text                                           x    y    w    h   style
    {kNoId, K::GroupBox,   "DLL使用開始終了（オープン／クローズ）",         5,  20, 185,  70, kNoStyle},
    {kNoId, K::GroupBox,   "ロータリースイッチ番号",                        5,  96, 185,  29, kNoStyle},
    {1002,  K::PushButton, "DLLオープン",                                  10,  36,  50,  14, kNoStyle},
    {1003,  K::PushButton, "DLLクローズ",                                  10,  56,  50,  14, kNoStyle},
    {1004,  K::PushButton, "DLLバージョンの読み出し",                      65,  36,  95,  14, kNoStyle},
    {1005,  K::Edit,       "",                                            105,  56,  80,  12, kNoStyle},
    {kNoId, K::Static,     "DLL Version:",                                 65,  58,  40,  10, kNoStyle},
    {1007,  K::Edit,       "",                                             11, 108,  80,  12, kNoStyle},
    {1009,  K::LogEdit,    "",                                              5, 277, 455,  85, kNoStyle},
    {kNoId, K::GroupBox,   "I/Oの読み取り・制御(ON/OFF)",                   5, 193, 186,  80, kNoStyle},
    {1010,  K::PushButton, "入力読取",                                     10, 225,  84,  14, kNoStyle},
    {1012,  K::PushButton, "ON",                                          100, 223,  40,  14, kNoStyle},
    {1013,  K::PushButton, "OFF",                                         145, 223,  41,  14, kNoStyle},
    {1015,  K::PushButton, "出力読取",                                    100, 243,  86,  14, kNoStyle},
    {1014,  K::Indicator,  "",                                             10, 205,  84,  15, kNoStyle},
    {1017,  K::Indicator,  "",                                             99, 205,  86,  15, kNoStyle},
    {kNoId, K::GroupBox,   "D/A出力の準備",                               195,  20, 265,  60, kNoStyle},
    {kNoId, K::GroupBox,   "D/A 出力実行",                                195,  86, 265, 170, kNoStyle},
    {kNoId, K::GroupBox,   "コード形式 選択",                             205,  36, 245,  35, kNoStyle},
    {1020,  K::Radio,      "2の補数コード",                               215,  50,  57,  10, kGroupStart},
    {1021,  K::Radio,      "オフセットバイナリ",                          340,  50,  68,  10, kNoStyle},
    // output rows: hexadecimal (read-only), decimal, button
    {1026,  K::Edit,       "",                                            210, 116,  40,  12, kReadOnly},
    {1027,  K::Edit,       "",                                            305, 116,  65,  12, kNoStyle},
    {1030,  K::PushButton, "～CH0",                                       380, 116,  70,  14, kNoStyle},
    {1061,  K::Edit,       "",                                            210, 132,  40,  12, kReadOnly},
    {1062,  K::Edit,       "",                                            305, 132,  65,  12, kNoStyle},
    {1065,  K::PushButton, "～CH1",                                       380, 130,  70,  14, kNoStyle},
    {1066,  K::Edit,       "",                                            210, 146,  40,  12, kReadOnly},
    {1067,  K::Edit,       "",                                            305, 146,  65,  12, kNoStyle},
    {1070,  K::PushButton, "～CH2",                                       380, 144,  70,  14, kNoStyle},
    {1071,  K::Edit,       "",                                            210, 162,  40,  12, kReadOnly},
    {1072,  K::Edit,       "",                                            305, 162,  65,  12, kNoStyle},
    {1075,  K::PushButton, "～CH3",                                       380, 158,  70,  14, kNoStyle},
    // readback rows: hexadecimal, decimal, button
    {1076,  K::Edit,       "",                                            210, 190,  40,  12, kNoStyle},
    {1077,  K::Edit,       "",                                            305, 190,  65,  12, kNoStyle},
    {1080,  K::PushButton, "～CH0",                                       380, 190,  70,  14, kNoStyle},
    {1081,  K::Edit,       "",                                            210, 206,  40,  12, kNoStyle},
    {1082,  K::Edit,       "",                                            305, 206,  65,  12, kNoStyle},
    {1085,  K::PushButton, "～CH1",                                       380, 204,  70,  14, kNoStyle},
    {1086,  K::Edit,       "",                                            210, 220,  40,  12, kNoStyle},
    {1087,  K::Edit,       "",                                            305, 220,  65,  12, kNoStyle},
    {1090,  K::PushButton, "～CH2",                                       380, 218,  70,  14, kNoStyle},
    {1091,  K::Edit,       "",                                            210, 236,  40,  12, kNoStyle},
    {1092,  K::Edit,       "",                                            305, 236,  65,  12, kNoStyle},
    {1095,  K::PushButton, "～CH3",                                       380, 232,  70,  14, kNoStyle},
    {kNoId, K::Static,     "16進数",                                      210, 106,  25,  10, kNoStyle},
    {kNoId, K::Static,     "10進数",                                      305, 106,  25,  10, kNoStyle},
    {kNoId, K::Static,     "------------------- D/A 出力値 -------------------", 205, 96, 175, 10, kNoStyle},
    {kNoId, K::GroupBox,   "ファームウェアのバージョンを確認する",          5, 129, 186,  60, kNoStyle},
    {1096,  K::PushButton, "バージョンの読み出し",                        110, 163,  75,  14, kNoStyle},
    {1097,  K::Edit,       "",                                             10, 165,  96,  12, kNoStyle},
    {kNoId, K::Static,     "Firm Version",                                 40, 153,  40,  10, kNoStyle},
    {kNoId, K::Static,     "--- D/A 出力操作 ---",                        380,  96,  70,  10, kNoStyle},
    {kNoId, K::Static,     "------------------- D/A 出力値 -------------------", 200, 180, 175, 10, kNoStyle},
    {kNoId, K::Static,     "--- D/A 読取操作 ---",                        380, 180,  70,  10, kNoStyle},
};
// clang-format on

}  // namespace

// clang-format off
const DialogTemplate kQaoTemplate = {
    "QAO調整用", 467, 367, "ＭＳ Ｐゴシック", 9,
    "qao_panel のﾊﾞｰｼﾞｮﾝ情報(&A)...",
    kControls, sizeof kControls / sizeof kControls[0],
};
// clang-format on

const HelpFiles kQaoHelpFiles = {"./QAI8_QAO4_Func.txt", "./QAI8_QAO4_ErrorCode.txt"};

}  // namespace panels
