// Where the loaders' messages go: a message box in the program, a recorder in tests.
#pragma once

#include <string>

class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void Show(const std::string& text) = 0;
};

// A plain message box with an OK button.
class MessageBoxNotifier final : public Notifier {
 public:
  void Show(const std::string& text) override;
};
