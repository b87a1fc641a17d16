// Command 51: writes or deletes one article of the register's article file.
#pragma once

namespace quadrel {

int CmdArticle();

}  // namespace quadrel
