#pragma once
// Temporary trees for the search tests.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace korvala::test {

class TempTree {
public:
    // `base` is the folder the tree is made in (/tmp unless a test needs a file
    // system where removing thousands of folders is cheap, such as /dev/shm).
    explicit TempTree(const std::string& base = "/tmp")
    {
        std::string tmpl = base + "/korvala-search-XXXXXX";
        const char* p = ::mkdtemp(tmpl.data());
        if (!p)
            ADD_FAILURE() << "mkdtemp failed";
        m_root = p ? p : "/tmp";
    }
    ~TempTree()
    {
        // rm copes with trees deeper than PATH_MAX.
        std::string cmd = "rm -rf '" + m_root + "'";
        if (std::system(cmd.c_str()) != 0)
            std::fprintf(stderr, "could not remove %s\n", m_root.c_str());
    }
    // The root, without a trailing "/".
    const std::string& root() const { return m_root; }
    std::string path(const std::string& rel) const { return m_root + "/" + rel; }

    void dir(const std::string& rel) const
    {
        std::string p = path(rel);
        if (::mkdir(p.c_str(), 0755) != 0)
            ADD_FAILURE() << "mkdir " << p;
    }
    void file(const std::string& rel, const std::string& content = "x") const
    {
        std::ofstream f(path(rel), std::ios::binary);
        f << content;
        if (!f)
            ADD_FAILURE() << "write " << path(rel);
    }

private:
    std::string m_root;
};

}  // namespace korvala::test
