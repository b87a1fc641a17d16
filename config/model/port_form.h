// The logical-port form without its window: the port list, one port shown at
// a time, and the browse and edit states with Add, Modify, OK, Cancel and
// Remove, the port's spooler service, the RS-485 address box and the two
// AutoRun modes. The window copies what the user edited into Fields() before
// it calls an action and shows the model's state after it.
#pragma once

#include <string>
#include <vector>

#include "model/message_sink.h"
#include "model/port_types.h"
#include "model/service_runner.h"
#include "model/settings_registry.h"

namespace lathwell {

enum class FormState { Browse, Edit };

// The port's fields as the form shows them.
struct PortFields {
  std::string description;
  std::string portType;        // the stored type, shown as text while browsing
  std::string chosenPortType;  // the type list of the edit state
  bool onLine = false;
  bool dsrCheck = false;
  bool ctsCheck = false;
  bool extDisplayEcho = false;
  std::string usedPort;        // the stored serial port, shown as text while browsing
  std::string chosenUsedPort;  // the serial-port list of the edit state
  std::string speed;
  std::string ecrProt;
  std::string netDef;  // the RS-485 address map or the modem string
  std::string ecrIp;
  std::string ecrPortNumber;
  bool enableLog = false;
  std::string logFile;
  bool autoRunOnPort = false;
  std::string spoolerCommandFile;
};

// The AutoRun check boxes and the single-port group. The group is shown while
// `singlePort` is on, the port's spooler fields while `spooler` is.
struct AutoRunFields {
  bool singlePort = false;
  std::string port;
  std::string commandFile;
  std::string errorsFile;
  bool updateEnabled = false;
  bool spooler = false;
};

class PortForm {
 public:
  PortForm(SettingsRegistry& registry, MessageSink& messages, ServiceRunner& services);

  const std::vector<std::string>& PortList() const { return portList_; }
  const std::string& PortText() const { return portText_; }
  FormState State() const { return state_; }
  const MediaLayout& Layout() const { return layout_; }
  const std::string& MediaCaption() const { return mediaCaption_; }
  PortFields& Fields() { return fields_; }
  const PortFields& Fields() const { return fields_; }
  const AutoRunFields& AutoRun() const { return autoRun_; }

  // Reads the settings and shows the first port.
  void Start();
  // The port number was typed or chosen.
  void ChangePortText(const std::string& text);
  void Add();
  // The type list changed in the edit state: the chosen type's layout and defaults.
  void ChangePortType();
  void Modify();
  void Ok();
  void Cancel();
  void Remove();

  // The RS-485 address box: shown with the net definition, usable only while
  // an RS-485 port is edited.
  bool AddressBoxShown() const { return layout_.netDefinition; }
  bool AddressBoxEnabled() const;
  // The shared text field was edited: an address map is kept at 24 characters.
  void ChangeNetDef(const std::string& text);
  // An address button (0 for address 1) was clicked.
  void ToggleAddress(std::size_t position);

  // The AutoRun check boxes; each reacts only when its state changes, and
  // checking one clears the other.
  void SetSinglePortAutoRun(bool on);
  void SetSpoolerAutoRun(bool on);
  // A text of the single-port group was edited.
  void ChangeSinglePortTexts(const std::string& port, const std::string& commandFile,
                             const std::string& errorsFile);
  // Stores the single-port settings.
  void UpdateSinglePort();

 private:
  void LoadSettings();
  void SelectFirstPort();
  void ShowPort();
  void ShowMissingPort();
  // Whether the shown number's key exists; an existing key becomes the last opened.
  bool PortExists();
  void ApplyLayoutOf(const std::string& portType);
  // False (reported) when an Ethernet port's address or TCP port is not one.
  bool NetworkFieldsValid();
  void UpdateSpoolerService(int port);
  std::string PortKey() const;
  bool Store(const std::string& portNumber);
  bool Reported(const std::string& key, const RegistryFailure& failure);
  void KeepNetDefFitted();
  void LoadSinglePortAutoRun();
  void LoadSinglePortTexts();
  void LoadSpoolerFieldsOfPort();
  // Writes a value of the driver key, creating the key; false (reported) when refused.
  bool WriteSetting(RegistryRoot root, const char* name, const std::string& text);

  SettingsRegistry& registry_;
  MessageSink& messages_;
  std::vector<std::string> portList_;
  std::string portText_;
  FormState state_ = FormState::Browse;
  ServiceRunner& services_;
  MediaLayout layout_;
  std::string lastOpenedKey_;
  std::string mediaCaption_;
  PortFields fields_;
  AutoRunFields autoRun_;
  std::string installationDir_;
};

}  // namespace lathwell
