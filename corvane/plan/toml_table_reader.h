#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include <toml++/toml.h>

#include "corvane/plan/plan_problem.h"

// Reads the keys of one TOML table for the plan parser: each value by the type the
// plan wants, with a problem at the value's place when it has another type, and
// afterwards every key that nobody asked for as unknown, so a misspelt key is never
// silently ignored.
class TomlTableReader {
 public:
  // table must outlive the reader; where names the table in messages ("step 3").
  TomlTableReader(const toml::table& table, std::string where, PlanProblems& problems);

  bool has(std::string_view key);
  std::optional<std::string> text(std::string_view key);
  std::optional<std::int64_t> integer(std::string_view key);
  std::optional<bool> flag(std::string_view key);
  const toml::array* array(std::string_view key);
  const toml::table* table(std::string_view key);

  // Where the key's value stands (the table's own place when the key is missing).
  PlanPlace placeOf(std::string_view key) const;
  PlanPlace place() const;
  void problem(std::string_view key, const std::string& message);
  // One problem for each key that no call above asked for.
  void reportUnknownKeys(std::string_view known);

  const std::string& where() const { return where_; }

 private:
  const toml::node* find(std::string_view key, toml::node_type wanted, const char* what);

  const toml::table& table_;
  std::string where_;
  PlanProblems& problems_;
  std::set<std::string, std::less<>> asked_;
};

PlanPlace placeOf(const toml::source_region& region);
// "a string", "a whole number", ... for "must be X, not Y".
const char* tomlTypeName(toml::node_type type);
