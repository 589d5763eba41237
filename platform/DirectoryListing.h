#pragma once
// One folder read once: every name in memory, the folder kept open as a
// descriptor so that its entries are examined relative to it (no path lookups,
// no PATH_MAX limit), and the details of an entry (attribute word, size, three
// time stamps) read only when someone asks for them.
//
// Name masks are matched against the names in memory. Matching several masks
// gives the entries mask by mask, each in listing order, exactly as if the
// folder had been listed once per mask.
//
// Errors: see platform/SystemError.h. The details of an entry that cannot be
// read are zeroes with the bits of its type, and detailsUnreadable tells so: a
// search passes over such an entry.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace korvala {

// What the listing knows of an entry without asking for its details.
enum class EntryType : uint8_t {
    Unknown,    // the file system did not say; resolved by a stat on demand
    File,
    Directory,  // a real folder (never a symbolic link to one)
    Symlink,
    Other,      // device, FIFO, socket
};

// The details of one entry, in the program's terms.
struct EntryDetails {
    uint32_t attributes = 0;  // the 32-bit attribute word (FILE_ATTRIBUTE_*)
    int64_t size = 0;         // bytes; 0 for folders
    timespec created{};       // UTC
    timespec modified{};      // UTC
    timespec accessed{};      // UTC
};

class DirectoryListing {
public:
    DirectoryListing() = default;
    ~DirectoryListing();
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;
    DirectoryListing(DirectoryListing&& other) noexcept;
    DirectoryListing& operator=(DirectoryListing&& other) noexcept;

    // Opens the folder `name` relative to the folder descriptor `parentFd`
    // (kWorkingFolder of platform/File.h: `name` is a path) and reads all its names except "." and "..".
    // A final symbolic link is not followed (ELOOP / ENOTDIR): linked folders are
    // never entered. On failure the listing is empty.
    // `parent`, when given, is the listing `parentFd` belongs to: a sub-folder on
    // the same device shares its attribute store without asking the file system.
    std::error_code open(int parentFd, const std::string& name, const DirectoryListing* parent = nullptr);

    // The folder's descriptor, or -1 once released.
    int fd() const { return m_fd; }
    // Closes the descriptor while keeping the names (deep walks keep few
    // descriptors open). Details already read stay available; new ones are not.
    void releaseFd();
    // Opens the folder again after releaseFd, as `name` relative to `parentFd`
    // (".." from a sub-folder works), and checks that it is the same folder
    // (ESTALE when another folder has taken the name).
    std::error_code reopenFd(int parentFd, const std::string& name);
    // Device and inode of the folder, recorded when opened.
    uint64_t device() const { return m_dev; }
    uint64_t inode() const { return m_ino; }

    // True on local disk file systems, where a read that returns fewer bytes
    // than asked for has reached the end of the file.
    bool shortReadIsEnd() const { return m_shortReadIsEnd; }

    size_t size() const { return m_offsets.size(); }
    std::string_view name(size_t i) const;
    // The entry's type; Unknown is resolved with one stat relative to the folder.
    EntryType type(size_t i);

    // True when the name (hidden by convention) starts with ".".
    bool isDotName(size_t i) const { return name(i).front() == '.'; }

    // The entry's attribute word, computed the way getFileAttributes computes it
    // (stored bits from the file system's attribute store, derived bits from the
    // file itself; a symbolic link to a folder is reparse point + directory;
    // hidden for a dot name or a name the folder's ".hidden" lists, read once
    // when the folder is opened).
    // `needed` tells which bits the caller looks at: bits outside it may be left
    // out when reading them would cost a system call (pass 0xFFFFFFFF for all).
    uint32_t attributes(size_t i, uint32_t needed = 0xFFFFFFFFu);
    // Every detail of the entry (attributes complete). An entry whose details
    // cannot be read gives zeroed details with its type's bits.
    const EntryDetails& details(size_t i);
    // True when the entry's details cannot be read: the folder can be listed
    // but not entered (read without search permission), or reading them was
    // tried and failed (the entry vanished, the descriptor was released).
    // Asks nothing of the file system.
    bool detailsUnreadable(size_t i) const
    {
        return m_outOfReach || (!m_states.empty() && m_states[i].statFailed);
    }
    // True when the folder's names were read but its entries cannot be
    // examined (no search permission).
    bool entriesOutOfReach() const { return m_outOfReach; }
    // The entry's size alone (one stat, no attribute store).
    int64_t entrySize(size_t i);

    // Reads the attribute store of the given entries ahead of attributes()
    // questions; with many entries and `share`, the reads are shared with a
    // helper thread (each costs a system call, and they are independent),
    // except when KORVALA_SINGLE_THREAD=1 (for measurements against
    // single-threaded tools). Results are the same as reading them one by one.
    void prefetchStored(const std::vector<size_t>& indices, bool share = true);

    // Indices of the entries that match `masks`, mask by mask, each in listing
    // order; an entry that fits two masks is given twice.
    std::vector<size_t> matchMasks(const std::vector<std::string>& masks) const;

private:
    // Lazily read details of one entry.
    struct State {
        uint8_t have = 0;        // HaveStat | HaveStored
        uint32_t stored = 0;     // bits from the attribute store
        bool storedCreated = false;
        timespec storedCreatedTime{};
        bool linkToFolder = false;
        bool statFailed = false;
        uint32_t statAttrs = 0;  // bits derived from the stat
        EntryDetails details{};
    };
    void ensureStat(size_t i);
    void ensureStored(size_t i);
    uint32_t derivedBits(size_t i) const;
    std::error_code readHiddenNames();

    int m_fd = -1;
    uint64_t m_dev = 0;
    uint64_t m_ino = 0;
    bool m_shortReadIsEnd = false;
    bool m_outOfReach = false;        // names listed, entries not reachable
    const void* m_store = nullptr;    // the folder's attribute store (platform internal)
    std::string m_names;              // every name, each followed by NUL
    std::vector<uint32_t> m_offsets;  // where each name starts in m_names
    std::vector<EntryType> m_types;
    std::vector<State> m_states;      // allocated when details are first asked for
    std::vector<bool> m_listedHidden; // per entry, when the folder's ".hidden" lists names
};

// How many folder descriptors a walk may keep open at once: half of what the
// process may open (the rest is left to files being read, the output and the
// folder being listed), and never more than `wanted`; at least 2.
size_t folderDescriptorBudget(size_t wanted);

// True when `error` says the process (or the system) ran out of descriptors:
// closing some lets the same open succeed.
bool isDescriptorShortage(std::error_code error);

// False when KORVALA_SINGLE_THREAD=1: listings and walks keep every read on
// the calling thread.
bool listingHelperAllowed();

// The platform's listing mask rules: "*" any run and "?" one character, without
// regard to case; "*" and "*.*" match every name; a mask ending in ".*" also
// matches names without an extension ("abc.*" lists abc); a mask ending in "."
// matches only names without an extension ("*." lists README, "abc." lists abc).
bool listingMaskMatches(std::string_view name, std::string_view mask);

}  // namespace korvala
