#pragma once
// Result lines for standard output, written in large pieces: a command that
// lists many thousands of results makes one write per 64 KiB, not one per line.

#include <string>
#include <string_view>

namespace korvala::cli {

class TLineOutput {
public:
    TLineOutput() = default;
    ~TLineOutput();
    TLineOutput(const TLineOutput&) = delete;
    TLineOutput& operator=(const TLineOutput&) = delete;

    // Appends to the line under way.
    TLineOutput& operator<<(std::string_view text)
    {
        m_pending.append(text);
        return *this;
    }
    TLineOutput& operator<<(char c)
    {
        m_pending.push_back(c);
        return *this;
    }
    // Ends the line; the lines go out once they fill a piece.
    void endLine();
    // Ends a record that carries its own terminator (NUL-ended paths); it
    // goes out with the lines, never cut.
    void endRecord();
    // Writes everything buffered and flushes standard output.
    void flush();

private:
    std::string m_pending;
};

}  // namespace korvala::cli
