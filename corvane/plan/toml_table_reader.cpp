#include "corvane/plan/toml_table_reader.h"

std::string formatProblem(const std::string& file, const PlanProblem& problem) {
  std::string text = file;
  if (problem.place.line > 0) {
    text += ":" + std::to_string(problem.place.line);
    if (problem.place.column > 0) text += ":" + std::to_string(problem.place.column);
  }
  return text + ": " + problem.message;
}

PlanPlace placeOf(const toml::source_region& region) {
  return {static_cast<int>(region.begin.line), static_cast<int>(region.begin.column)};
}

const char* tomlTypeName(toml::node_type type) {
  switch (type) {
    case toml::node_type::string: return "a string";
    case toml::node_type::integer: return "a whole number";
    case toml::node_type::floating_point: return "a number with a fraction";
    case toml::node_type::boolean: return "true or false";
    case toml::node_type::array: return "a list";
    case toml::node_type::table: return "a table";
    case toml::node_type::date:
    case toml::node_type::time:
    case toml::node_type::date_time: return "a date or time";
    case toml::node_type::none: break;
  }
  return "nothing";
}

TomlTableReader::TomlTableReader(const toml::table& table, std::string where, PlanProblems& problems)
    : table_(table), where_(std::move(where)), problems_(problems) {}

bool TomlTableReader::has(std::string_view key) {
  asked_.emplace(key);
  return table_.contains(key);
}

const toml::node* TomlTableReader::find(std::string_view key, toml::node_type wanted, const char* what) {
  asked_.emplace(key);
  const toml::node* node = table_.get(key);
  if (node == nullptr) return nullptr;
  if (node->type() != wanted) {
    problems_.push_back({::placeOf(node->source()), "\"" + std::string(key) + "\" in " + where_ +
                                                      " must be " + what + ", not " +
                                                      tomlTypeName(node->type())});
    return nullptr;
  }
  return node;
}

std::optional<std::string> TomlTableReader::text(std::string_view key) {
  const toml::node* node = find(key, toml::node_type::string, "a string");
  if (node == nullptr) return std::nullopt;
  return std::string(node->as_string()->get());
}

std::optional<std::int64_t> TomlTableReader::integer(std::string_view key) {
  const toml::node* node = find(key, toml::node_type::integer, "a whole number");
  if (node == nullptr) return std::nullopt;
  return node->as_integer()->get();
}

std::optional<bool> TomlTableReader::flag(std::string_view key) {
  const toml::node* node = find(key, toml::node_type::boolean, "true or false");
  if (node == nullptr) return std::nullopt;
  return node->as_boolean()->get();
}

const toml::array* TomlTableReader::array(std::string_view key) {
  const toml::node* node = find(key, toml::node_type::array, "a list");
  return node == nullptr ? nullptr : node->as_array();
}

const toml::table* TomlTableReader::table(std::string_view key) {
  const toml::node* node = find(key, toml::node_type::table, "a table");
  return node == nullptr ? nullptr : node->as_table();
}

PlanPlace TomlTableReader::placeOf(std::string_view key) const {
  const toml::node* node = table_.get(key);
  return node == nullptr ? place() : ::placeOf(node->source());
}

PlanPlace TomlTableReader::place() const { return ::placeOf(table_.source()); }

void TomlTableReader::problem(std::string_view key, const std::string& message) {
  problems_.push_back({placeOf(key), message});
}

void TomlTableReader::reportUnknownKeys(std::string_view known) {
  for (auto&& [key, node] : table_) {
    if (asked_.count(key.str()) != 0) continue;
    problems_.push_back({::placeOf(key.source()), "unknown key \"" + std::string(key.str()) +
                                                      "\" in " + where_ + " (known: " +
                                                      std::string(known) + ")"});
  }
}
