// The product's port session: the driver window.
#include <memory>

#include "port_session.h"
#include "window/main_form.h"

namespace ravelin {

std::unique_ptr<IPortSession> MakePortSession(const TStartOptions& options) {
  auto form = std::make_unique<TMainForm>(options);
  if (!form->Handle()) return nullptr;
  return form;
}

}  // namespace ravelin
