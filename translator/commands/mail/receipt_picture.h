// Command 122: the register's last receipt (or one of the day's earlier
// ones) drawn into a bitmap by the journal-picture library; and the steps
// command 75 shares with it.
#pragma once

#include <string>

namespace quadrel {

// The journal and header work files, in the current folder.
inline constexpr char kReceiptLinesFile[] = "dumplastsco.txt";
inline constexpr char kHeaderLinesFile[] = "headder.txt";

constexpr std::size_t kReceiptNumberChars = 11;
constexpr std::size_t kPictureNameChars = 255;

struct LastReceipt {
  std::string number;  // digits, as the register counts
  std::string date;    // DDMMYY
};

// Asks the register for its last receipt number and its date. Returns the
// failing line's result, or 265 when an answer is not a number or a date.
int ReadLastReceipt(LastReceipt& receipt);

// Writes the receipt's journal lines (whatever that read gives) and the
// header lines into the work files. Returns the header dump's result.
int FetchReceiptLines(const LastReceipt& receipt);

// Draws the work files into `pictureName`; false without the library.
bool DrawReceiptPicture(const std::string& pictureName);

int CmdReceiptPicture();

}  // namespace quadrel
