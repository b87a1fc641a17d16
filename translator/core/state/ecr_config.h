// What the translator knows of each register: one EcrConfigRecord per register
// number 1..24 plus a default record in slot 0, and the notion of the current
// register (where frames go) and the selected one (chosen by the client).
#pragma once

#include <cstdint>
#include <string_view>

namespace quadrel {

constexpr int kMaxEcr = 24;

struct EcrConfigRecord {
  int EcrNumber;  // register number of a valid record; 0 = not read or invalid
  char EcrId[33];
  char FirmwareName[23];
  int FirmwareLevel;
  int IdentityE43;
  int IdentityByte47;
  int IdentityWord49;
  int Decimals;
  int LineParam;
  int IdentityFlag48;
  int IdentityBit0, IdentityBit1, IdentityBit6, IdentityBit7;
  int ConfigBlockAddress;
  char ModelCode[9];
  int Version;
  int ModelNumberN;
  char ModelLetter;
  char ModelSubLetter;
  char ModelChar1, ModelChar2;
  int ModelChar1IsLetter;
  int FileAddress[12];
  int AreaAddress[9];
  int Block3Word61;
  int Block3Address;
  int Block1Word61;
  std::uint8_t Block2Data[60];
  int Block3Word1;
  int Block3Word5, Block3Word19;
  int RecordTableAddress;
  int Block3Word7;
  int Block5Address;
  int Block1Word43;
  int Block1Byte45, Block1Byte46;
  std::uint8_t FeatureLevels[128];
  int PrintWidth;
  int AmountBytes;
  int Block4Byte36;
  int RecordCount;
  int OutputWidth;
  int Block4Byte38;
  int Block4Byte57;
  int Block4Byte39;
  int BcdBytesA;
  int BcdBytesB;
  int Block4Width42;
  int Block4Byte43;
  std::uint8_t Block5Data[50];
  int Block3Word71, Block3Word73;
  int CodeBytes;
  int OutputSettingBit4;
  int OutputSettingB;
  int OutputSettingC;
  int ModelLimitA, ModelLimitB, ModelLimitC, ModelLimitD, ModelLimitE, ModelLimitF;
  int ModelFlag;
  int HasInfoFrames;
  int InfoStatus;
  std::uint8_t InfoBlock0[48];
  std::uint8_t FileInfoRaw[84];
  int FileInfo2, FileInfo5;
  int FileInfo8, FileInfo10, FileInfo12;
  int FileFlags;
  int FileInfoB16, FileInfoB17, FileInfoB18, FileInfoB19, FileInfoB20;
  int FileFlag1, FileFlag2, FileFlag4, FileFlag8;
  int InfoFrame24Ok;
  int FileInfoB22, FileInfoB23;
  int FileInfoB24;
  int FileInfo30, FileInfo36, FileInfo39;
  int FileInfoB47;
  int FileInfo33, FileInfo42;
  int FileInfo45;
  int FileInfo56, FileInfo58;
  int FileInfo66;
  int FileInfo69;
  int FileInfoB79, FileInfoB78, FileInfoB80;
  std::uint16_t FileInfoW81;
  std::uint8_t FileInfoB83;
  int Setting15Read;
  int Setting15;
  int Block4Byte48;
  int GraphicMode;
  int Block4Width60;
  int Block4Width59;
  int ExtInfoA;
  int ExtInfoB;
  int CodeDigits;
  int Ext31W11, Ext31W16, Ext31W43;
  int Ext31ConstA;
  int Ext31W48;
  int Ext31ConstB;
  int Ext31W53, Ext31W55;
  int Ext31ConstC;
  int Ext31W30, Ext31W32, Ext31W72, Ext31W74, Ext31W76, Ext31W78;
  int Block3Word81;
  int HasFeature115;
  int TextWidthA;
  int TextWidthB;
  int Model6Level;
  int Block3Byte85;
};

// Whether a model letter is one of `models` ("6ADH": any of those four).
inline bool IsModelIn(char letter, std::string_view models) {
  return letter != 0 && models.find(letter) != std::string_view::npos;
}

// Whether the register keeps its general totals (grand total, closure
// counter) in the 64-byte block at the first area address.
inline bool HasGeneralTotalsBlock(const EcrConfigRecord& r) {
  return r.AreaAddress[0] != 0 && r.ModelLetter != 'N';
}

// Zeroes every slot and gives each the record defaults (process attach).
void ResetAllEcrRecords();

// Marks every record unread (TradClose); the other fields stay.
void InvalidateAllEcrRecords();

EcrConfigRecord& EcrRecord(int slot);  // slot 0..24; anything else is a programming error
EcrConfigRecord& CurrentRecord();      // the record handlers read
void SetCurrentRecordSlot(int slot);

// Register that frames go to, and the register the client selected (0 = none).
int& CurrentEcr();
int& SelectedEcr();

}  // namespace quadrel
