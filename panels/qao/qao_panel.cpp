#include "qao_panel.h"

#include "panel_text.h"

namespace panels {
namespace qao {

// Per row: its hexadecimal and decimal boxes, then its button.
const Row kOutputRows[kChannels] = {
    /* output 0 */ {1026, 1027, 1030},
    /* output 1 */ {1061, 1062, 1065},
    /* output 2 */ {1066, 1067, 1070},
    /* output 3 */ {1071, 1072, 1075},
};
const Row kReadbackRows[kChannels] = {
    /* readback 0 */ {1076, 1077, 1080},
    /* readback 1 */ {1081, 1082, 1085},
    /* readback 2 */ {1086, 1087, 1090},
    /* readback 3 */ {1091, 1092, 1095},
};

int16_t da_code(std::string_view text) {
  const auto bits = static_cast<uint16_t>(static_cast<uint32_t>(parse_leading_int(text)));
  return static_cast<int16_t>(bits);
}

std::string hex_of_decimal(std::string_view text) { return upper_hex(static_cast<uint16_t>(da_code(text))); }

}  // namespace qao

namespace {

// clang-format off
//                             id                    header                           call                                success                           failure prefix
constexpr Operation kTwosOp   {ctl::kTwosComplement, "コード形式の選択・・・",        "Set_DaCode(RotSw, code)",          "　選択成功：２の補数コード",     "　選択失敗："};
constexpr Operation kOffsetOp {ctl::kOffsetBinary,   "コード形式の選択・・・",        "Set_DaCode(RotSw, code)",          "　選択成功：オフセットバイナリ", "　選択失敗："};
constexpr Operation kWriteOp  {0,                    "Ｄ／Ａ出力 複数ＣＨ・・・",     "Set_DaValue(RotSw, CH, Da_Val[])", "　出力成功：",                   "　出力失敗："};
constexpr Operation kReadOp   {0,                    "Ｄ／Ａ読み取り 複数ＣＨ・・・", "Get_DaValue(RotSw, CH, DaVal)",    "　読み取り成功：",               "　読み取り失敗："};
// clang-format on

// Each value framed by single spaces (" %d ").
std::string framed_values(const int16_t* values, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += ' ';
    text += decimal(values[i]);
    text += ' ';
  }
  return text;
}

int channel_count(int32_t n) { return n < 0 ? 0 : (n > qao::kChannels ? qao::kChannels : static_cast<int>(n)); }

}  // namespace

QaoPanel::QaoPanel(DialogPort& port, const Qao4Library& library, HelpOpener opener)
    : port_(port), library_(library), frame_(port, library.unit, kQaoHelpFiles, std::move(opener)) {}

void QaoPanel::start() {
  port_.set_text(ctl::kFirmverBox, UnitPanel::kUnknownVersion);
  port_.set_text(ctl::kRotSw, "0");
  port_.set_text(ctl::kLibverBox, UnitPanel::kUnknownVersion);
  for (const qao::Row& row : qao::kOutputRows) port_.set_text(row.decimal_box, "0");
}

void QaoPanel::command(int id) {
  if (frame_.command(id)) return;
  if (id == ctl::kTwosComplement || id == ctl::kOffsetBinary) {
    select_code(id == ctl::kTwosComplement ? 0 : 1);
    return;
  }
  for (int n = 0; n < qao::kChannels; ++n) {
    if (qao::kOutputRows[n].button == id) return WriteDaChannels(n + 1);
    if (qao::kReadbackRows[n].button == id) return ReadDaChannels(n + 1);
  }
}

// UpdateHexBox: a decimal box's text changed, so its row's hexadecimal box
// shows the 16 bits it stands for.
void QaoPanel::edit_changed(int id) {
  for (const qao::Row* rows : {qao::kOutputRows, qao::kReadbackRows}) {
    for (int n = 0; n < qao::kChannels; ++n) {
      if (rows[n].decimal_box == id) {
        port_.set_text(rows[n].hex_box, qao::hex_of_decimal(port_.text(id)));
        return;
      }
    }
  }
}

// The panel keeps no code format: the outcome only goes into the log.
void QaoPanel::select_code(int32_t code) {
  const int32_t rotsw = frame_.read_rotsw();
  OperationBlock block(code == 0 ? kTwosOp : kOffsetOp, library_.unit.prefix);
  const int32_t ret = library_.Set_DaCode(rotsw, code);
  if (ret >= 0)
    block.succeeded();
  else
    block.failed(ret);
  frame_.log().append(block.text());
}

// All four output boxes are converted, whatever n is; the call sends n.
void QaoPanel::WriteDaChannels(int32_t n) {
  std::string texts[qao::kChannels];
  for (int i = 0; i < qao::kChannels; ++i) texts[i] = port_.text(qao::kOutputRows[i].decimal_box);
  const int32_t rotsw = frame_.read_rotsw();
  int16_t da_val[qao::kChannels];
  for (int i = 0; i < qao::kChannels; ++i) da_val[i] = qao::da_code(texts[i]);
  OperationBlock block(kWriteOp, library_.unit.prefix);
  const int32_t ret = library_.Set_DaValue(rotsw, n, da_val);
  if (ret >= 0)
    block.succeeded(framed_values(da_val, channel_count(n)));
  else
    block.failed(ret);
  frame_.log().append(block.text());
}

// Only a successful readback fills the readback rows 0 … n-1.
void QaoPanel::ReadDaChannels(int32_t n) {
  const int32_t rotsw = frame_.read_rotsw();
  OperationBlock block(kReadOp, library_.unit.prefix);
  int16_t da_val[qao::kChannels] = {};
  const int32_t ret = library_.Get_DaValue(rotsw, n, da_val);
  const int count = channel_count(n);
  if (ret >= 0)
    block.succeeded(framed_values(da_val, count));
  else
    block.failed(ret);
  frame_.log().append(block.text());
  if (ret < 0) return;
  for (int i = 0; i < count; ++i) port_.set_text(qao::kReadbackRows[i].decimal_box, decimal(da_val[i]));
}

}  // namespace panels
