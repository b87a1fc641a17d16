#include "mail/smtp/smtp_tls_settings.h"

#include "interfaces/registry.h"
#include "platform/platform.h"

namespace quadrel {
namespace {

constexpr std::size_t kMaxPath = 260;

}  // namespace

MailTlsSettings ReadMailTlsSettings() {
  MailTlsSettings settings;
  std::string value;
  if (platform::ReadSettingText(platform::SettingsRoot::LocalMachine, registry::kDriverKey,
                                registry::kMailTlsVerify, kMaxPath, value))
    settings.verifyServer = value != "0";
  platform::ReadSettingText(platform::SettingsRoot::LocalMachine, registry::kDriverKey, registry::kMailCAFile,
                            kMaxPath, settings.caFile);
  return settings;
}

}  // namespace quadrel
