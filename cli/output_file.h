#pragma once
// An output file written so that nothing is ever clobbered and nothing half
// written stands under the target's name: the bytes go to a temporary file
// created exclusively, under a name of its own, in the target's folder
// ("OUT.vcd.4711-0.part", or ".4711-0.part" beside a name too long for
// that), and Commit renames it over the target at the end. A target that exists and is
// not a regular file (a device node, a FIFO, a directory, a symbolic link)
// is never replaced. Open temporary files are listed where a signal handler
// can remove them (RemoveTemporaries), and an output destroyed uncommitted
// removes its own.

#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

class COutputFile {
public:
    explicit COutputFile(std::string target);
    ~COutputFile();

    // Whether `target` may be written, before any work: refused when it
    // exists and is not a regular file, when it is one of `inputs` (the same
    // file, by device and inode), or when its folder cannot be written.
    static bool Check(const std::string& target, const std::vector<std::string>& inputs, std::string& error);
    // Whether two names lead to the same file, existing or not (the same
    // folder and the same name in it).
    static bool SameTarget(const std::string& a, const std::string& b);

    // A folder for outputs: made when missing (its parent must be there);
    // false with the reason when it cannot be made or is not a folder.
    static bool EnsureFolder(const std::string& folder, std::string& error);
    // Whether EnsureFolder would succeed, before any work and making nothing:
    // `exists` tells whether the folder is there already.
    static bool CheckFolder(const std::string& folder, bool& exists, std::string& error);
    // "dir/a.vcd" -> "dir"; "a.vcd" -> ".".
    static std::string FolderOf(const std::string& path);

    // A whole output at once: Check (with no inputs), then the bytes through
    // the temporary file; false with the reason, the target left as it was.
    static bool WriteWhole(const std::string& target, const void* bytes, size_t size, std::string& error);

    // Creates the temporary file; false with the system's reason.
    bool Open(std::string& error);
    std::FILE* Stream() const { return m_file; }
    // Writes `bytes` whole; false with the system's reason (the file stays open).
    bool Write(const void* bytes, size_t size, std::string& error);
    // Closes the temporary file and renames it to the target; on any failure
    // the temporary file is removed and the target left as it was.
    bool Commit(std::string& error);
    // Closes and removes the temporary file; the target is left as it was.
    void Discard();

    const std::string& Target() const { return m_target; }
    const std::string& TempPath() const { return m_tempPath; }

    // Removes every temporary file still open. Async-signal-safe.
    static void RemoveTemporaries();
    // Removes what another process of ours left in `folder` when it died:
    // its temporary files, named after its pid.
    static void RemoveTemporariesOf(pid_t pid, const std::string& folder);

    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

private:
    std::string m_target;
    std::string m_tempPath;
    std::FILE* m_file = nullptr;
    int m_slot = -1;  // in the list the signal handler reads
    int m_openErrno = 0;
};
