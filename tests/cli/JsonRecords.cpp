#include "JsonRecords.h"

#include <gtest/gtest.h>

namespace korvala::test {
namespace {

// Strict RFC 4648 base64 with padding; fails the test on anything else.
std::string decodeBase64(const std::string& text)
{
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z')
            return c - 'A';
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 26;
        if (c >= '0' && c <= '9')
            return c - '0' + 52;
        if (c == '+')
            return 62;
        if (c == '/')
            return 63;
        return -1;
    };
    std::string out;
    if (text.size() % 4 != 0) {
        ADD_FAILURE() << "base64 length not a multiple of 4: " << text;
        return out;
    }
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const int pad = last ? (text[i + 3] == '=') + (text[i + 2] == '=') : 0;
        unsigned bits = 0;
        for (int j = 0; j < 4; ++j) {
            const int v = j >= 4 - pad ? 0 : value(text[i + j]);
            if (v < 0) {
                ADD_FAILURE() << "not base64: " << text;
                return out;
            }
            bits = bits << 6 | unsigned(v);
        }
        out += char(bits >> 16);
        if (pad < 2)
            out += char(bits >> 8 & 0xFF);
        if (pad < 1)
            out += char(bits & 0xFF);
    }
    return out;
}

}  // namespace

std::vector<nlohmann::json> parseJsonLines(const std::string& output)
{
    std::vector<nlohmann::json> records;
    if (!output.empty() && output.back() != '\n')
        ADD_FAILURE() << "the output does not end with a whole line:\n" << output;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        const std::string line = output.substr(start, end - start);
        try {
            records.push_back(nlohmann::json::parse(line));
        } catch (const nlohmann::json::exception& e) {
            ADD_FAILURE() << "not a JSON line (" << e.what() << "): " << line;
        }
        start = end + 1;
    }
    return records;
}

std::string bytesField(const nlohmann::json& record, const std::string& key)
{
    const bool plain = record.contains(key), encoded = record.contains(key + "_b64");
    if (plain == encoded) {
        ADD_FAILURE() << "want exactly one of " << key << " and " << key << "_b64: " << record;
        return {};
    }
    return plain ? record[key].get<std::string>() : decodeBase64(record[key + "_b64"].get<std::string>());
}

}  // namespace korvala::test
