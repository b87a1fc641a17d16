// Lathwell's form driven by window messages; what it stores is read back
// with the prefix's reg.
#include "lathwell_window.h"

#include <gtest/gtest.h>

#include "dialog/port_form_ids.h"
#include "model/port_values.h"
#include "protocol/protocol_test_support.h"

namespace lathwell_test {
namespace {

using protocol_test::PortKey;

const std::string kPorts = protocol_test::kPortsKey;
constexpr int kNewPort = 941;

class LathwellWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kPorts + "\\" + std::to_string(kNewPort)).c_str());
  }
  void TearDown() override { SetUp(); }
};

TEST_F(LathwellWindowTest, AddStoresTheTypedPortByItsType) {
  LathwellWindow lathwell;
  ASSERT_NE(lathwell.Form(), nullptr);
  lathwell.TypePort("0" + std::to_string(kNewPort));
  EXPECT_EQ(lathwell.Text(IDC_LOGICAL_PORTS), "941");
  EXPECT_EQ(lathwell.Text(IDC_DESCRIPTION), "Porta logica inesistente");

  lathwell.Click(IDC_ADD);
  EXPECT_TRUE(lathwell.Visible(IDC_OK_EDIT));
  EXPECT_FALSE(IsWindowEnabled(lathwell.Control(IDC_LOGICAL_PORTS)));
  EXPECT_EQ(lathwell.Text(IDC_DESCRIPTION), "Dati porta logica 941");
  lathwell.Choose(IDC_PORT_TYPE, "EthernetHostPC");
  lathwell.SetText(IDC_ECR_IP, "10. 0. 0. 7");
  lathwell.SetText(IDC_ECR_PORT, "1470");
  lathwell.Click(IDC_OK_EDIT);

  EXPECT_TRUE(lathwell.Visible(IDC_CLOSE));
  const std::string key = kPorts + "\\941";
  EXPECT_EQ(RegQuery(key, "PortType"), "EthernetHostPC");
  EXPECT_EQ(RegQuery(key, "ECRIP"), "10.0.0.7");
  EXPECT_EQ(RegQuery(key, "ECRPortNumber"), "1470");
  EXPECT_EQ(RegQuery(key, "LogFileName"), "c:\\logqdx_941.txt");
  EXPECT_EQ(RegQuery(key, "NetDef"), std::nullopt);

  EXPECT_EQ(lathwell.ClickForMessage(IDC_ADD), "La porta logica selezionata e' gia' esistente");
  EXPECT_TRUE(lathwell.Answer(IDOK));
}

TEST_F(LathwellWindowTest, OkRefusesALetterInTheAddressOrAPastedTcpPortAndWritesNothing) {
  LathwellWindow lathwell;
  ASSERT_NE(lathwell.Form(), nullptr);
  lathwell.TypePort(std::to_string(kNewPort));
  lathwell.Click(IDC_ADD);
  lathwell.Choose(IDC_PORT_TYPE, "Ethernet-RT");
  lathwell.SetText(IDC_ECR_IP, "10.0.0.x6");
  EXPECT_EQ(lathwell.ClickForMessage(IDC_OK_EDIT), lathwell::kNotAnIpAddress);
  EXPECT_TRUE(lathwell.Answer(IDOK));
  lathwell.SetText(IDC_ECR_IP, "10.0.0.6");
  lathwell.SetText(IDC_ECR_PORT, "81b9");  // as pasted: the keyboard gives the field digits only
  EXPECT_EQ(lathwell.ClickForMessage(IDC_OK_EDIT), lathwell::kNotATcpPort);
  EXPECT_TRUE(lathwell.Answer(IDOK));
  EXPECT_TRUE(lathwell.Visible(IDC_OK_EDIT));
  EXPECT_FALSE(RegKeyExists(kPorts + "\\" + std::to_string(kNewPort)));
}

TEST_F(LathwellWindowTest, ModifyRewritesThePortAndKeepsWhatOthersStored) {
  PortKey port(942, {{"PortType", "Modem"}, {"ConfStrModem", "ATZ"}, {"DeviceType", "RT"}, {"EcrProt", "0"}});
  LathwellWindow lathwell;
  ASSERT_NE(lathwell.Form(), nullptr);
  lathwell.TypePort("942");
  EXPECT_EQ(lathwell.Text(IDC_PORT_TYPE_TEXT), "Modem");
  EXPECT_EQ(lathwell.Text(IDC_NET_DEF), "ATZ");
  EXPECT_EQ(lathwell.Text(IDC_MEDIA_GROUP), " Parametri Modem ");

  lathwell.Click(IDC_MODIFY);
  lathwell.Choose(IDC_PORT_TYPE, "RS485");
  lathwell.SetText(IDC_NET_DEF, "100000000000000000000001");
  lathwell.Click(IDC_OK_EDIT);

  EXPECT_EQ(RegQuery(port.path(), "NetDef"), "100000000000000000000001");
  EXPECT_EQ(RegQuery(port.path(), "ConfStrModem"), std::nullopt);
  EXPECT_EQ(RegQuery(port.path(), "DeviceType"), "RT");
  EXPECT_EQ(RegQuery(port.path(), "EcrProt"), "50187");
}

TEST_F(LathwellWindowTest, TheLogFileButtonPicksAFileFromTheRootOfC) {
  PortKey port(944, {{"PortType", "RS232"}});
  LathwellWindow lathwell;
  ASSERT_NE(lathwell.Form(), nullptr);
  lathwell.TypePort("944");
  lathwell.Click(IDC_MODIFY);
  ASSERT_TRUE(lathwell.PickFile(IDC_OPEN_LOG_FILE, "windows\\win.ini"));
  EXPECT_STRCASEEQ(lathwell.Text(IDC_LOG_FILE).c_str(), "C:\\windows\\win.ini");
  EXPECT_EQ(RegQuery(port.path(), "LogFileName"), std::nullopt);
}

TEST_F(LathwellWindowTest, RemoveAsksAndDeletesOnlyOnYes) {
  PortKey port(943, {{"PortType", "RS232"}});
  LathwellWindow lathwell;
  ASSERT_NE(lathwell.Form(), nullptr);
  lathwell.TypePort("943");
  EXPECT_EQ(lathwell.ClickForMessage(IDC_REMOVE), "Sei sicuro di voler rimuovere la porta logica 943 ?");
  EXPECT_TRUE(lathwell.Answer(IDNO));
  EXPECT_TRUE(RegKeyExists(port.path()));

  EXPECT_EQ(lathwell.ClickForMessage(IDC_REMOVE), "Sei sicuro di voler rimuovere la porta logica 943 ?");
  EXPECT_TRUE(lathwell.Answer(IDYES));
  EXPECT_FALSE(RegKeyExists(port.path()));
}

TEST_F(LathwellWindowTest, TypingALetterShowsTheErrorBox) {
  LathwellWindow lathwell;
  ASSERT_NE(lathwell.Form(), nullptr);
  lathwell.TypePort("");
  lathwell.PostKey('x');
  EXPECT_EQ(lathwell.MessageText(), "Il valore di porta logica deve essere numerico");
  EXPECT_TRUE(lathwell.Answer(IDOK));
  EXPECT_EQ(lathwell.Text(IDC_LOGICAL_PORTS), "x");
}

// Each address button's glyph read back: '1' for the in-use template's, '0' for the other's.
std::string Glyphs(const LathwellWindow& lathwell) {
  std::string shown;
  for (int id = IDC_ADDRESS_FIRST; id < IDC_ADDRESS_FIRST + 24; ++id) {
    const LRESULT image = lathwell.Image(id);
    shown += image == lathwell.Image(IDC_ADDRESS_IN_USE) ? '1' : image == lathwell.Image(IDC_ADDRESS_FREE) ? '0' : '?';
  }
  return shown;
}

TEST_F(LathwellWindowTest, AddressButtonsShowAndToggleTheNetDefinition) {
  PortKey port(945, {{"PortType", "RS485"}, {"NetDef", "1"}});
  LathwellWindow lathwell;
  ASSERT_NE(lathwell.Form(), nullptr);
  lathwell.TypePort("945");
  ASSERT_NE(lathwell.Image(IDC_ADDRESS_IN_USE), lathwell.Image(IDC_ADDRESS_FREE));
  const std::string first = "1" + std::string(23, '0');
  EXPECT_EQ(lathwell.Text(IDC_NET_DEF), first);
  EXPECT_EQ(Glyphs(lathwell), first);
  EXPECT_FALSE(lathwell.Enabled(IDC_ADDRESS_FIRST));

  lathwell.Click(IDC_MODIFY);
  EXPECT_TRUE(lathwell.Enabled(IDC_ADDRESS_FIRST + 23));
  lathwell.Click(IDC_ADDRESS_FIRST + 5);
  lathwell.Click(IDC_ADDRESS_FIRST);
  const std::string sixth = "000001" + std::string(18, '0');
  EXPECT_EQ(lathwell.Text(IDC_NET_DEF), sixth);
  EXPECT_EQ(Glyphs(lathwell), sixth);
  lathwell.Click(IDC_OK_EDIT);
  EXPECT_EQ(RegQuery(port.path(), "NetDef"), sixth);
  lathwell.Click(IDC_MODIFY);
  lathwell.Choose(IDC_PORT_TYPE, "Modem");
  EXPECT_FALSE(lathwell.Visible(IDC_ADDRESS_FIRST));
}

}  // namespace
}  // namespace lathwell_test
