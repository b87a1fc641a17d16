// The texts of the information enquiry's items, one function per kind of
// source: the PC and the line, the configuration record, the register's
// memory blocks and its journal memory.
#pragma once

#include <string>

namespace quadrel {

struct EcrConfigRecord;

// An item's answer: a result code and, on success, its text.
struct InfoItem {
  int code = 0;
  std::string text;
};

// Items of the line and the host (5, 6, 8) and of the configuration record (1-4, 7, 13-15).
InfoItem LineStateItem();
InfoItem ConfigItem(int item, EcrConfigRecord& record);
// Items read from the register's memory blocks (10-12, 16-20).
InfoItem MemoryBlockItem(int item, const EcrConfigRecord& record);
// Item 21: the stamp of the journal memory's current block.
InfoItem JournalStampItem(const EcrConfigRecord& record);

}  // namespace quadrel
