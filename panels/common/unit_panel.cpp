#include "unit_panel.h"

#include "panel_text.h"

namespace panels {
namespace {

// id      header                                  call                                         success                    failure prefix
constexpr Operation kOpenOp    {ctl::kOpen,     "ＤＬＬオープン・・・",             "OpenDriver()",                       "　オープン成功",       "　オープン失敗:"};
constexpr Operation kCloseOp   {ctl::kClose,    "ＤＬＬクローズ・・・",             "CloseDriver()",                      "　クローズ成功",       "　クローズ失敗："};
constexpr Operation kLibverOp  {ctl::kLibver,   "ＤＬＬバージョンの読み出し・・・", "Get_Libver(Dll_Ver, Len(Dll_Ver))", "　読み出し成功：",     "　読み出し失敗："};
constexpr Operation kFirmverOp {ctl::kFirmver,  "ファームバージョン読み出し・・・", "Get_Firmver(RotSw, F_Ver, Len(F_Ver))", "　読み出し成功：", "　読み出し失敗："};
constexpr Operation kDinOp     {ctl::kDinRead,  "入力の読み取り・・・",             "Get_Din(RotSw)",                     "　読み取り成功：入力は", "　読み取り失敗："};
constexpr Operation kDoutMonOp {ctl::kDoutRead, "出力の読み取り・・・",             "Get_DoutMon(RotSw)",                 "　読み取り成功：出力は", "　読み取り失敗："};
constexpr Operation kDoutOnOp  {ctl::kDoutOn,   "出力をONにする・・・",             "Set_Dout(RotSw, 1)",                 "　出力制御成功：ON",   "　出力制御失敗："};
constexpr Operation kDoutOffOp {ctl::kDoutOff,  "出力をOFFにする・・・",            "Set_Dout(RotSw, 0)",                 "　出力制御成功：OFF",  "　出力制御失敗："};

constexpr const char* kCallLine = "　関数呼び出し：ret = ";

}  // namespace

OperationBlock::OperationBlock(const Operation& op, std::string_view prefix) : op_(op) {
    text_.reserve(256);
    text_ += op.header;
    text_ += "\r\n";
    text_ += kCallLine;
    text_ += prefix;
    text_ += op.call;
    text_ += "\r\n";
}

void OperationBlock::Succeeded(std::string_view detail) {
    text_ += op_.success;
    text_ += detail;
    text_ += "\r\n";
}

void OperationBlock::Failed(int32_t ret) {
    text_ += op_.failure;
    text_ += ErrorText(ret);
    text_ += "\r\n";
}

UnitPanel::UnitPanel(DialogPort& port, const UnitLibrary& library, HelpFiles help, HelpOpener opener)
    : port_(port), library_(library), help_(help), opener_(std::move(opener)), log_(port, ctl::kLog) {}

int32_t UnitPanel::RotSw() const { return ParseLeadingInt(port_.Text(ctl::kRotSw)); }

int32_t UnitPanel::IndicatorState(int id) const {
    if (id == ctl::kInputLamp) return inputState_;
    if (id == ctl::kOutputLamp) return outputState_;
    return kNotRead;
}

bool UnitPanel::Command(int id) {
    switch (id) {
    case ctl::kFuncHelp: opener_(help_.functions); return true;
    case ctl::kErrorHelp: opener_(help_.errorCodes); return true;
    case ctl::kOpen: OpenOrClose(kOpenOp, library_.OpenDriver); return true;
    case ctl::kClose: OpenOrClose(kCloseOp, library_.CloseDriver); return true;
    case ctl::kLibver: Version(kLibverOp, ctl::kLibverBox, false); return true;
    case ctl::kFirmver: Version(kFirmverOp, ctl::kFirmverBox, true); return true;
    case ctl::kDinRead: ReadDigital(kDinOp, library_.Get_Din, inputState_); return true;
    case ctl::kDoutRead: ReadDigital(kDoutMonOp, library_.Get_DoutMon, outputState_); return true;
    case ctl::kDoutOn: SetOutput(kDoutOnOp, 1); return true;
    case ctl::kDoutOff: SetOutput(kDoutOffOp, 0); return true;
    default: return false;
    }
}

// Open and close succeed only with 0.
void UnitPanel::OpenOrClose(const Operation& op, int32_t (*call)()) {
    OperationBlock block(op, library_.prefix);
    const int32_t ret = call();
    if (ret == 0) block.Succeeded(); else block.Failed(ret);
    log_.Append(block.Text());
}

// Version reads succeed only with 0. The library may fill all 50 bytes
// without a NUL; the text then ends at the buffer's end.
void UnitPanel::Version(const Operation& op, int boxId, bool firmware) {
    const int32_t rotSw = firmware ? RotSw() : 0;
    OperationBlock block(op, library_.prefix);
    char buffer[kVersionBufferSize] = {};
    const int32_t ret = firmware ? library_.Get_Firmver(rotSw, buffer, kVersionBufferSize)
                                 : library_.Get_Libver(buffer, kVersionBufferSize);
    if (ret == 0) {
        const std::string version = BufferText(buffer, sizeof buffer);
        block.Succeeded(version);
        port_.SetText(boxId, version);
    } else {
        block.Failed(ret);
        port_.SetText(boxId, kUnknownVersion);
    }
    log_.Append(block.Text());
}

// Digital reads fail only with a negative result; positive means ON. The
// dialog repaints whatever the outcome, so the indicator shows its state.
void UnitPanel::ReadDigital(const Operation& op, int32_t (*call)(int32_t), int32_t& state) {
    const int32_t rotSw = RotSw();
    OperationBlock block(op, library_.prefix);
    const int32_t ret = call(rotSw);
    if (ret >= 0) {
        state = ret > 0 ? kOn : kOff;
        block.Succeeded(ret > 0 ? "ON" : "OFF");
    } else {
        block.Failed(ret);
    }
    port_.Repaint();
    log_.Append(block.Text());
}

// Switching the output leaves the output indicator alone: only a readback
// changes it.
void UnitPanel::SetOutput(const Operation& op, int32_t state) {
    const int32_t rotSw = RotSw();
    OperationBlock block(op, library_.prefix);
    const int32_t ret = library_.Set_Dout(rotSw, state);
    if (ret >= 0) block.Succeeded(); else block.Failed(ret);
    log_.Append(block.Text());
}

}  // namespace panels
