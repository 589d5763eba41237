#pragma once
// The --json output of the commands that list results: one JSON object per
// result on a line of its own (JSON Lines). Paths and names are byte strings;
// one that is not valid UTF-8 cannot be a JSON string, so it goes under its
// key with "_b64" appended, as the base64 of its exact bytes, and a script
// still gets every name back.

#include <ctime>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "LineOutput.h"

namespace korvala::cli {

// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF): exactly what a JSON text may hold.
bool isValidUtf8(std::string_view bytes);

// Standard base64 (RFC 4648, with '=' padding).
std::string base64(std::string_view bytes);

// A UTC stamp as ISO 8601 local time with the zone's offset at that date
// ("2024-07-01T14:30:05+02:00"): what the grids show, without the ambiguity
// of the repeated autumn hour.
std::string isoLocalTime(const timespec& utc);

// Records keep their fields in the order they were put.
// Sets object[key] to the text, or object[key + "_b64"] to its base64 when it
// is not valid UTF-8.
void putBytes(nlohmann::ordered_json& object, const std::string& key, std::string_view bytes);

// Writes whole lines only: an object becomes a line at once, so a run that
// stops (Ctrl+C, a failing result) never leaves half a record behind.
class TJsonLines {
public:
    // Every string in `object` must be valid UTF-8 (put them with putBytes).
    void write(const nlohmann::ordered_json& object);
    void flush() { m_out.flush(); }

private:
    TLineOutput m_out;
};

}  // namespace korvala::cli
