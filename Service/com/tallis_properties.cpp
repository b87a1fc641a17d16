// The object's number and string properties; the translator's options among
// them live in the translator of the open port.
#include "com/tallis_interface_impl.h"

#include "translator_gate.h"

namespace ravelin {
namespace {

constexpr char kBadStringIndexText[] = "Pidx_Error";
constexpr std::size_t kCurrentDirBytes = 256;

bool TranslatorOptionOf(std::int32_t index, TTranslatorOption& option) {
  switch (index) {
    case Pidx_EnableTradDC: option = TTranslatorOption::EnableTradDC; return true;
    case Pidx_QuoteChar: option = TTranslatorOption::QuoteChar; return true;
    case Pidx_SeparatorChar: option = TTranslatorOption::SeparatorChar; return true;
    case Pidx_OutEditOptions: option = TTranslatorOption::OutEditOptions; return true;
    default: return false;
  }
}

}  // namespace

std::int32_t TTallisInterfaceImpl::GetPropertyNumber(std::int32_t index) {
  TTranslatorOption option;
  if (TranslatorOptionOf(index, option)) {
    // The options live in the translator, which is loaded with the port.
    if (!Connected()) {
      lastResult_ = SOR_NO_PORT;
      return SOR_BAD_INDEX;
    }
    const int value = port_.GetOption(option);
    return index == Pidx_EnableTradDC ? (value & 0xFF) : value;
  }
  switch (index) {
    case Pidx_EventMask: return Connected() ? port_.GetSlotEventMask(slot_) : 0;
    case Pidx_Version: return kObjectVersion;
    case Pidx_AsyncMode: return async_ ? 1 : 0;
    case Pidx_State: return clientState_;
    case Pidx_LastResult: return lastResult_;
    default: return SOR_BAD_INDEX;  // 10, 11 and anything outside 1..11
  }
}

void TTallisInterfaceImpl::SetPropertyNumber(std::int32_t index, std::int32_t number) {
  if (Busy()) {
    lastResult_ = SOR_BUSY;
    return;
  }
  TTranslatorOption option;
  if (TranslatorOptionOf(index, option)) {
    if (!Connected()) {
      lastResult_ = SOR_NO_PORT;
      return;
    }
    TTranslatorGate gate;
    if (!gate.Entered()) {
      lastResult_ = SOR_BUSY;
      return;
    }
    port_.SetOption(option, index == Pidx_EnableTradDC ? (number != 0) : number);
    return;
  }
  switch (index) {
    case Pidx_EventMask:
      if (!Connected()) {
        lastResult_ = SOR_NO_PORT;
        return;
      }
      wantsCommandComplete_ = (number & emCommandComplete) != 0;
      lastResult_ = port_.SetSlotEventMask(number & kAllEventMaskBits, slot_) ? SOR_OK
                                                                              : SOR_EVENT_TAKEN;
      return;
    case Pidx_AsyncMode:
      async_ = number != 0;
      lastResult_ = SOR_OK;
      return;
    case Pidx_LogicalPort:
      logicalPort_ = number;
      return;
    default:
      return;  // read-only, reserved or unknown
  }
}

std::string TTallisInterfaceImpl::GetPropertyString(std::int32_t index) {
  if (index == Pidx_Description) return kObjectDescription;
  if (index != Pidx_CurrentDir) return kBadStringIndexText;
  char buffer[kCurrentDirBytes];
  const DWORD length = GetCurrentDirectoryA(kCurrentDirBytes, buffer);
  if (length == 0 || length >= kCurrentDirBytes) {
    lastResult_ = SOR_DIR_ERROR;
    return {};
  }
  lastResult_ = SOR_OK;
  return std::string(buffer, length);
}

void TTallisInterfaceImpl::SetPropertyString(std::int32_t index, const std::string& text) {
  if (index != Pidx_CurrentDir) return;
  // The directory is the whole process's: AutoRun's and other clients'
  // batches resolve their file names against it. Only the connected client
  // may move it, and not while something runs in the translator.
  if (!Connected()) {
    lastResult_ = SOR_NO_PORT;
    return;
  }
  if (Busy() || TTranslatorGate::Held()) {
    lastResult_ = SOR_BUSY;
    return;
  }
  const bool fits = text.size() < kCurrentDirBytes && text.find('\0') == std::string::npos;
  lastResult_ = fits && SetCurrentDirectoryA(text.c_str()) ? SOR_OK : SOR_DIR_ERROR;
}

}  // namespace ravelin
