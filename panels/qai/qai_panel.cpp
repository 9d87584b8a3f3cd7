#include "qai_panel.h"

#include <charconv>

#include "panel_text.h"

namespace panels {
namespace qai {

//  channel  hex   decimal  mV    button
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

ChannelTexts FormatChannel(int16_t code, int32_t codeFormat, float lsbMicrovolts) {
    // Offset binary counts the 16 bits unsigned and puts zero volts at 0x8000.
    const int32_t value = codeFormat == 1 ? int32_t{static_cast<uint16_t>(code)} : int32_t{code};
    const double w = lsbMicrovolts;
    const double d = codeFormat == 1 ? w * 32768.0 : 0.0;
    const double k = 0.001f;  // the single-precision constant, widened
    const float mv = static_cast<float>((value * w - d) * k);

    ChannelTexts texts;
    texts.decimal = Decimal(value);
    texts.hex = UpperHex(static_cast<uint32_t>(value));
    if (texts.hex.size() > 4) texts.hex.erase(0, texts.hex.size() - 4);
    char digits[64];
    const auto r = std::to_chars(digits, digits + sizeof digits, double{mv}, std::chars_format::fixed, 6);
    texts.millivolts.assign(digits, r.ptr);
    return texts;
}

}  // namespace qai

namespace {

// id                    header                          call                               success                          failure prefix
constexpr Operation kTwosOp   {ctl::kTwosComplement, "コード形式の選択・・・",       "Set_AdCode(RotSw, code)",         "　選択成功：２の補数コード",     "　選択失敗："};
constexpr Operation kOffsetOp {ctl::kOffsetBinary,   "コード形式の選択・・・",       "Set_AdCode(RotSw, code)",         "　選択成功：オフセットバイナリ", "　選択失敗："};
constexpr Operation kSpeedOp  {qai::kScanSpeedSet,   "入力スキャン速度の設定・・・", "Set_ScanSpeed(RotSw, speed)",     "　設定成功:",                    "　設定失敗:"};
constexpr Operation kAveOp    {qai::kAveNumSet,      "平均数の設定・・・",           "Set_MultiScan(RotSw, AveNum)",    "　設定成功:",                    "　設定失敗:"};
constexpr Operation kReadOp   {0,                    "Ａ／Ｄ読み取り 複数ＣＨ・・・", "Get_AdValue(RotSw, CH, AdVal[])", "　読み取り成功：",               "　読み取り失敗："};

}  // namespace

QaiPanel::QaiPanel(DialogPort& port, const Qai8Library& library, HelpOpener opener)
    : port_(port), library_(library), frame_(port, library.unit, kQaiHelpFiles, std::move(opener)) {}

void QaiPanel::Start() {
    codeFormat_ = 0;
    lsbMicrovolts_ = 312.5f;
    tickCount_ = 0;
    port_.SetText(ctl::kLibverBox, UnitPanel::kUnknownVersion);
    port_.SetText(ctl::kFirmverBox, UnitPanel::kUnknownVersion);
    port_.SetText(ctl::kRotSw, "0");
    port_.SetText(qai::kScanSpeedBox, "1");
    port_.SetText(qai::kAveNumBox, "1");
}

void QaiPanel::Command(int id) {
    if (frame_.Command(id)) return;
    switch (id) {
    case ctl::kTwosComplement: SelectCode(0); return;
    case ctl::kOffsetBinary: SelectCode(1); return;
    case qai::kScanSpeedSet:
    case qai::kAveNumSet: SetScanning(id); return;
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
void QaiPanel::SelectCode(int32_t code) {
    const int32_t rotSw = frame_.RotSw();
    OperationBlock block(code == 0 ? kTwosOp : kOffsetOp, library_.unit.prefix);
    const int32_t ret = library_.Set_AdCode(rotSw, code);
    if (ret >= 0) {
        codeFormat_ = code;
        block.Succeeded();
    } else {
        block.Failed(ret);
    }
    frame_.Log().Append(block.Text());
}

// The success line repeats the box text as typed, not the number sent.
void QaiPanel::SetScanning(int id) {
    const bool speed = id == qai::kScanSpeedSet;
    const int32_t rotSw = frame_.RotSw();
    const std::string text = port_.Text(speed ? qai::kScanSpeedBox : qai::kAveNumBox);
    OperationBlock block(speed ? kSpeedOp : kAveOp, library_.unit.prefix);
    const int32_t value = ParseLeadingInt(text);
    const int32_t ret = speed ? library_.Set_ScanSpeed(rotSw, value) : library_.Set_MultiScan(rotSw, value);
    if (ret >= 0) block.Succeeded(text); else block.Failed(ret);
    frame_.Log().Append(block.Text());
}

// Reads channels 0 … n-1. The boxes are filled only from a successful read;
// after a failure they keep their texts.
void QaiPanel::ReadAdChannels(int32_t n) {
    const int32_t rotSw = frame_.RotSw();
    OperationBlock block(kReadOp, library_.unit.prefix);
    int16_t adVal[qai::kChannels] = {};
    const int32_t ret = library_.Get_AdValue(rotSw, n, adVal);
    if (ret < 0) {
        block.Failed(ret);
        frame_.Log().Append(block.Text());
        return;
    }
    const int count = n < qai::kChannels ? static_cast<int>(n) : qai::kChannels;
    qai::ChannelTexts texts[qai::kChannels];
    std::string values;
    for (int i = 0; i < count; ++i) {
        texts[i] = qai::FormatChannel(adVal[i], codeFormat_, lsbMicrovolts_);
        values += ' ';
        values += texts[i].decimal;
    }
    block.Succeeded(values);
    frame_.Log().Append(block.Text());
    for (int i = 0; i < count; ++i) port_.SetText(qai::kChannelRows[i].decimalBox, texts[i].decimal);
    for (int i = 0; i < count; ++i) port_.SetText(qai::kChannelRows[i].hexBox, texts[i].hex);
    for (int i = 0; i < count; ++i) port_.SetText(qai::kChannelRows[i].millivoltBox, texts[i].millivolts);
}

// Every sixth tick in a row with the box ticked reads all eight channels.
void QaiPanel::Tick() {
    if (port_.IsChecked(ctl::kContinuous)) {
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
