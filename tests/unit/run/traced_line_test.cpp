// The mail commands' passwords never reach the host's trace or the batch echo.
#include "run/traced_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "definition_text.h"
#include "exports/ecr_cmd.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

class TracedLineTest : public test_support::WithShippedDefinitions<TranslatorTest> {};

// Each line ends before the mail is sent or the register is asked (no
// telephone number, a parameter missing, a bad port, bad quoting).
TEST_F(TracedLineTest, CredentialFieldsOfTheMailCommandsAreHiddenInEveryTracedLine) {
  const struct {
    const char* line;
    const char* traced;
  } cases[] = {
      {"#75 #3, #4='tim', #5='s3cret', #6='a@b.it', #7='c@d.it'",
       "#75 #3, #4='tim', #5=<hidden>, #6='a@b.it', #7='c@d.it'"},
      {"  MAILSCONT PASSWORD = s3cret ,INVIA ; note", "  MAILSCONT PASSWORD = <hidden> ,INVIA ; note"},
      {"#120 #6=s3cret, #10=0", "#120 #6=<hidden>, #10=0"},
      {"MAILCHIUS PASS='it''s s3cret', PORTA=0", "MAILCHIUS PASS=<hidden>, PORTA=0"},
      {"#120 #4, #6='s3cret, #10=0", "#120 #4, <hidden>"},  // unclosed quote: the rest is hidden
      {"#120 #66=s3cret", "#120 #66=<hidden>"},             // a field the command lacks
      {"#4 ; s3cret", "#4 ; s3cret"},                       // no credentials, as it came
  };
  for (const auto& c : cases) EXPECT_EQ(TracedLine(c.line), c.traced);

  const std::filesystem::path batch =
      std::filesystem::temp_directory_path() / "quadrel_traced_line_batch.txt";
  std::ofstream(batch) << cases[0].line << "\r\n";
  Library().batchEcho = true;
  Library().switches.AutoSlaveOnBatch = false;
  std::string text;
  EcrCommand(cases[1].line, text);
  EcrCommand("@" + batch.string(), text);
  std::filesystem::remove(batch);
  for (const auto& trace : host.traces())
    EXPECT_EQ(trace.text.find("s3cret"), std::string::npos) << trace.text;
  EXPECT_EQ(host.traces().front().text, cases[1].traced);
  ASSERT_FALSE(host.progress_calls().empty());
  EXPECT_EQ(host.progress_calls().front().text, std::string(">") + cases[0].traced);
}

}  // namespace
}  // namespace quadrel
