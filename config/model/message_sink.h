// How the form's rules speak to the user: a message, an error, a yes/no question.
#pragma once

#include <string>

namespace lathwell {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Inform(const std::string& text) = 0;
  virtual void ReportError(const std::string& text) = 0;
  // True for Yes.
  virtual bool Confirm(const std::string& question) = 0;
};

}  // namespace lathwell
