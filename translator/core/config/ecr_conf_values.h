// The numbers of GetEcrConfVal: the library's and the host's versions, and
// the fields of the register's configuration record.
#pragma once

namespace quadrel {

// The value of `item` for CurrentEcr, -1 when it is not available. Record
// items read the configuration first (cached); the file-information items of
// an explicitly named register read it again from the register.
int EcrConfValue(int item, bool explicitEcr);

}  // namespace quadrel
