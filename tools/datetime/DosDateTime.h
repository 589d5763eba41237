#pragma once
// The two-word DOS date-time form: local time in two-second steps, years 1980 to
// 2107. The DateTime Changer writes whole-date values through it. Values out of
// range give nothing (std::nullopt); nothing here throws.

#include <cstdint>
#include <optional>

namespace korvala {

// A calendar date and time of day, as plain fields.
struct DateTimeParts {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

struct DosDateTime {
    uint16_t date = 0;  // day + month x 32 + (year - 1980) x 512
    uint16_t time = 0;  // seconds / 2 + minute x 32 + hour x 2048
};

// The DOS form of a date and time: milliseconds dropped, odd seconds down to the
// even second below. Nothing for years outside 1980 to 2107 or fields out of range.
std::optional<DosDateTime> ToDosDateTime(const DateTimeParts& parts);

// The date and time a DOS form stands for; nothing when a field is out of range
// (month 0 or 13, a day the month lacks, hour 24, minute 60, second 60 and above).
std::optional<DateTimeParts> FromDosDateTime(const DosDateTime& dos);

}  // namespace korvala
