// The journal-picture library (libpictor) that commands 122 and 75 call to
// turn the last receipt's journal lines into a picture file: its file name
// and its one entry point. Quadrel loads it by full path from its own folder.
#pragma once

#include "interfaces/translator_exports.h"

namespace pictor {

#if defined(_WIN32)
inline constexpr char kLibraryFile[] = "libpictor.dll";
#else
inline constexpr char kLibraryFile[] = "libpictor.so";
#endif
inline constexpr char kDrawEntry[] = "DGFE2BMPFile";

// Draws the lines of `journalFile` (and of the header-lines file named in
// `field2`) into a 24-bit Windows bitmap `pictureFile`. `ecrId` and
// `firmware` are the register's texts; `field1`..`field8` are the parameter
// slots of the calling command. Returns 0 when the picture was written.
using DrawJournalPicture = int(QUADREL_CALL*)(const char* journalFile, const char* pictureFile,
                                               const char* ecrId, const char* field1, const char* field2,
                                               const char* field3, const char* field4, const char* field5,
                                               const char* field6, const char* field7, const char* field8,
                                               const char* firmware);

}  // namespace pictor
