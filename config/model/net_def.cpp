#include "model/net_def.h"

namespace lathwell {

std::string FittedNetDef(const std::string& text) {
  std::string fitted = text.substr(0, kAddressCount);
  fitted.resize(kAddressCount, '0');
  return fitted;
}

bool AddressInUse(const std::string& netDef, std::size_t position) {
  return position < netDef.size() && netDef[position] != '0';
}

std::string ToggledAddress(const std::string& netDef, std::size_t position) {
  std::string toggled = FittedNetDef(netDef);
  if (position < kAddressCount) toggled[position] = toggled[position] == '0' ? '1' : '0';
  return toggled;
}

}  // namespace lathwell
