// The logical-port form's rules over an in-memory registry.
#include "port_form.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "memory_registry.h"

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
    return registry.HasValue(kMachine, kPorts + "\\" + port, name);
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
  PortForm form{registry, messages};
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
  EXPECT_FALSE(form.MediaFieldsShown());
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

TEST_F(PortFormTest, ShowsTheStoredAutoRunSettings) {
  const std::string settings = "Software\\Velmora\\Drivers\\Corvane\\FirmwareA";
  registry.CreateKey(RegistryRoot::CurrentUser, settings);
  registry.WriteText(RegistryRoot::CurrentUser, settings, "AutoRun", "3");
  registry.WriteText(RegistryRoot::CurrentUser, settings, "AutoRun CommandFile", "c:\\cmd.txt");
  registry.CreateKey(kMachine, settings);
  registry.WriteText(kMachine, settings, "EnableSpoolerAutoRun", "1");
  registry.WriteText(kMachine, settings, "InstallationDir", "c:\\Velmora\\");
  PutPort("2");
  form.Start();
  EXPECT_TRUE(form.AutoRun().singlePort);
  EXPECT_EQ(form.AutoRun().port, "3");
  EXPECT_EQ(form.AutoRun().commandFile, "c:\\cmd.txt");
  EXPECT_TRUE(form.AutoRun().spooler);
  EXPECT_EQ(form.Fields().spoolerCommandFile, "c:\\Velmora\\Spooler\\2\\sco*.dat");
  EXPECT_TRUE(form.Fields().autoRunOnPort);
}

}  // namespace
}  // namespace lathwell
