#include "tools/datetime/DosDateTime.h"

#include "platform/Calendar.h"

namespace korvala {

std::optional<DosDateTime> ToDosDateTime(const DateTimeParts& p)
{
    if (p.year < 1980 || p.year > 2107 || p.month < 1 || p.month > 12 || p.day < 1 ||
        p.day > daysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 ||
        p.second < 0 || p.second > 59)
        return std::nullopt;
    DosDateTime dos;
    dos.time = static_cast<uint16_t>(p.second / 2 + p.minute * 32 + p.hour * 2048);
    dos.date = static_cast<uint16_t>(p.day + p.month * 32 + (p.year - 1980) * 512);
    return dos;
}

std::optional<DateTimeParts> FromDosDateTime(const DosDateTime& dos)
{
    DateTimeParts p;
    p.day = dos.date & 0x1F;
    p.month = (dos.date >> 5) & 0x0F;
    p.year = 1980 + (dos.date >> 9);
    p.second = (dos.time & 0x1F) * 2;
    p.minute = (dos.time >> 5) & 0x3F;
    p.hour = dos.time >> 11;
    if (p.month < 1 || p.month > 12 || p.day < 1 || p.day > daysInMonth(p.year, p.month) ||
        p.hour > 23 || p.minute > 59 || p.second > 59)
        return std::nullopt;
    return p;
}

}  // namespace korvala
