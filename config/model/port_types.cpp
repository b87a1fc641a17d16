#include "model/port_types.h"

namespace lathwell {
namespace {

struct KindLayout {
  PortKind kind;
  MediaLayout layout;
};

// usedPort, protocol, speed, netDefinition, modemString, network, lineChecks, lineOptions
constexpr std::array<KindLayout, 5> kKindLayouts{{
    {PortKind::Serial, {true, true, false, false, false, false, true, true}},
    {PortKind::Rs485, {true, true, false, true, false, false, true, true}},
    {PortKind::Modem, {true, true, false, false, true, false, true, true}},
    {PortKind::Ethernet, {false, false, false, false, false, true, false, true}},
    {PortKind::Scale, {true, false, true, false, false, false, false, false}},
}};

}  // namespace

const PortTypeRow* FindPortType(std::string_view name) {
  for (const PortTypeRow& row : kPortTypes) {
    if (name == row.name) return &row;
  }
  return nullptr;
}

bool IsPortKind(std::string_view name, PortKind kind) {
  const PortTypeRow* row = FindPortType(name);
  return row != nullptr && row->kind == kind;
}

MediaLayout LayoutOf(PortKind kind) {
  for (const KindLayout& entry : kKindLayouts) {
    if (entry.kind == kind) return entry.layout;
  }
  return {};
}

MediaLayout UntypedLayout(MediaLayout current) {
  MediaLayout layout;
  layout.network = current.network;
  layout.lineChecks = current.lineChecks;
  layout.lineOptions = true;
  return layout;
}

std::string StoredEcrPortFallback(std::string_view typeName) {
  return typeName == port_types::kEthernetRt ? "12345" : "1470";
}

}  // namespace lathwell
