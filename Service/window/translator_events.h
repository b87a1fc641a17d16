// The translator's event exports behind IEventTranslator, for the translator
// object of the port that is open now.
#pragma once

#include "window/register_events.h"

class TTranslatorLibrary;

namespace ravelin {

class TTranslatorEvents final : public IEventTranslator {
 public:
  // The translator that events go to; null or not fully bound: events give
  // empty texts and values.
  void Use(TTranslatorLibrary* translator) { translator_ = translator; }

  std::string DataX(int ecr, const std::uint8_t* data, int length) override;
  std::string DataY(int ecr, const std::uint8_t* data, int length) override;
  std::string Interact(int ecr, const std::uint8_t* data, int length) override;
  void FileExtEnq(int ecr, const std::uint8_t* data, int length, TClientEvent& record) override;
  void FileExtUpd(int ecr, const std::uint8_t* data, int length, TClientEvent& record) override;
  Bytes ReplyToEnquiry(int ecr, unsigned replyCode, int status, const std::string& replyText) override;

 private:
  bool Usable() const;

  TTranslatorLibrary* translator_ = nullptr;
};

}  // namespace ravelin
