// Lathwell.exe started from the test's folder and driven from outside by
// window messages, as a user would: typing into the port list, clicking,
// choosing from lists and answering message boxes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "interfaces/registry.h"

namespace lathwell_test {

class LathwellWindow {
 public:
  // Starts the program (by default the one beside the test, in the test's
  // current folder) and waits for its form; Form() is null when it did not come.
  explicit LathwellWindow(const std::string& program = {}, const std::string& workingFolder = {});
  // Closes the form and waits for the program to end.
  ~LathwellWindow();
  LathwellWindow(const LathwellWindow&) = delete;
  LathwellWindow& operator=(const LathwellWindow&) = delete;

  HWND Form() const { return form_; }
  HWND Control(int id) const { return GetDlgItem(form_, id); }
  std::string Text(int id) const;
  bool Visible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  bool Checked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // The bitmap a button shows.
  LRESULT Image(int id) const { return SendMessageA(Control(id), BM_GETIMAGE, IMAGE_BITMAP, 0); }

  // Replaces the port list's text key by key.
  void TypePort(const std::string& text);
  // One key into the port list without waiting: for keys that raise a message box.
  void PostKey(char key);
  // A click whose handling has ended when this returns; false when it had
  // not within `waitMs`.
  bool Click(int id, unsigned long waitMs = 15000);
  void SetCheck(int id, bool checked);
  // A click that opens a message box: returns the box's text ("" when none came).
  std::string ClickForMessage(int id);
  void Choose(int listId, const std::string& entry);
  void SetText(int id, const std::string& text);

  // The text of the message box shown over the form, waiting for it; "" when none came.
  std::string MessageText();
  // Picks `name` in the file dialog that a click on `id` opens; false when no dialog came and went.
  bool PickFile(int id, const std::string& name);
  // Answers the message box with IDOK, IDYES or IDNO and waits until it is gone.
  bool Answer(int button);

 private:
  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
};

// A string value of root\key ("HKLM" or "HKCU") read back with the prefix's
// `reg query`; none when the key or the value is missing.
std::optional<std::string> RegQuery(const std::string& key, const std::string& value,
                                    const std::string& root = "HKLM");
bool RegKeyExists(const std::string& key);
// A string value of a key set for a test and put back as it was (or removed) afterwards.
class SettingValue {
 public:
  SettingValue(HKEY root, const std::string& key, const char* name, const std::string& value);
  ~SettingValue();
  SettingValue(const SettingValue&) = delete;
  SettingValue& operator=(const SettingValue&) = delete;

 private:
  void Write(const std::string& value) const;
  HKEY root_;
  std::string key_;
  const char* name_;
  std::optional<std::string> old_;
};

// Both AutoRun modes off for a test (the user's single port with its files,
// the machine's spooler switch) and put back afterwards.
struct AutoRunOff {
  SettingValue port{HKEY_CURRENT_USER, registry::kDriverKey, registry::kAutoRun, "0"};
  SettingValue commandFile{HKEY_CURRENT_USER, registry::kDriverKey, registry::kAutoRunCommandFile, ""};
  SettingValue errorsFile{HKEY_CURRENT_USER, registry::kDriverKey, registry::kAutoRunErrorsFile, ""};
  SettingValue spooler{HKEY_LOCAL_MACHINE, registry::kDriverKey, registry::kEnableSpoolerAutoRun, "0"};
};

// Runs a command line through the shell: its output, or none when it exits with an error.
std::optional<std::string> CommandOutput(const std::string& commandLine);

}  // namespace lathwell_test
