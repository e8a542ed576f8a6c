// --transitive: a procedure whose every use stands inside procedures that are
// themselves unused is unused too. Worked out as reachability: a procedure is
// used when the IDE or a rule calls it, or when one of its uses stands outside
// every candidate procedure (the declarations, code the check does not list)
// or inside a procedure that is used.
#pragma once

#include <vector>

#include "checks/procedure_check.h"

namespace tarno::checks {

// How each candidate was decided before this step.
enum class CandidateState : unsigned char {
  Unused,    // a finding
  Called,    // used without a use in the code: event name, precise rule, exposed
  Searched,  // used through a whole-word match outside its own lines
};

// candidates[c - 1] and states[c - 1] are component c's. Gives, per
// candidate, true for a Searched one that nothing used reaches. Only reads
// `source` (modules and word index complete).
std::vector<std::vector<bool>> UsedOnlyByUnused(ProjectSource& source,
                                                const std::vector<std::vector<ProcedureCandidate>>& candidates,
                                                const std::vector<std::vector<CandidateState>>& states);

}  // namespace tarno::checks
