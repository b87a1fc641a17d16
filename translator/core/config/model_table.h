// What the register's model letter and version decide in its configuration
// record: the supported models and their limits, the fixed widths of model
// 'C' registers that give none, and the widths that depend on the model.
#pragma once

#include "interfaces/host_info.h"
#include "language/result_codes.h"
#include "state/ecr_config.h"

namespace quadrel {

// Model '1' registers with some firmware are model 'S' registers.
char EffectiveModelLetter(char letter, const char* firmwareName);

// The model's text widths, from ModelLetter and Version (and the host's wide-text indicator).
void SetTextWidths(EcrConfigRecord& record, const HostInfoRecord* host);

// Sets the per-model defaults and then the row of ModelLetter: limits,
// ModelFlag, Model6Level. 0, or 5 for a model letter that is not supported.
int ApplyModelTable(EcrConfigRecord& record);

// The widths of a model 'C' register whose block 4 gives no print width.
void ApplyModelCFixedWidths(EcrConfigRecord& record);

// OutputWidth: PrintWidth up to 32 columns, or wider only on the models that print wider.
int OutputWidthFor(const EcrConfigRecord& record);

}  // namespace quadrel
