// Installing and removing a port's spooler service, against a recording runner.
#include "model/spooler_service.h"

#include <gtest/gtest.h>

#include "model/memory_registry.h"
#include "recorded_services.h"

namespace lathwell {
namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
const std::string kParameters = "SYSTEM\\CurrentControlSet\\Services\\Velmora ECR Spooler Port12\\Parameters";
const std::string kInstsrv =
    R"("C:\V\Utilities\instsrv.exe" "Velmora ECR Spooler Port12" "C:\V\Utilities\srvany.exe")";
const std::string kStart = R"(sc start "Velmora ECR Spooler Port12")";

class SpoolerServiceTest : public ::testing::Test {
 protected:
  std::optional<std::string> Install(const std::string& dir = "C:\\V\\") {
    return InstallSpoolerService(services, registry, dir, 12);
  }
  MemoryRegistry registry;
  RecordedServices services;
};

TEST_F(SpoolerServiceTest, InstallRemovesBothNamesPausesThenCreatesDescribesAndStarts) {
  EXPECT_EQ(Install(), std::nullopt);
  EXPECT_EQ(
      services.steps,
      (std::vector<std::string>{
          R"(sc stop "Velmora Spooler Port12")",
          R"(sc delete "Velmora Spooler Port12")",
          R"(sc stop "Velmora ECR Spooler Port12")",
          R"(sc delete "Velmora ECR Spooler Port12")",
          "pause 1000",
          kInstsrv,
          R"(sc description "Velmora ECR Spooler Port12" "Driver di stmapa ECR Velmora Linea Kestra")",
          R"(sc failure "Velmora ECR Spooler Port12" reset= 0 actions= restart/6000/restart/6000/restart/6000)",
          kStart,
      }));
  EXPECT_EQ(services.programs[4], "C:\\V\\Utilities\\instsrv.exe");
  EXPECT_EQ(services.programs[0], "sc.exe");
  EXPECT_EQ(registry.ReadText(kMachine, kParameters, "Application"), "C:\\V\\Drivers\\Ravelin.exe /p 12");
}

TEST_F(SpoolerServiceTest, AFolderWithBlanksAndAQuoteIsQuotedWithTheQuoteDoubled) {
  EXPECT_EQ(Install(R"(C:\Program Files\Vel"mora\)"), std::nullopt);
  EXPECT_EQ(services.steps[5],
            R"("C:\Program Files\Vel""mora\Utilities\instsrv.exe" "Velmora ECR Spooler Port12" )"
            R"("C:\Program Files\Vel""mora\Utilities\srvany.exe")");
  EXPECT_EQ(services.programs[4], R"(C:\Program Files\Vel"mora\Utilities\instsrv.exe)");
  EXPECT_EQ(registry.ReadText(kMachine, kParameters, "Application"),
            R"("C:\Program Files\Vel""mora\Drivers\Ravelin.exe" /p 12)");
}

TEST_F(SpoolerServiceTest, WithoutAnAbsoluteInstallationFolderNothingRuns) {
  for (const char* dir : {"", R"(Velmora\)", R"(\Velmora\)", R"(C:Velmora\)", R"(\\\x\)", R"(1:\V\)"}) {
    services = RecordedServices();
    EXPECT_EQ(Install(dir),
              "Impossibile installare il servizio Velmora ECR Spooler Port12: la cartella di "
              "installazione (InstallationDir) \"" +
                  std::string(dir) + "\" non e' un percorso assoluto");
    EXPECT_TRUE(services.steps.empty()) << dir;
  }
  EXPECT_FALSE(registry.KeyExists(kMachine, kParameters));
  for (const char* dir : {R"(\\server\V\)", "d:/V/"}) EXPECT_EQ(Install(dir), std::nullopt) << dir;
}

TEST_F(SpoolerServiceTest, CreationWaitsUntilTheOldServicesAreGoneButNotForever) {
  services.lingeringQueries = 3;
  EXPECT_EQ(Install(), std::nullopt);
  EXPECT_EQ(services.paused, 1000 + 3 * 250);

  services = RecordedServices();
  services.lingeringQueries = 1000000;
  Install();
  EXPECT_EQ(services.paused, 30000);
}

TEST_F(SpoolerServiceTest, AFailedCreationStepIsReportedWithItsLineAndEndsTheInstall) {
  const std::string failure =
      R"(sc failure "Velmora ECR Spooler Port12" reset= 0 actions= restart/6000/restart/6000/restart/6000)";
  struct Case {
    std::string line;
    std::optional<unsigned long> exitCode;
  };
  for (const Case& c :
       {Case{kInstsrv, 1073UL}, Case{kInstsrv, std::nullopt}, Case{failure, 1UL}, Case{kStart, 1053UL}}) {
    services = RecordedServices();
    services.exitCodes[c.line] = c.exitCode;
    EXPECT_EQ(Install(), "Impossibile installare il servizio Velmora ECR Spooler Port12: " + c.line);
    EXPECT_EQ(services.steps.back(), c.line);
  }

  services = RecordedServices();
  services.running = false;
  EXPECT_EQ(Install(), "Impossibile installare il servizio Velmora ECR Spooler Port12: " + kStart);
  EXPECT_EQ(services.steps.back(), "pause 250");

  services = RecordedServices();
  registry.RefuseChanges("Accesso negato.");
  EXPECT_EQ(Install(), "Impossibile installare il servizio Velmora ECR Spooler Port12: HKLM\\" + kParameters +
                           " Application = C:\\V\\Drivers\\Ravelin.exe /p 12");
  EXPECT_NE(services.steps.back(), kStart);
}

TEST_F(SpoolerServiceTest, RemoveStopsAndDeletesTheCurrentNameOnly) {
  services.exitCodes[R"(sc stop "Velmora ECR Spooler Port12")"] = 1060UL;
  RemoveSpoolerService(services, 12);
  EXPECT_EQ(services.steps, (std::vector<std::string>{R"(sc stop "Velmora ECR Spooler Port12")",
                                                      R"(sc delete "Velmora ECR Spooler Port12")"}));
}

}  // namespace
}  // namespace lathwell
