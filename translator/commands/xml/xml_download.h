// Command 121: the daily XML documents of a telematic register copied from
// its document store into files, or the register told to send them.
#pragma once

namespace quadrel {

int CmdXmlDownload();

}  // namespace quadrel
