#include "config/ecr_config_decode.h"

#include <algorithm>
#include <cstring>

#include "config/model_table.h"

namespace quadrel {
namespace {

int DigitValue(int c) {
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

// Copies `count` answer bytes from `from` as a terminated text.
template <std::size_t N>
void CopyText(char (&text)[N], AnswerBytes answer, int from, int count) {
  static_assert(N > 0);
  const int kept = std::min<int>(count, static_cast<int>(N) - 1);
  for (int i = 0; i < kept; ++i) text[i] = static_cast<char>(answer.Byte(from + i));
  text[kept] = '\0';
}

// Two-bit levels of `byteCount` answer bytes from `firstByte`, four per byte,
// highest bits first; `firstMask` masks the first byte.
void SplitLevels(std::uint8_t* levels, AnswerBytes answer, int firstByte, int byteCount,
                 int firstMask = 0xFF) {
  for (int i = 0; i < byteCount; ++i) {
    const int byte = answer.Byte(firstByte + i) & (i == 0 ? firstMask : 0xFF);
    for (int j = 0; j < 4; ++j) levels[4 * i + j] = static_cast<std::uint8_t>((byte >> (6 - 2 * j)) & 3);
  }
}

}  // namespace

bool DecodeIdentity(EcrConfigRecord& r, AnswerBytes a, const HostInfoRecord* host) {
  CopyText(r.EcrId, a, 1, 10);
  CopyText(r.FirmwareName, a, 11, 20);
  r.FirmwareLevel = 10 * DigitValue(r.FirmwareName[0]) + DigitValue(r.FirmwareName[2]);
  r.IdentityE43 = a.Byte(43) == 'E' ? 1 : 0;
  r.IdentityByte47 = a.Byte(47);
  r.IdentityFlag48 = a.Byte(48) != 0 ? 1 : 0;
  r.IdentityWord49 = a.Word(49);
  r.Decimals = a.Byte(62);
  const int options = a.Byte(63);
  r.IdentityBit0 = options & 0x01;
  r.IdentityBit1 = options & 0x02;
  r.IdentityBit6 = options & 0x40;
  r.IdentityBit7 = options & 0x80;
  r.ConfigBlockAddress = a.Word(67);
  CopyText(r.ModelCode, a, 69, 8);

  const char* code = r.ModelCode;
  r.ModelChar1 = code[1];
  r.ModelChar2 = code[2];
  r.ModelChar1IsLetter = code[1] >= 'A' ? 1 : 0;
  if (code[0] == 'T') {
    r.Version = 100 * DigitValue(code[4]) + 10 * DigitValue(code[5]) + DigitValue(code[6]);
    r.ModelSubLetter = ' ';
  } else {
    r.Version = 10 * DigitValue(code[5]) + DigitValue(code[6]);
    r.ModelSubLetter = code[4];
  }
  r.ModelLetter = EffectiveModelLetter(code[0], r.FirmwareName);
  SetTextWidths(r, host);

  if (code[0] == 'Z') {
    if (a.length < kMinLongIdIdentityAnswer) return false;
    CopyText(r.EcrId, a, 77, 18);
  } else if (code[0] == '2' && r.Version < 40) {
    if (a.length < 79) return false;
    r.EcrId[0] = static_cast<char>(a.Byte(77));
    r.EcrId[1] = static_cast<char>(a.Byte(78));
    for (int i = 0; i < 10; ++i) r.EcrId[2 + i] = static_cast<char>(a.Byte(1 + i));
    r.EcrId[12] = '\0';
  }
  r.ModelNumberN = r.ModelLetter == 'N' ? 10 * DigitValue(code[1]) + DigitValue(code[2]) : 0;
  return true;
}

void DecodeBlock1(EcrConfigRecord& r, AnswerBytes b) {
  for (int i = 0; i < 12; ++i) r.FileAddress[i] = b.Word(1 + 2 * i);
  // Entry 0 repeats word 33; words 25-26 are not used.
  const int areaWords[9] = {33, 27, 29, 31, 33, 35, 37, 39, 41};
  for (int i = 0; i < 9; ++i) r.AreaAddress[i] = b.Word(areaWords[i]);
  r.Block1Word43 = b.Word(43);
  r.Block1Byte45 = b.Byte(45);
  r.Block1Byte46 = b.Byte(46);
  r.Block3Address = b.Word(49);
  if (r.Block3Address != 0) r.Block1Word61 = b.Word(61);
}

void DecodeBlock3(EcrConfigRecord& r, AnswerBytes b) {
  r.Block3Word1 = b.Word(1);
  r.Block3Word5 = b.Word(5);
  r.Block3Word7 = b.Word(7);
  r.Block3Word19 = b.Word(19);
  r.RecordTableAddress = b.Word(23);
  r.Block5Address = b.Word(59);
  r.Block3Word61 = b.Word(61);
  r.Block3Word71 = b.Word(71);
  r.Block3Word73 = b.Word(73);
  r.Block3Word81 = b.Word(81);
  r.Block3Byte85 = static_cast<std::int8_t>(b.Byte(85));
  SplitLevels(r.FeatureLevels, b, 89, 24, 0x7F);
}

void DecodeBlock4Levels(EcrConfigRecord& r, AnswerBytes b) {
  if (r.Block3Byte85 & 1) SplitLevels(r.FeatureLevels + 96, b, 1, 8);
}

void DecodeBlock4Widths(EcrConfigRecord& r, AnswerBytes b) {
  const std::uint8_t* levels = r.FeatureLevels;
  r.PrintWidth = b.Byte(33);
  r.AmountBytes = b.Byte(35);
  r.Block4Byte36 = b.Byte(36);
  r.RecordCount = b.Byte(37);
  r.Block4Byte38 = b.Byte(38);
  r.Block4Byte39 = b.Byte(39);
  r.BcdBytesA = b.Byte(40);
  r.BcdBytesB = b.Byte(41);
  r.Block4Width42 = levels[118] ? b.Byte(61) : b.Byte(42);
  r.Block4Byte43 = b.Byte(43);
  r.Block4Byte48 = b.Byte(48);
  r.GraphicMode = b.Byte(49);
  r.Block4Byte57 = b.Byte(57) != 0 ? b.Byte(57) : (levels[85] ? 2 : 1);
  r.LineParam = levels[57] ? (b.Byte(58) != 0 ? b.Byte(58) : 10) : 0;
  r.Block4Width59 = b.Byte(59) != 0 ? b.Byte(59) : r.Block4Byte36;
  r.Block4Width60 = b.Byte(60) != 0 ? b.Byte(60) : r.AmountBytes;
}

void DecodeOutputSettings(EcrConfigRecord& r, AnswerBytes s) {
  const int byte9 = s.Byte(9);
  r.CodeBytes = byte9 & 0x0F;
  r.OutputSettingBit4 = byte9 & 0x10;
  if (s.length >= kLongSettingsAnswer) {
    r.OutputSettingB = s.Byte(10) & 0x0F;
    r.OutputSettingC = s.Byte(10) & 0x30;
  } else {
    r.OutputSettingB = 5;
    r.OutputSettingC = byte9 & 0x20;
  }
}

void DecodeSetting15(EcrConfigRecord& r, AnswerBytes a) {
  r.Setting15 =
      a.length == 3 ? static_cast<std::int8_t>(a.Byte(1)) + 256 * static_cast<std::int8_t>(a.Byte(2)) : 5;
}

void DecodeFileInfo(EcrConfigRecord& r, AnswerBytes u, bool full) {
  for (int i = 0; i < 84; ++i) r.FileInfoRaw[i] = static_cast<std::uint8_t>(u.Byte(2 + i));
  if (full) {
    r.FileInfo2 = u.Triple(2);
    r.FileInfo5 = u.Triple(5);
    r.FileInfo30 = u.Triple(30);
    r.FileInfoW81 = static_cast<std::uint16_t>(u.Word(81));
    r.FileInfoB83 = static_cast<std::uint8_t>(u.Byte(83));
  }
  r.FileInfo8 = u.Word(8);
  r.FileInfo10 = u.Word(10);
  r.FileInfo12 = u.Word(12);
  r.FileFlags = u.Byte(15);
  r.FileFlag1 = r.FileFlags & 1;
  r.FileFlag2 = r.FileFlags & 2;
  r.FileFlag4 = r.FileFlags & 4;
  r.FileFlag8 = r.FileFlags & 8;
  r.FileInfoB16 = u.Byte(16);
  r.FileInfoB17 = u.Byte(17);
  r.FileInfoB18 = u.Byte(18);
  r.FileInfoB19 = u.Byte(19);
  r.FileInfoB20 = u.Byte(20);
  r.FileInfoB22 = u.Byte(22);
  r.FileInfoB23 = u.Byte(23);
  r.FileInfoB24 = u.Byte(24) != 0 ? u.Byte(24) : u.Byte(23);
  r.FileInfo33 = u.Triple(33);
  r.FileInfo36 = u.Triple(36);
  r.FileInfo39 = u.Triple(39);
  r.FileInfo42 = u.Triple(42);
  r.FileInfo45 = u.Word(45);
  r.FileInfoB47 = u.Byte(47);
  r.FileInfo56 = u.Word(56);
  r.FileInfo58 = u.Word(58);
  r.FileInfo66 = u.Triple(66);
  r.FileInfo69 = u.Word(69);
  r.FileInfoB78 = u.Byte(78);
  r.FileInfoB79 = u.Byte(79);
  r.FileInfoB80 = u.Byte(80);
}

void ClearExt31(EcrConfigRecord& r) {
  r.Ext31W11 = r.Ext31W16 = r.Ext31W43 = r.Ext31ConstA = r.Ext31W48 = r.Ext31ConstB = 0;
  r.Ext31W53 = r.Ext31W55 = r.Ext31ConstC = 0;
  r.Ext31W30 = r.Ext31W32 = r.Ext31W72 = r.Ext31W74 = r.Ext31W76 = r.Ext31W78 = 0;
}

void DecodeExt31(EcrConfigRecord& r, AnswerBytes u) {
  r.Ext31W11 = u.Word(11);
  r.Ext31W16 = u.Word(16);
  r.Ext31W43 = u.Word(43);
  r.Ext31ConstA = 60;
  r.Ext31W48 = u.Word(48);
  r.Ext31ConstB = 61;
  r.Ext31W53 = u.Word(53);
  r.Ext31W55 = u.Word(55);
  r.Ext31ConstC = 62;
  r.Ext31W30 = u.Word(30);
  r.Ext31W32 = u.Word(32);
  r.Ext31W72 = u.Word(72);
  r.Ext31W74 = u.Word(74);
  r.Ext31W76 = u.Word(76);
  r.Ext31W78 = u.Word(78);
}

}  // namespace quadrel
