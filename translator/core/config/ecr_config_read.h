// Reading a register's configuration into its EcrConfigRecord by the fixed
// sequence of frames, and keeping it as a cache until a forced read or TradClose.
#pragma once

namespace quadrel {

constexpr int READ_CONFIG_FORCE = 0x01;         // read even when the record is valid
constexpr int READ_CONFIG_RECORD_TABLE = 0x02;  // also read the record table

// Fills the record of CurrentEcr. 0 (also for a cache hit), 512 + n when the
// host's status function fails with n, 4 when a frame of the sequence fails
// or its answer is short, 5 when the register's model is not supported.
// On any failure the record is left invalid (EcrNumber 0).
int ReadEcrConfig(int force);

// Reads the file information ('U' 0 1) of CurrentEcr again. 0, the
// exchange's error code, or 8200 when the register does not give it.
int ReadEcrFileInfo();

// The reads of TradInit: register 1, or in multi-register mode every register
// the host marks present. The first record read is copied into slot 0 when
// slot 0 is not valid. CurrentEcr is left as it was. 0 when a register was
// read, else the first failure.
int ReadEcrConfigsAtInit();

}  // namespace quadrel
