// The journal-picture library as commands 122 and 75 reach it: loaded once,
// by full path from the translator's own folder, on first use.
#pragma once

#include <string>

#include "interfaces/picture_library.h"

namespace quadrel {

// The library's drawing function; null when the library or its entry point
// cannot be found (tried once; BindPictureLibrary tries again).
pictor::DrawJournalPicture PictureDrawer();

// Binds the library at `path` in place of the one beside the translator;
// false when it has no drawing function.
bool BindPictureLibrary(const std::string& path);

// Puts a drawing function in place of the library's (tests record the call).
void UsePictureDrawer(pictor::DrawJournalPicture draw);

}  // namespace quadrel
