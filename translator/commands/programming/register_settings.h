// Commands 45, 46 and 53: settings the register takes outside its tables,
// each only while it is idle (6 otherwise). The percentages and the records
// of table 4 are keyed through the programming functions of position 4;
// the parameters of model 'N' registers go in one 'C' 10 frame.
#pragma once

namespace quadrel {

// Fields: #1-#4, #12, #13 percentages 0..100 summing to 100 at most (#12 and
// #13 sent only to registers with the extended information); #5, #7, #8, #6
// flags 1, 2, 4, 8 (bare or "1"); #9 v, #10 B, #11 w sizes (14, 16 and v by
// default; w 14 with flag 2). Values out of range give 265.
int CmdProgramPercentages();
// Fields: #1 parameter 1..64, #2 value 0..255 (265 otherwise); 268 off model 'N'.
int CmdSetEcrParameter();
// Fields: #1 record 1..Block4Width42 (265 otherwise), #3, #4, and #5 with
// the text #2 on registers whose function level 76 is 2.
int CmdProgramTable4Record();

}  // namespace quadrel
