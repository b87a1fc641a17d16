// The logical-port form's rules over an in-memory registry.
#include "model/port_form.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/memory_registry.h"
#include "model/net_def.h"
#include "recorded_services.h"

namespace lathwell {
namespace {

const std::string kPorts = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA\\Ports";
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;

class RecordedMessages : public MessageSink {
 public:
  void Inform(const std::string& text) override { shown.push_back(text); }
  void ReportError(const std::string& text) override { shown.push_back("error: " + text); }
  bool Confirm(const std::string& question) override {
    shown.push_back(question);
    return answerYes;
  }
  std::vector<std::string> shown;
  bool answerYes = false;
};

class PortFormTest : public ::testing::Test {
 protected:
  void PutPort(const std::string& port,
               const std::map<std::string, std::string>& values = {{"PortType", "RS232"}}) {
    registry.CreateKey(kMachine, kPorts + "\\" + port);
    for (const auto& [name, text] : values) registry.WriteText(kMachine, kPorts + "\\" + port, name, text);
  }
  std::string Stored(const std::string& port, const std::string& name) {
    return registry.ReadText(kMachine, kPorts + "\\" + port, name);
  }
  bool HasStored(const std::string& port, const std::string& name) {
    return registry.ReadValue(kMachine, kPorts + "\\" + port, name).has_value();
  }
  // Adds `port` and stores it with the given type after `edit`.
  template <typename Edit>
  void AddAndStore(const std::string& port, Edit edit) {
    form.ChangePortText(port);
    form.Add();
    edit(form.Fields());
    form.Ok();
  }

  MemoryRegistry registry;
  RecordedMessages messages;
  RecordedServices services;
  PortForm form{registry, messages, services};
};

TEST_F(PortFormTest, ListsPortsOneTo999InTextOrderAndShowsTheFirst) {
  for (const char* port : {"1", "2", "10", "1000", "0", "-3", "abc"}) PutPort(port);
  PutPort("1", {{"", "cassa uno"}});
  form.Start();
  EXPECT_EQ(form.PortList(), (std::vector<std::string>{"1", "10", "2"}));
  EXPECT_EQ(form.PortText(), "1");
  EXPECT_EQ(form.Fields().description, "cassa uno");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PortFormTest, TypingShowsThePortOfEachPrefixAndNormalisesTheNumber) {
  PutPort("1", {{"", "uno"}});
  PutPort("12", {{"", "dodici"}});
  PutPort("7", {{"", "sette"}});
  form.Start();
  form.ChangePortText("1");
  EXPECT_EQ(form.Fields().description, "uno");
  form.ChangePortText("12");
  EXPECT_EQ(form.Fields().description, "dodici");
  form.ChangePortText("007");
  EXPECT_EQ(form.PortText(), "7");
  EXPECT_EQ(form.Fields().description, "sette");

  form.ChangePortText("x");
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"error: Il valore di porta logica deve essere numerico"});
  EXPECT_EQ(form.PortText(), "x");
  EXPECT_EQ(form.Fields().description, "sette");

  form.ChangePortText("");
  EXPECT_EQ(form.Fields().description, "Porta logica inesistente");
  EXPECT_FALSE(form.Layout().usedPort);
  EXPECT_FALSE(form.Layout().protocol);
  EXPECT_EQ(form.MediaCaption(), " Parametri non definiti ");
}

TEST_F(PortFormTest, ShowsMissingValuesByTheirDefaults) {
  PutPort("5", {{"PortType", "Modem"}, {"ConfStrModem", "ATZ"}});
  PutPort("6", {{"PortType", "RS485"}, {"EcrProt", "0"}, {"LogLevel", "0"}, {"LogFileName", "c:\\log.txt"}});
  form.Start();
  form.ChangePortText("5");
  EXPECT_TRUE(form.Fields().enableLog);
  EXPECT_EQ(form.Fields().ecrProt, "");
  EXPECT_EQ(form.Fields().logFile, "c:\\logqdx_5.txt");
  EXPECT_EQ(form.Fields().netDef, "ATZ");
  EXPECT_EQ(form.MediaCaption(), " Parametri Modem ");
  form.ChangePortText("6");
  EXPECT_FALSE(form.Fields().enableLog);
  EXPECT_EQ(form.Fields().ecrProt, "50187");
  EXPECT_EQ(form.Fields().logFile, "c:\\logqdx_6.txt");
}

TEST_F(PortFormTest, ActionsOnAMissingOrExistingPortAnswerWithTheirMessage) {
  PutPort("3");
  form.Start();
  struct Case {
    const char* port;
    void (PortForm::*action)();
    const char* message;
  };
  for (const Case& c : {Case{"", &PortForm::Add, "Inserire un numero nel campo 'Porta Logica'"},
                        Case{"3", &PortForm::Add, "La porta logica selezionata e' gia' esistente"},
                        Case{"4", &PortForm::Modify, "Porta logica inesistente"},
                        Case{"", &PortForm::Modify, "Porta logica inesistente"},
                        Case{"4", &PortForm::Remove, "La porta logica selezionata non esiste"}}) {
    messages.shown.clear();
    form.ChangePortText(c.port);
    (form.*c.action)();
    EXPECT_EQ(messages.shown, std::vector<std::string>{c.message}) << c.port;
    EXPECT_EQ(form.State(), FormState::Browse) << c.port;
  }
}

TEST_F(PortFormTest, AddOffersANewPortAndOkStoresItThenShowsTheLastEntry) {
  PutPort("1");
  PutPort("10");
  form.Start();
  AddAndStore("2", [](PortFields& f) {
    EXPECT_EQ(f.description, "Dati porta logica 2");
    EXPECT_EQ(f.logFile, "c:\\logqdx_2.txt");
    EXPECT_TRUE(f.onLine);
    f.chosenPortType = "Ethernet-RT";
    f.ecrIp = "192.168. 1 .10 ";
    f.ecrPortNumber = "12345";
    f.ecrProt = "0";
  });
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(form.State(), FormState::Browse);
  EXPECT_EQ(form.PortText(), "2");
  EXPECT_EQ(form.Fields().portType, "Ethernet-RT");
  AddAndStore("1000", [](PortFields&) {});
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(registry.KeyExists(kMachine, kPorts + "\\1000"));
  AddAndStore("-3", [](PortFields&) {});
  EXPECT_FALSE(registry.KeyExists(kMachine, kPorts + "\\-3"));
  EXPECT_EQ(form.State(), FormState::Browse);
  EXPECT_EQ(Stored("2", "ECRIP"), "192.168.1.10");
  EXPECT_EQ(Stored("2", "ECRPortNumber"), "12345");
  EXPECT_EQ(Stored("2", "EcrProt"), "50187");
  EXPECT_EQ(Stored("2", "OnLine"), "1");
  EXPECT_EQ(Stored("2", "Port"), "COM1");
  EXPECT_EQ(Stored("2", "LogFileName"), "c:\\logqdx_2.txt");
  EXPECT_EQ(
      registry.ReadText(kMachine, "Software\\Velmora\\Drivers\\Corvane\\FirmwareA", "EnableSpoolerAutoRun"),
      "0");
  EXPECT_FALSE(HasStored("2", "NetDef"));
}

TEST_F(PortFormTest, OkRefusesAnAddressOrTcpPortThatIsNotOneAndWritesNothing) {
  const std::string ip =
      "error: Il valore di indirizzo IP deve essere di quattro numeri da 0 a 255 separati da punti";
  const std::string tcp = "error: Il valore di porta deve essere un numero da 1 a 65535";
  const struct {
    const char* ip;
    const char* port;
    std::vector<std::string> shown;  // none: stored
  } cases[] = {
      {"10.0.0.x6", "1470", {ip}},       {"10.0.0.256", "1470", {ip}}, {"10.0.0", "1470", {ip}},
      {"1.2.3.4.5", "1470", {ip}},       {"1.2.3.4.", "1470", {ip}},   {"1..3.4", "1470", {ip}},
      {"-1.2.3.4", "1470", {ip}},        {"", "1470", {ip}},           {"1.2.3.0004", "1470", {ip}},
      {"10.0.0.6", "81b9", {tcp}},       {"10.0.0.6", "0", {tcp}},     {"10.0.0.6", "65536", {tcp}},
      {"10.0.0.6", "", {tcp}},           {"10.0.0.6", "+80", {tcp}},   {"0. 0. 0. 0", "1", {}},
      {"255.255.255.255", " 65535", {}},
  };
  form.Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.ip) + " " + c.port);
    messages.shown.clear();
    registry.DeleteKeyTree(kMachine, kPorts + "\\7");
    AddAndStore("7", [&](PortFields& f) {
      f.chosenPortType = "EthernetBilancia";
      form.ChangePortType();
      f.ecrIp = c.ip;
      f.ecrPortNumber = c.port;
    });
    EXPECT_EQ(messages.shown, c.shown);
    EXPECT_EQ(form.State(), c.shown.empty() ? FormState::Browse : FormState::Edit);
    EXPECT_EQ(registry.KeyExists(kMachine, kPorts + "\\7"), c.shown.empty());
    form.Cancel();
  }
  EXPECT_EQ(Stored("7", "ECRPortNumber"), "65535");
}

TEST_F(PortFormTest, OkRewritesThePortInPlaceDroppingOnlyTheOldKindsValues) {
  PutPort("4", {{"PortType", "Modem"}, {"ConfStrModem", "ATZ"}, {"DeviceType", "RT"}, {"ECRIP", "1.2.3.4"}});
  registry.CreateKey(kMachine, kPorts + "\\4\\Extra");
  form.Start();
  form.Modify();
  EXPECT_EQ(form.Fields().chosenPortType, "Modem");
  form.Fields().chosenPortType = "RS485";
  form.Fields().netDef = "110000000000000000000000";
  form.Ok();
  EXPECT_EQ(Stored("4", "NetDef"), "110000000000000000000000");
  EXPECT_FALSE(HasStored("4", "ConfStrModem"));
  EXPECT_FALSE(HasStored("4", "ECRIP"));
  EXPECT_EQ(Stored("4", "DeviceType"), "RT");
  EXPECT_TRUE(registry.KeyExists(kMachine, kPorts + "\\4\\Extra"));
}

TEST_F(PortFormTest, OkRefusedAtAnyChangeLeavesThePortAsItWas) {
  for (const char* port : {"4", "5"}) {  // an existing Modem port made RS485; a new port
    int changesBefore = 0;
    for (; changesBefore < 30; ++changesBefore) {
      registry = MemoryRegistry();
      PutPort("4", {{"PortType", "Modem"}, {"ConfStrModem", "ATZ"}, {"Speed", "9600"}, {"DeviceType", "RT"}});
      const auto before = registry.ValuesOf(kMachine, kPorts + "\\4");
      form.Start();
      form.ChangePortText(port);
      port == std::string("4") ? form.Modify() : form.Add();
      form.Fields().chosenPortType = "RS485";
      form.Fields().speed = "19200";
      messages.shown.clear();
      registry.RefuseOneChange(changesBefore, "Disco pieno.");
      form.Ok();
      if (messages.shown.empty()) break;  // every change of the store came before the refused one
      EXPECT_EQ(form.State(), FormState::Edit);
      EXPECT_EQ(registry.ValuesOf(kMachine, kPorts + "\\4"), before)
          << port << " refused at " << changesBefore;
      EXPECT_FALSE(registry.KeyExists(kMachine, kPorts + "\\5")) << changesBefore;
    }
    EXPECT_TRUE(changesBefore >= 17 && changesBefore < 30) << port << ": " << changesBefore;
  }
}

TEST_F(PortFormTest, CancelLeavesTheEditStateWithTheTypedValues) {
  PutPort("8", {{"", "vecchia"}});
  form.Start();
  form.Modify();
  form.Fields().description = "nuova";
  form.Cancel();
  EXPECT_EQ(form.State(), FormState::Browse);
  EXPECT_EQ(form.Fields().description, "nuova");
  EXPECT_EQ(Stored("8", ""), "vecchia");
}

TEST_F(PortFormTest, OkThatCannotStoreReportsWhyAndStaysInTheEditState) {
  PutPort("9", {{"", "nove"}});
  form.Start();
  form.Modify();
  form.Fields().description = "cambiata";
  registry.RefuseChanges("Accesso negato.");
  form.Ok();
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"error: Impossibile scrivere nel registro: "
                                     "Software\\Velmora\\Drivers\\Corvane\\FirmwareA (Accesso negato.)"});
  EXPECT_EQ(form.State(), FormState::Edit);
  EXPECT_EQ(Stored("9", ""), "nove");

  messages.shown.clear();
  form.Cancel();
  form.ChangePortText("x");
  form.Add();
  form.Ok();
  EXPECT_EQ(messages.shown.back(), "error: Il valore di porta logica deve essere numerico");
  EXPECT_EQ(form.State(), FormState::Edit);
}

TEST_F(PortFormTest, RemoveAsksFirstAndNoKeepsThePort) {
  PutPort("5");
  PutPort("1000");
  form.Start();
  form.ChangePortText("5");
  form.Remove();
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Sei sicuro di voler rimuovere la porta logica 5 ?"});
  EXPECT_TRUE(registry.KeyExists(kMachine, kPorts + "\\5"));

  messages.answerYes = true;
  form.Remove();
  EXPECT_FALSE(registry.KeyExists(kMachine, kPorts + "\\5"));
  EXPECT_TRUE(form.PortList().empty());
  form.ChangePortText("1000");
  form.Remove();
  EXPECT_FALSE(registry.KeyExists(kMachine, kPorts + "\\1000"));
}

TEST_F(PortFormTest, EachTypeShowsItsKindsFieldsAndCaption) {
  // usedPort, protocol, speed, netDefinition, modemString, network, lineChecks, lineOptions
  const MediaLayout serial{true, true, false, false, false, false, true, true};
  const MediaLayout ethernet{false, false, false, false, false, true, false, true};
  const struct {
    const char* type;
    MediaLayout layout;
    const char* caption;
  } cases[] = {
      {"RS232", serial, " Parametri RS-232 "},
      {"RS485", {true, true, false, true, false, false, true, true}, " Parametri RS-485 "},
      {"Modem", {true, true, false, false, true, false, true, true}, " Parametri Modem "},
      {"EthernetHostPC", ethernet, " Parametri Ethernet"},
      {"EthernetXonXoffTipo2", ethernet, " Parametri Ethernet"},
      {"Bilancia", {true, false, true, false, false, false, false, false}, " Parametri Bilancia"},
      {"EthernetBilancia", ethernet, " Parametri Ethernet"},
      {"RS232USB-RT", serial, " Parametri RS-232 "},
      {"Ethernet-RT", ethernet, " Parametri Ethernet"},
  };
  PutPort("1", {{"PortType", "rs232"}});
  form.Start();
  const MediaLayout untyped{false, false, false, false, false, false, false, true};
  EXPECT_EQ(form.Layout(), untyped) << "a type outside the nine";
  for (const auto& c : cases) {
    PutPort("2", {{"PortType", c.type}});
    form.ChangePortText("2");
    EXPECT_EQ(form.Layout(), c.layout) << c.type;
    EXPECT_EQ(form.MediaCaption(), c.caption) << c.type;
    form.ChangePortText("3");
    form.Add();
    form.Fields().chosenPortType = c.type;
    form.ChangePortType();
    EXPECT_EQ(form.Layout(), c.layout) << c.type;
    EXPECT_EQ(form.MediaCaption(), c.caption) << c.type;
    form.Cancel();
  }
}

TEST_F(PortFormTest, ChoosingATypeSetsItsDefaults) {
  PutPort("4", {{"PortType", "RS485"},
                {"Port", "COM3"},
                {"NetDef", "1100"},
                {"EcrProt", "7"},
                {"ECRIP", "10.0.0.9"},
                {"ECRPortNumber", "9100"},
                {"OnLine", "1"}});
  form.Start();
  form.Modify();
  PortFields& f = form.Fields();
  f.chosenPortType = "Ethernet-RT";
  form.ChangePortType();
  EXPECT_EQ(f.ecrIp, "10.0.0.9");
  EXPECT_EQ(f.ecrPortNumber, "12345");
  EXPECT_FALSE(f.onLine);
  EXPECT_EQ(f.usedPort, "");
  EXPECT_EQ(f.chosenUsedPort, "COM3");
  EXPECT_EQ(f.ecrProt, "50187");
  f.ecrPortNumber = "4000";
  form.ChangePortType();
  EXPECT_EQ(f.ecrPortNumber, "12345");
  for (const auto& [type, port] : {std::pair{"EthernetBilancia", "2551"}, std::pair{"EthernetHostPC", "1470"},
                                   std::pair{"EthernetXonXoffTipo2", "1470"}}) {
    f.chosenPortType = type;
    form.ChangePortType();
    EXPECT_EQ(f.ecrPortNumber, port) << type;
  }
  f.chosenPortType = "RS485";
  form.ChangePortType();
  EXPECT_EQ(f.netDef, std::string(24, '0'));

  form.Cancel();
  EXPECT_EQ(form.Layout(), (MediaLayout{true, true, false, true, false, false, true, true}));
  EXPECT_EQ(f.ecrIp, "10.0.0.9");
}

TEST_F(PortFormTest, AStoredEthernetPortWithoutTcpPortShowsItsFallbackOffLine) {
  PutPort("5", {{"PortType", "EthernetBilancia"}, {"OnLine", "1"}, {"ECRPortNumber", "  "}});
  PutPort("6", {{"PortType", "Ethernet-RT"}, {"OnLine", "1"}});
  PutPort("7", {{"PortType", "EthernetHostPC"}, {"OnLine", "1"}, {"ECRPortNumber", "1500"}});
  form.Start();
  for (const auto& [port, shown, onLine] :
       {std::tuple{"5", "1470", false}, std::tuple{"6", "12345", false}, std::tuple{"7", "1500", true}}) {
    form.ChangePortText(port);
    EXPECT_EQ(form.Fields().ecrPortNumber, shown) << port;
    EXPECT_EQ(form.Fields().onLine, onLine) << port;
  }
}

TEST_F(PortFormTest, HiddenFieldsStoreWhatTheyLastHeld) {
  PutPort("1", {{"PortType", "Bilancia"}, {"Speed", "19200"}});
  form.Start();
  AddAndStore("2", [](PortFields& f) {
    f.chosenPortType = "RS232";
    f.chosenUsedPort = "COM2";
  });
  EXPECT_EQ(Stored("2", "Speed"), "19200");
  EXPECT_EQ(Stored("2", "EcrProt"), "50187");
  form.ChangePortText("1");
  form.Modify();
  form.Fields().ecrProt = "123";
  form.Ok();
  EXPECT_EQ(Stored("1", "EcrProt"), "123");
}

TEST_F(PortFormTest, OkInstallsThePortsServiceOnlyWithBothBoxesAndRemoveOnlyRemovesIt) {
  registry.CreateKey(kMachine, "Software\\Velmora\\Drivers\\Corvane\\FirmwareA");
  registry.WriteText(kMachine, "Software\\Velmora\\Drivers\\Corvane\\FirmwareA", "InstallationDir",
                     "C:\\V\\");
  PutPort("12");
  form.Start();
  const std::vector<std::string> removal{R"(sc stop "Velmora ECR Spooler Port12")",
                                         R"(sc delete "Velmora ECR Spooler Port12")"};
  form.Modify();
  form.Fields().autoRunOnPort = true;
  form.Ok();
  EXPECT_EQ(services.steps, removal) << "the spooler box is off";

  registry.WriteText(kMachine, "Software\\Velmora\\Drivers\\Corvane\\FirmwareA", "EnableSpoolerAutoRun", "1");
  form.ChangePortText("12");
  services.steps.clear();
  form.Modify();
  form.Ok();
  ASSERT_EQ(services.steps.size(), 9u);
  EXPECT_EQ(services.steps.back(), R"(sc start "Velmora ECR Spooler Port12")");
  EXPECT_EQ(registry.ReadText(kMachine,
                              "SYSTEM\\CurrentControlSet\\Services\\Velmora ECR Spooler Port12\\Parameters",
                              "Application"),
            "C:\\V\\Drivers\\Ravelin.exe /p 12");

  services.steps.clear();
  services.exitCodes[R"(sc start "Velmora ECR Spooler Port12")"] = 1053UL;
  form.Modify();
  form.Ok();
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"error: Impossibile installare il servizio Velmora ECR "
                                     "Spooler Port12: sc start \"Velmora ECR Spooler Port12\""});
  EXPECT_EQ(form.State(), FormState::Browse);

  services.steps.clear();
  services.exitCodes = {{removal[0], 1060UL}, {removal[1], std::nullopt}};
  messages.answerYes = true;
  form.Remove();
  EXPECT_EQ(services.steps, removal);
  EXPECT_FALSE(registry.KeyExists(kMachine, kPorts + "\\12"));
}

TEST_F(PortFormTest, TheAddressBoxKeepsTheMapAt24AndTogglesOnlyWhileAnRs485PortIsEdited) {
  PutPort("1", {{"PortType", "RS485"}, {"NetDef", "1"}});
  PutPort("2", {{"PortType", "Modem"}, {"ConfStrModem", "ATZ"}});
  form.Start();
  EXPECT_EQ(form.Fields().netDef, "1" + std::string(23, '0'));
  EXPECT_TRUE(form.AddressBoxShown());
  EXPECT_FALSE(form.AddressBoxEnabled());
  form.ToggleAddress(1);
  EXPECT_EQ(form.Fields().netDef, "1" + std::string(23, '0')) << "disabled in browse";

  form.Modify();
  EXPECT_TRUE(form.AddressBoxEnabled());
  form.ChangeNetDef("11111x" + std::string(24, '0'));
  EXPECT_EQ(form.Fields().netDef, "11111x" + std::string(18, '0'));
  EXPECT_TRUE(AddressInUse(form.Fields().netDef, 5));
  form.ToggleAddress(5);
  form.ToggleAddress(23);
  form.Ok();
  EXPECT_EQ(Stored("1", "NetDef"), "11111" + std::string(18, '0') + "1");

  form.ChangePortText("2");
  form.Modify();
  EXPECT_FALSE(form.AddressBoxShown());
  form.ChangeNetDef("ATZ0");
  EXPECT_EQ(form.Fields().netDef, "ATZ0");
}

class AutoRunTest : public PortFormTest {
 protected:
  void SetUser(const char* name, const std::string& text) {
    registry.CreateKey(RegistryRoot::CurrentUser, kSettings);
    registry.WriteText(RegistryRoot::CurrentUser, kSettings, name, text);
  }
  void SetMachine(const char* name, const std::string& text) {
    registry.CreateKey(kMachine, kSettings);
    registry.WriteText(kMachine, kSettings, name, text);
  }
  std::string User(const char* name) { return registry.ReadText(RegistryRoot::CurrentUser, kSettings, name); }
  std::string Machine(const char* name) { return registry.ReadText(kMachine, kSettings, name); }
  const std::string kSettings = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA";
};

TEST_F(AutoRunTest, UpdateStoresOnlyAPortNumberAndStaysEnabledOtherwise) {
  SetUser("AutoRun", "0");
  form.Start();
  EXPECT_FALSE(form.AutoRun().singlePort);
  form.SetSinglePortAutoRun(true);
  EXPECT_FALSE(form.AutoRun().updateEnabled);
  for (const char* port : {"", "0", "abc", "1000", "-2"}) {
    form.ChangeSinglePortTexts(port, "c:\\in.txt", "c:\\err.txt");
    form.UpdateSinglePort();
    EXPECT_TRUE(form.AutoRun().updateEnabled) << port;
    EXPECT_EQ(User("AutoRun"), "0") << port;
  }
  EXPECT_EQ(messages.shown, std::vector<std::string>(3, "error: Il valore di porta logica deve essere numerico"));
  form.ChangeSinglePortTexts("007", "c:\\in.txt", "c:\\err.txt");
  form.UpdateSinglePort();
  EXPECT_FALSE(form.AutoRun().updateEnabled);
  EXPECT_EQ(User("AutoRun"), "7");
  EXPECT_EQ(User("AutoRun CommandFile"), "c:\\in.txt");
  EXPECT_EQ(User("AutoRun ErrorsFile"), "c:\\err.txt");
}

TEST_F(AutoRunTest, TheSpoolerBoxStoresAtOnceClearsSinglePortAndOffersThePortsPattern) {
  SetUser("AutoRun", "3");
  for (const char* dir : {"c:\\Velmora\\", ""}) {
    SetMachine("InstallationDir", dir);
    PortForm fresh{registry, messages, services};
    PutPort("3", {{"PortType", "RS232"}, {"LogLevel", "0"}});
    fresh.Start();
    fresh.ChangePortText("3");
    EXPECT_TRUE(fresh.AutoRun().singlePort);
    fresh.SetSpoolerAutoRun(true);
    EXPECT_FALSE(fresh.AutoRun().singlePort);
    EXPECT_EQ(User("AutoRun"), "0");
    EXPECT_EQ(Machine("EnableSpoolerAutoRun"), "1");
    EXPECT_EQ(fresh.Fields().spoolerCommandFile, std::string(dir) + "Spooler\\3\\sco*.dat");
    EXPECT_TRUE(fresh.Fields().autoRunOnPort);
    EXPECT_FALSE(fresh.Fields().enableLog);
    fresh.SetSinglePortAutoRun(true);
    EXPECT_EQ(Machine("EnableSpoolerAutoRun"), "0");
    SetUser("AutoRun", "3");
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(AutoRunTest, BothModesStoredAtStartTheSpoolerWins) {
  SetUser("AutoRun", "3");
  SetMachine("EnableSpoolerAutoRun", "1");
  PutPort("2", {{"PortType", "RS232"}, {"AutoRun CommandFile", "d:\\q\\*.dat"}});
  form.Start();
  EXPECT_TRUE(form.AutoRun().spooler);
  EXPECT_FALSE(form.AutoRun().singlePort);
  EXPECT_EQ(User("AutoRun"), "0");
  EXPECT_EQ(form.Fields().spoolerCommandFile, "d:\\q\\*.dat");
  EXPECT_FALSE(form.Fields().autoRunOnPort);

  registry.RefuseChanges("Accesso negato.");
  form.SetSpoolerAutoRun(false);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"error: Impossibile scrivere nel registro: Software\\Velmora\\"
                                                     "Drivers\\Corvane\\FirmwareA (Accesso negato.)"});
}

}  // namespace
}  // namespace lathwell
