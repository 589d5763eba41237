#include "LineOutput.h"

#include <cstdio>

namespace korvala::cli {

namespace {
constexpr std::size_t kPieceSize = 64 * 1024;
}

TLineOutput::~TLineOutput()
{
    flush();
}

void TLineOutput::endLine()
{
    m_pending.push_back('\n');
    endRecord();
}

void TLineOutput::endRecord()
{
    if (m_pending.size() >= kPieceSize)
        flush();
}

void TLineOutput::flush()
{
    // Goes through stdout's own buffer so that it stays in order with
    // std::cout; a failed write is seen by runCommand through ferror.
    if (!m_pending.empty()) {
        std::fwrite(m_pending.data(), 1, m_pending.size(), stdout);
        m_pending.clear();
    }
    std::fflush(stdout);
}

}  // namespace korvala::cli
