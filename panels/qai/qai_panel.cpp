#include "qai_panel.h"

#include <charconv>

#include "panel_text.h"

namespace panels {
namespace qai {

// Per channel: its hexadecimal, decimal and millivolt boxes, then its button.
const ChannelRow kChannelRows[kChannels] = {
    /* 0 */ {1026, 1027, 1028, 1030},
    /* 1 */ {1061, 1062, 1063, 1065},
    /* 2 */ {1066, 1067, 1068, 1070},
    /* 3 */ {1071, 1072, 1073, 1075},
    /* 4 */ {1076, 1077, 1078, 1080},
    /* 5 */ {1081, 1082, 1083, 1085},
    /* 6 */ {1086, 1087, 1088, 1090},
    /* 7 */ {1091, 1092, 1093, 1095},
};

ChannelTexts format_channel(int16_t code, int32_t code_format, float lsb_microvolts) {
  // Offset binary counts the 16 bits unsigned and puts zero volts at 0x8000.
  const int32_t value = code_format == 1 ? int32_t{static_cast<uint16_t>(code)} : int32_t{code};
  const double w = lsb_microvolts;
  const double d = code_format == 1 ? w * 32768.0 : 0.0;
  const double k = 0.001f;  // the single-precision constant, widened
  const float mv = static_cast<float>((value * w - d) * k);

  ChannelTexts texts;
  texts.decimal = decimal(value);
  texts.hex = upper_hex(static_cast<uint32_t>(value));
  if (texts.hex.size() > 4) texts.hex.erase(0, texts.hex.size() - 4);
  char digits[64];
  const auto r = std::to_chars(digits, digits + sizeof digits, double{mv}, std::chars_format::fixed, 6);
  texts.millivolts.assign(digits, r.ptr);
  return texts;
}

}  // namespace qai

namespace {

// clang-format off
//                             id                    header                           call                               success                           failure prefix
constexpr Operation kTwosOp   {ctl::kTwosComplement, "コード形式の選択・・・",        "Set_AdCode(RotSw, code)",         "　選択成功：２の補数コード",     "　選択失敗："};
constexpr Operation kOffsetOp {ctl::kOffsetBinary,   "コード形式の選択・・・",        "Set_AdCode(RotSw, code)",         "　選択成功：オフセットバイナリ", "　選択失敗："};
constexpr Operation kSpeedOp  {qai::kScanSpeedSet,   "入力スキャン速度の設定・・・",  "Set_ScanSpeed(RotSw, speed)",     "　設定成功:",                    "　設定失敗:"};
constexpr Operation kAveOp    {qai::kAveNumSet,      "平均数の設定・・・",            "Set_MultiScan(RotSw, AveNum)",    "　設定成功:",                    "　設定失敗:"};
constexpr Operation kReadOp   {0,                    "Ａ／Ｄ読み取り 複数ＣＨ・・・", "Get_AdValue(RotSw, CH, AdVal[])", "　読み取り成功：",               "　読み取り失敗："};
// clang-format on

}  // namespace

QaiPanel::QaiPanel(DialogPort& port, const Qai8Library& library, HelpOpener opener)
    : port_(port), library_(library), frame_(port, library.unit, kQaiHelpFiles, std::move(opener)) {}

void QaiPanel::start() {
  codeFormat_ = 0;
  lsbMicrovolts_ = 312.5f;
  tickCount_ = 0;
  port_.set_text(ctl::kLibverBox, UnitPanel::kUnknownVersion);
  port_.set_text(ctl::kFirmverBox, UnitPanel::kUnknownVersion);
  port_.set_text(ctl::kRotSw, "0");
  port_.set_text(qai::kScanSpeedBox, "1");
  port_.set_text(qai::kAveNumBox, "1");
}

void QaiPanel::command(int id) {
  if (frame_.command(id)) return;
  switch (id) {
    case ctl::kTwosComplement: select_code(0); return;
    case ctl::kOffsetBinary: select_code(1); return;
    case qai::kScanSpeedSet:
    case qai::kAveNumSet: set_scanning(id); return;
    default: break;
  }
  for (int n = 0; n < qai::kChannels; ++n) {
    if (qai::kChannelRows[n].button == id) {
      ReadAdChannels(n + 1);
      return;
    }
  }
}

// A failed selection keeps the old format, although the radio button shows
// the new one.
void QaiPanel::select_code(int32_t code) {
  const int32_t rotsw = frame_.read_rotsw();
  OperationBlock block(code == 0 ? kTwosOp : kOffsetOp, library_.unit.prefix);
  const int32_t ret = library_.Set_AdCode(rotsw, code);
  if (ret >= 0) {
    codeFormat_ = code;
    block.succeeded();
  } else {
    block.failed(ret);
  }
  frame_.log().append(block.text());
}

// The success line repeats the box text as typed, not the number sent.
void QaiPanel::set_scanning(int id) {
  const bool speed = id == qai::kScanSpeedSet;
  const int32_t rotsw = frame_.read_rotsw();
  const std::string text = port_.text(speed ? qai::kScanSpeedBox : qai::kAveNumBox);
  OperationBlock block(speed ? kSpeedOp : kAveOp, library_.unit.prefix);
  const int32_t value = parse_leading_int(text);
  const int32_t ret = speed ? library_.Set_ScanSpeed(rotsw, value) : library_.Set_MultiScan(rotsw, value);
  if (ret >= 0)
    block.succeeded(text);
  else
    block.failed(ret);
  frame_.log().append(block.text());
}

// Reads channels 0 … n-1. The boxes are filled only from a successful read;
// after a failure they keep their texts.
void QaiPanel::ReadAdChannels(int32_t n) {
  const int32_t rotsw = frame_.read_rotsw();
  OperationBlock block(kReadOp, library_.unit.prefix);
  int16_t ad_val[qai::kChannels] = {};
  const int32_t ret = library_.Get_AdValue(rotsw, n, ad_val);
  if (ret < 0) {
    block.failed(ret);
    frame_.log().append(block.text());
    return;
  }
  const int count = n < qai::kChannels ? static_cast<int>(n) : qai::kChannels;
  qai::ChannelTexts texts[qai::kChannels];
  std::string values;
  for (int i = 0; i < count; ++i) {
    texts[i] = qai::format_channel(ad_val[i], codeFormat_, lsbMicrovolts_);
    values += ' ';
    values += texts[i].decimal;
  }
  block.succeeded(values);
  frame_.log().append(block.text());
  for (int i = 0; i < count; ++i) port_.set_text(qai::kChannelRows[i].decimal_box, texts[i].decimal);
  for (int i = 0; i < count; ++i) port_.set_text(qai::kChannelRows[i].hex_box, texts[i].hex);
  for (int i = 0; i < count; ++i) port_.set_text(qai::kChannelRows[i].millivolt_box, texts[i].millivolts);
}

// Every sixth tick in a row with the box ticked reads all eight channels.
void QaiPanel::tick() {
  if (port_.is_checked(ctl::kContinuous)) {
    ++tickCount_;
  } else {
    tickCount_ = 0;
  }
  if (tickCount_ >= qai::kReadsEvery) {
    ReadAdChannels(qai::kChannels);
    tickCount_ = 0;
  }
}

}  // namespace panels
