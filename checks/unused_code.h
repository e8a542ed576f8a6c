// The unused-code checks on the language model (the precise rules): a
// declaration is used when a reference binds to it from outside its own body
// (recursion alone is no use), when its name is met in inactive #If code, or,
// for a member reachable through an object, when an unresolved member name
// (`x.Name` with x of no known type, CallByName literals) is the same. The
// precise rules then decide what the runtime or other programs use, and
// --transitive leaves out uses that stand only inside unused declarations.
// A module with parse errors gets no findings, and no public declaration
// named on one of its unread lines is reported.
#pragma once

#include <vector>

#include "checks/check_run.h"
#include "lang/model.h"

namespace tarno::checks {

struct UnusedOptions {
  bool variables = true;   // the variable check's kinds
  bool procedures = true;  // the procedure check's kinds
  unsigned kinds = DefaultKinds();
  bool transitive = false;
  uint32_t onlyModule = lang::kUnbound;  // a model module: findings of it alone (uses from all)
};

// facts[p] are the facts of the model's project p. Findings by project, the
// variable check's first (module by module, in line order), then the
// procedure check's; exposed ones carry their verdict.
std::vector<Finding> FindUnused(const lang::Model& model, const std::vector<ProjectFacts>& facts,
                                const UnusedOptions& options);

}  // namespace tarno::checks
