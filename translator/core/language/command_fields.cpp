#include "language/command_fields.h"

namespace quadrel {
namespace {

CommandFieldSlots& SavedCommandFields() {
  static CommandFieldSlots saved;
  return saved;
}

}  // namespace

CommandFieldSlots& CommandFields() {
  static CommandFieldSlots fields;
  return fields;
}

void ClearCommandFields() {
  CommandFieldSlots& fields = CommandFields();
  for (int slot = 1; slot < kFieldSlotCount; ++slot) {
    fields.value[slot].clear();
    fields.quoted[slot] = false;
  }
}

void SaveCommandFields() {
  SavedCommandFields() = CommandFields();
}

void RestoreCommandFields() {
  CommandFields() = SavedCommandFields();
}

}  // namespace quadrel
