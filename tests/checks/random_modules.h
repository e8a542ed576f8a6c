// Random VB modules for comparing the production checks with the literal
// oracle: a small pool of names so that declarations, uses, comments,
// strings, continuations, Rem, property accessors and event procedures mix
// and collide.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/host_builders.h"

namespace tarno::checks::testing {

class RandomModules {
 public:
  explicit RandomModules(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
  // Module text (UTF-8, "\n" line ends).
  std::string Module(bool form);
  // A project of a few components (standard modules, a class, a form with
  // controls, sometimes a component without code).
  test::TestHost Project();

 private:
  uint32_t Next();
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  std::string Name();
  std::string Declaration();
  std::string BodyLine();
  uint32_t state_;
};

}  // namespace tarno::checks::testing
