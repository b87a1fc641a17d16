#include "commands/mail/picture_library.h"

#include "platform/platform.h"

namespace quadrel {
namespace {

struct PictureLibrary {
  platform::LibraryHandle module = nullptr;
  pictor::DrawJournalPicture draw = nullptr;
  bool tried = false;
};

PictureLibrary& Bound() {
  static PictureLibrary library;
  return library;
}

}  // namespace

bool BindPictureLibrary(const std::string& path) {
  PictureLibrary& library = Bound();
  platform::FreeLibraryFile(library.module);
  library = PictureLibrary{};
  library.tried = true;
  library.module = platform::LoadLibraryFile(path.c_str());
  library.draw = reinterpret_cast<pictor::DrawJournalPicture>(
      platform::FindLibrarySymbol(library.module, pictor::kDrawEntry));
  return library.draw != nullptr;
}

pictor::DrawJournalPicture PictureDrawer() {
  // A bare name would let the system search the current directory, where
  // the work files of these commands are written.
  if (!Bound().tried) {
    const std::string folder = platform::OwnModuleFolder();
    Bound().tried = true;
    if (!folder.empty()) BindPictureLibrary(folder + pictor::kLibraryFile);
  }
  return Bound().draw;
}

void UsePictureDrawer(pictor::DrawJournalPicture draw) {
  Bound().tried = true;
  Bound().draw = draw;
}

}  // namespace quadrel
