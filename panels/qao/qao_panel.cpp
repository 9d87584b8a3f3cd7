#include "qao_panel.h"

#include "panel_text.h"

namespace panels {
namespace qao {

//                            hex   decimal  button
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

int16_t DaCode(std::string_view text) {
    const auto bits = static_cast<uint16_t>(static_cast<uint32_t>(ParseLeadingInt(text)));
    return static_cast<int16_t>(bits);
}

std::string HexOfDecimal(std::string_view text) {
    return UpperHex(static_cast<uint16_t>(DaCode(text)));
}

}  // namespace qao

namespace {

// id                     header                          call                                   success                          failure prefix
constexpr Operation kTwosOp   {ctl::kTwosComplement, "コード形式の選択・・・",         "Set_DaCode(RotSw, code)",             "　選択成功：２の補数コード",     "　選択失敗："};
constexpr Operation kOffsetOp {ctl::kOffsetBinary,   "コード形式の選択・・・",         "Set_DaCode(RotSw, code)",             "　選択成功：オフセットバイナリ", "　選択失敗："};
constexpr Operation kWriteOp  {0,                    "Ｄ／Ａ出力 複数ＣＨ・・・",      "Set_DaValue(RotSw, CH, Da_Val[])",    "　出力成功：",                   "　出力失敗："};
constexpr Operation kReadOp   {0,                    "Ｄ／Ａ読み取り 複数ＣＨ・・・",  "Get_DaValue(RotSw, CH, DaVal)",       "　読み取り成功：",               "　読み取り失敗："};

// Each value framed by single spaces (" %d ").
std::string FramedValues(const int16_t* values, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += ' ';
        text += Decimal(values[i]);
        text += ' ';
    }
    return text;
}

int ChannelCount(int32_t n) { return n < 0 ? 0 : (n > qao::kChannels ? qao::kChannels : static_cast<int>(n)); }

}  // namespace

QaoPanel::QaoPanel(DialogPort& port, const Qao4Library& library, HelpOpener opener)
    : port_(port), library_(library), frame_(port, library.unit, kQaoHelpFiles, std::move(opener)) {}

void QaoPanel::Start() {
    port_.SetText(ctl::kFirmverBox, UnitPanel::kUnknownVersion);
    port_.SetText(ctl::kRotSw, "0");
    port_.SetText(ctl::kLibverBox, UnitPanel::kUnknownVersion);
    for (const qao::Row& row : qao::kOutputRows) port_.SetText(row.decimalBox, "0");
}

void QaoPanel::Command(int id) {
    if (frame_.Command(id)) return;
    if (id == ctl::kTwosComplement || id == ctl::kOffsetBinary) {
        SelectCode(id == ctl::kTwosComplement ? 0 : 1);
        return;
    }
    for (int n = 0; n < qao::kChannels; ++n) {
        if (qao::kOutputRows[n].button == id) return WriteDaChannels(n + 1);
        if (qao::kReadbackRows[n].button == id) return ReadDaChannels(n + 1);
    }
}

// UpdateHexBox: a decimal box's text changed, so its row's hexadecimal box
// shows the 16 bits it stands for.
void QaoPanel::EditChanged(int id) {
    for (const qao::Row* rows : {qao::kOutputRows, qao::kReadbackRows}) {
        for (int n = 0; n < qao::kChannels; ++n) {
            if (rows[n].decimalBox == id) {
                port_.SetText(rows[n].hexBox, qao::HexOfDecimal(port_.Text(id)));
                return;
            }
        }
    }
}

// The panel keeps no code format: the outcome only goes into the log.
void QaoPanel::SelectCode(int32_t code) {
    const int32_t rotSw = frame_.RotSw();
    OperationBlock block(code == 0 ? kTwosOp : kOffsetOp, library_.unit.prefix);
    const int32_t ret = library_.Set_DaCode(rotSw, code);
    if (ret >= 0) block.Succeeded(); else block.Failed(ret);
    frame_.Log().Append(block.Text());
}

// All four output boxes are converted, whatever n is; the call sends n.
void QaoPanel::WriteDaChannels(int32_t n) {
    std::string texts[qao::kChannels];
    for (int i = 0; i < qao::kChannels; ++i) texts[i] = port_.Text(qao::kOutputRows[i].decimalBox);
    const int32_t rotSw = frame_.RotSw();
    int16_t daVal[qao::kChannels];
    for (int i = 0; i < qao::kChannels; ++i) daVal[i] = qao::DaCode(texts[i]);
    OperationBlock block(kWriteOp, library_.unit.prefix);
    const int32_t ret = library_.Set_DaValue(rotSw, n, daVal);
    if (ret >= 0) block.Succeeded(FramedValues(daVal, ChannelCount(n))); else block.Failed(ret);
    frame_.Log().Append(block.Text());
}

// Only a successful readback fills the readback rows 0 … n-1.
void QaoPanel::ReadDaChannels(int32_t n) {
    const int32_t rotSw = frame_.RotSw();
    OperationBlock block(kReadOp, library_.unit.prefix);
    int16_t daVal[qao::kChannels] = {};
    const int32_t ret = library_.Get_DaValue(rotSw, n, daVal);
    const int count = ChannelCount(n);
    if (ret >= 0) block.Succeeded(FramedValues(daVal, count)); else block.Failed(ret);
    frame_.Log().Append(block.Text());
    if (ret < 0) return;
    for (int i = 0; i < count; ++i) port_.SetText(qao::kReadbackRows[i].decimalBox, Decimal(daVal[i]));
}

}  // namespace panels
