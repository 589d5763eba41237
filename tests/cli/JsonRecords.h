#pragma once
// Reading --json output back in the tests: lines parsed as JSON, and byte
// fields (KEY, or KEY_b64 in base64 for text that is not UTF-8) decoded with
// a base64 reader of the tests' own.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace korvala::test {

// One JSON value per line; fails the running test when the output does not
// end with a line feed or a line is not JSON.
std::vector<nlohmann::json> parseJsonLines(const std::string& output);

// The bytes of `key` in a record: record[key], or record[key + "_b64"]
// decoded. Fails the running test unless exactly one of them is there.
std::string bytesField(const nlohmann::json& record, const std::string& key);

}  // namespace korvala::test
