#include "model/port_form.h"

#include <algorithm>
#include <array>
#include <utility>

#include "interfaces/registry.h"
#include "model/form_lists.h"
#include "model/net_def.h"
#include "model/port_types.h"
#include "model/port_values.h"
#include "model/spooler_service.h"
#include "model/undoable_changes.h"

namespace lathwell {
namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;

constexpr const char* kNoNumber = "Inserire un numero nel campo 'Porta Logica'";
constexpr const char* kAlreadyExists = "La porta logica selezionata e' gia' esistente";
constexpr const char* kMissingPort = "Porta logica inesistente";
constexpr const char* kNothingToRemove = "La porta logica selezionata non esiste";
constexpr const char* kWriteFailed = "Impossibile scrivere nel registro: ";
constexpr const char* kNewPortDescription = "Dati porta logica ";

const char* Switch(bool on) {
  return on ? "1" : "0";
}

// The values only some kinds store; a port stores the ones of its kind and
// loses the others.
constexpr std::array<std::pair<const char*, PortKind>, 4> kKindValues{{
    {registry::kNetDef, PortKind::Rs485},
    {registry::kConfStrModem, PortKind::Modem},
    {registry::kEcrIp, PortKind::Ethernet},
    {registry::kEcrPortNumber, PortKind::Ethernet},
}};

}  // namespace

PortForm::PortForm(SettingsRegistry& registry, MessageSink& messages, ServiceRunner& services)
    : registry_(registry), messages_(messages), services_(services) {}

void PortForm::Start() {
  LoadSettings();
  SelectFirstPort();
  ShowPort();
}

void PortForm::ChangePortText(const std::string& text) {
  portText_ = text;
  if (!text.empty()) {
    const auto number = ParsePortNumber(text);
    if (!number) {
      messages_.ReportError(kNotNumericPort);
      return;
    }
    portText_ = std::to_string(*number);
  }
  ShowPort();
}

void PortForm::LoadSettings() {
  LoadSinglePortAutoRun();

  portList_.clear();
  if (!registry_.KeyExists(kMachine, registry::kPortsKey) &&
      Reported(registry::kPortsKey, registry_.CreateKey(kMachine, registry::kPortsKey))) {
    return;
  }
  // A subkey whose name is not a port number we store is not a port of ours.
  for (std::string& name : registry_.SubkeyNames(kMachine, registry::kPortsKey)) {
    const auto number = ParsePortNumber(name);
    if (number && IsStorablePort(*number)) portList_.push_back(std::move(name));
  }
  std::sort(portList_.begin(), portList_.end());

  fields_.chosenPortType = kPortTypes.front().name;
  fields_.chosenUsedPort = kFirstSerialPort;
  fields_.speed = kSpeeds.front();
}

void PortForm::SelectFirstPort() {
  portText_ = portList_.empty() ? std::string() : portList_.front();
}

std::string PortForm::PortKey() const {
  return registry::kPortsKeyPrefix + portText_;
}

bool PortForm::PortExists() {
  if (portText_.empty() || !registry_.KeyExists(kMachine, PortKey())) return false;
  lastOpenedKey_ = PortKey();
  return true;
}

void PortForm::ApplyLayoutOf(const std::string& portType) {
  const PortTypeRow* type = FindPortType(portType);
  layout_ = type != nullptr ? LayoutOf(type->kind) : UntypedLayout(layout_);
  KeepNetDefFitted();
}

void PortForm::ShowMissingPort() {
  fields_.description = kMissingPort;
  mediaCaption_ = kUndefinedMediaCaption;
  fields_.portType.clear();
  layout_.usedPort = false;
  layout_.protocol = false;
  layout_.netDefinition = false;
  layout_.modemString = false;
}

void PortForm::ShowPort() {
  if (!PortExists()) {
    ShowMissingPort();
    return;
  }
  const std::string key = PortKey();
  const auto read = [&](const char* name) { return registry_.ReadText(kMachine, key, name); };
  const auto isOn = [&](const char* name) { return read(name) == "1"; };

  fields_.description = read(registry::kPortDescription);
  fields_.portType = read(registry::kPortType);
  fields_.onLine = isOn(registry::kOnLine);
  fields_.dsrCheck = isOn(registry::kDsrCheck);
  fields_.ctsCheck = isOn(registry::kCtsCheck);
  fields_.extDisplayEcho = isOn(registry::kExtDisplayEcho);
  fields_.usedPort = read(registry::kSerialPort);
  fields_.speed = read(registry::kSpeed);
  fields_.ecrProt = read(registry::kEcrProt);
  if (fields_.ecrProt == "0") fields_.ecrProt = registry::kDefaultEcrProt;

  const PortTypeRow* type = FindPortType(fields_.portType);
  mediaCaption_ = type != nullptr ? type->mediaCaption : kUndefinedMediaCaption;
  ApplyLayoutOf(fields_.portType);
  const auto isKind = [&](PortKind kind) { return IsPortKind(fields_.portType, kind); };
  if (isKind(PortKind::Rs485)) fields_.netDef = read(registry::kNetDef);
  if (isKind(PortKind::Modem)) fields_.netDef = read(registry::kConfStrModem);
  KeepNetDefFitted();
  if (isKind(PortKind::Ethernet)) {
    fields_.ecrIp = read(registry::kEcrIp);
    fields_.ecrPortNumber = read(registry::kEcrPortNumber);
    if (WithoutBlanks(fields_.ecrPortNumber).empty()) {
      fields_.ecrPortNumber = StoredEcrPortFallback(fields_.portType);
      fields_.onLine = false;
    }
  }

  fields_.enableLog = read(registry::kLogLevel) != "0";
  fields_.logFile = LogFileFor(read(registry::kLogFileName), portText_);

  fields_.autoRunOnPort = isOn(registry::kEnableAutoRunOnPort);
  SetSpoolerAutoRun(registry_.ReadText(kMachine, registry::kDriverKey, registry::kEnableSpoolerAutoRun) == "1");
  installationDir_ = registry_.ReadText(kMachine, registry::kDriverKey, registry::kInstallationDir);
  fields_.spoolerCommandFile = read(registry::kAutoRunCommandFile);
  if (autoRun_.spooler && fields_.spoolerCommandFile.empty()) {
    fields_.spoolerCommandFile = DefaultSpoolerPattern(installationDir_, portText_);
    fields_.autoRunOnPort = true;
  }
}

void PortForm::Add() {
  if (portText_.empty()) {
    messages_.Inform(kNoNumber);
    return;
  }
  if (PortExists()) {
    messages_.Inform(kAlreadyExists);
    return;
  }
  state_ = FormState::Edit;
  fields_.description = kNewPortDescription + portText_;
  fields_.spoolerCommandFile.clear();
  fields_.onLine = true;
  fields_.dsrCheck = false;
  fields_.ctsCheck = false;
  fields_.enableLog = true;
  fields_.logFile = LogFileFor("", portText_);
  ChangePortType();
}

void PortForm::ChangePortType() {
  fields_.usedPort.clear();
  fields_.ecrProt = registry::kDefaultEcrProt;
  const PortTypeRow* type = FindPortType(fields_.chosenPortType);
  mediaCaption_ = type != nullptr ? type->mediaCaption : kUndefinedMediaCaption;
  ApplyLayoutOf(fields_.chosenPortType);
  if (type == nullptr) return;
  if (type->kind == PortKind::Rs485) fields_.netDef = FittedNetDef("");
  if (type->kind == PortKind::Ethernet) {
    fields_.ecrIp = lastOpenedKey_.empty() ? std::string()
                                           : registry_.ReadText(kMachine, lastOpenedKey_, registry::kEcrIp);
    fields_.ecrPortNumber = type->defaultEcrPort;
    fields_.onLine = false;
  }
}

void PortForm::Modify() {
  if (!PortExists()) {
    messages_.Inform(kMissingPort);
    fields_.portType.clear();
    return;
  }
  state_ = FormState::Edit;
  fields_.chosenPortType = fields_.portType;
  fields_.chosenUsedPort = fields_.usedPort;
  ApplyLayoutOf(fields_.portType);
}

void PortForm::Cancel() {
  state_ = FormState::Browse;
  ApplyLayoutOf(fields_.portType);
}

void PortForm::Ok() {
  const auto number = ParsePortNumber(portText_);
  if (!number) {
    messages_.ReportError(kNotNumericPort);
    return;
  }
  if (IsStorablePort(*number)) {
    if (!NetworkFieldsValid() || !Store(std::to_string(*number))) return;
    UpdateSpoolerService(*number);
    LoadSettings();
    SelectFirstPort();
    if (!portList_.empty()) portText_ = portList_.back();
    ShowPort();
  }
  Cancel();
}

// A protocol library could open neither a mistyped address nor a pasted port.
bool PortForm::NetworkFieldsValid() {
  if (!IsPortKind(fields_.chosenPortType, PortKind::Ethernet)) return true;
  const char* error = !IsIpAddress(fields_.ecrIp)            ? kNotAnIpAddress
                      : !ParseTcpPort(fields_.ecrPortNumber) ? kNotATcpPort
                                                             : nullptr;
  if (error != nullptr) messages_.ReportError(error);
  return error == nullptr;
}

void PortForm::UpdateSpoolerService(int port) {
  if (!autoRun_.spooler || !fields_.autoRunOnPort) {
    RemoveSpoolerService(services_, port);
    return;
  }
  const std::string installationDir =
      registry_.ReadText(kMachine, registry::kDriverKey, registry::kInstallationDir);
  if (const auto failure = InstallSpoolerService(services_, registry_, installationDir, port)) {
    messages_.ReportError(*failure);
  }
}

bool PortForm::AddressBoxEnabled() const {
  const PortTypeRow* rs485 = FindPortType(port_types::kRs485);
  return state_ == FormState::Edit && mediaCaption_ == rs485->mediaCaption;
}

void PortForm::ChangeNetDef(const std::string& text) {
  fields_.netDef = text;
  KeepNetDefFitted();
}

// A modem string shares the field and is left as typed.
void PortForm::KeepNetDefFitted() {
  if (layout_.netDefinition) fields_.netDef = FittedNetDef(fields_.netDef);
}

void PortForm::ToggleAddress(std::size_t position) {
  if (AddressBoxEnabled()) fields_.netDef = ToggledAddress(fields_.netDef, position);
}

bool PortForm::Reported(const std::string& key, const RegistryFailure& failure) {
  if (failure) messages_.ReportError(kWriteFailed + key + " (" + *failure + ")");
  return failure.has_value();
}

bool PortForm::Store(const std::string& portNumber) {
  if (fields_.ecrProt == "0") fields_.ecrProt = registry::kDefaultEcrProt;
  fields_.logFile = LogFileFor(fields_.logFile, portNumber);
  const std::string portKey = registry::kPortsKeyPrefix + portNumber;

  struct Write {
    const std::string& key;
    const char* name;
    std::string text;
  };
  const std::string settingsKey = registry::kDriverKey;
  std::vector<Write> writes{
      {portKey, registry::kPortDescription, fields_.description},
      {portKey, registry::kPortType, fields_.chosenPortType},
      {portKey, registry::kLogFileName, fields_.logFile},
      {portKey, registry::kLogLevel, Switch(fields_.enableLog)},
      {portKey, registry::kAutoRunCommandFile, fields_.spoolerCommandFile},
      {portKey, registry::kEnableAutoRunOnPort, Switch(fields_.autoRunOnPort)},
      {settingsKey, registry::kEnableSpoolerAutoRun, Switch(autoRun_.spooler)},
      {portKey, registry::kOnLine, Switch(fields_.onLine)},
      {portKey, registry::kDsrCheck, Switch(fields_.dsrCheck)},
      {portKey, registry::kCtsCheck, Switch(fields_.ctsCheck)},
      {portKey, registry::kExtDisplayEcho, Switch(fields_.extDisplayEcho)},
      {portKey, registry::kSpeed, fields_.speed},
      {portKey, registry::kSerialPort, fields_.chosenUsedPort},
      {portKey, registry::kEcrProt, fields_.ecrProt},
  };
  const auto isKind = [&](PortKind kind) { return IsPortKind(fields_.chosenPortType, kind); };
  if (isKind(PortKind::Rs485)) writes.push_back({portKey, registry::kNetDef, fields_.netDef});
  if (isKind(PortKind::Modem)) writes.push_back({portKey, registry::kConfStrModem, fields_.netDef});
  if (isKind(PortKind::Ethernet)) {
    writes.push_back({portKey, registry::kEcrIp, WithoutBlanks(fields_.ecrIp)});
    writes.push_back({portKey, registry::kEcrPortNumber, WithoutBlanks(fields_.ecrPortNumber)});
  }

  // The key is written in place: values and subkeys of other programs
  // (Ravelin's DeviceType among them) stay. A refused change takes back the
  // ones before it, so the port keeps its old type and values whole.
  UndoableChanges changes(registry_, kMachine);
  const auto refused = [&](const std::string& key, const RegistryFailure& failure) {
    if (failure) changes.Undo();
    return Reported(key, failure);
  };
  if (refused(settingsKey, changes.CreateKey(settingsKey))) return false;
  if (refused(portKey, changes.CreateKey(portKey))) return false;
  for (const Write& write : writes) {
    if (refused(write.key, changes.WriteText(write.key, write.name, write.text))) return false;
  }
  for (const auto& [name, valueKind] : kKindValues) {
    if (!isKind(valueKind) && refused(portKey, changes.DeleteValue(portKey, name))) return false;
  }
  return true;
}

void PortForm::Remove() {
  if (!PortExists()) {
    messages_.Inform(kNothingToRemove);
    return;
  }
  if (!messages_.Confirm("Sei sicuro di voler rimuovere la porta logica " + portText_ + " ?")) return;
  const std::string key = PortKey();
  if (Reported(key, registry_.DeleteKeyTree(kMachine, key))) return;
  if (const auto number = ParsePortNumber(portText_)) RemoveSpoolerService(services_, *number);
  LoadSettings();
  SelectFirstPort();
  ShowPort();
}

}  // namespace lathwell
