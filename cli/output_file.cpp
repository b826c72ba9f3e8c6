#include "cli/output_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The temporary files a signal handler removes: fixed storage, no allocation.
constexpr int SLOTS = 32;
char s_paths[SLOTS][PATH_MAX];
volatile sig_atomic_t s_used[SLOTS];
unsigned s_nextName = 0;

int take_slot(const std::string& path)
{
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < SLOTS; ++i)
        if (!s_used[i]) {
            std::memcpy(s_paths[i], path.c_str(), path.size() + 1);
            s_used[i] = 1;
            return i;
        }
    return -1;
}

void free_slot(int& slot)
{
    if (slot >= 0)
        s_used[slot] = 0;
    slot = -1;
}

std::string folder_of(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string base_of(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* kind_of(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISLNK(mode))
        return "a symbolic link";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

// Refuses a target that exists and is not a regular file; true when it does not exist.
bool regular_or_absent(const std::string& target, struct stat& st, bool& exists, std::string& error)
{
    exists = lstat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) {
        error = target + ": " + std::strerror(errno);
        return false;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        error = target + ": is " + kind_of(st.st_mode) + ", not a regular file; not overwritten";
        return false;
    }
    return true;
}

// "OUT.vcd.4711-0.part" beside the target; when that name is longer than the
// folder takes, the short ".4711-0.part", so that any name it takes can be written.
std::string temp_name(const std::string& target, pid_t pid, unsigned number)
{
    const std::string own = "." + std::to_string(pid) + "-" + std::to_string(number) + ".part";
    const std::string folder = folder_of(target);
    const long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
    if (longest <= 0 || base_of(target).size() + own.size() <= static_cast<size_t>(longest))
        return target + own;
    return (target.find('/') == std::string::npos ? "" : (folder == "/" ? "" : folder) + "/") + own;
}

// Whether `name` ends with ".PID-N.part", the temporary names of process `pid`.
bool is_temp_of(const char* name, pid_t pid)
{
    const std::string text = name;
    const std::string mark = "." + std::to_string(pid) + "-";
    const size_t at = text.rfind(mark);
    if (at == std::string::npos || text.size() < 5 || text.compare(text.size() - 5, 5, ".part") != 0)
        return false;
    const size_t digits = at + mark.size();
    const size_t end = text.size() - 5;
    return digits < end && text.find_first_not_of("0123456789", digits) == end;
}

}  // namespace

COutputFile::COutputFile(std::string target) : m_target(std::move(target)) {}

COutputFile::~COutputFile() { Discard(); }

bool COutputFile::Check(const std::string& target, const std::vector<std::string>& inputs, std::string& error)
{
    if (target.empty() || target.back() == '/') {
        error = target + ": not a file name";
        return false;
    }
    struct stat st {};
    bool exists = false;
    const long longest = pathconf(folder_of(target).c_str(), _PC_NAME_MAX);
    if (longest > 0 && base_of(target).size() > static_cast<size_t>(longest)) {
        error = target + ": the name is longer than the " + std::to_string(longest) + " bytes a name may have there";
        return false;
    }
    if (!regular_or_absent(target, st, exists, error))
        return false;
    if (exists)
        for (const std::string& input : inputs) {
            struct stat in {};
            if (stat(input.c_str(), &in) == 0 && in.st_dev == st.st_dev && in.st_ino == st.st_ino) {
                error = target + ": is the input " + input + "; not overwritten";
                return false;
            }
        }
    const std::string folder = folder_of(target);
    struct stat dir {};
    if (stat(folder.c_str(), &dir) != 0) {
        error = target + ": no folder " + folder + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(dir.st_mode)) {
        error = target + ": " + folder + " is not a folder";
        return false;
    }
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        error = target + ": cannot write in " + folder + ": " + std::strerror(errno);
        return false;
    }
    // The folder's modes do not bind every user (root) nor tell a read-only
    // file system: a temporary file made and removed at once does.
    COutputFile probe(target);
    if (!probe.Open(error)) {
        error = target + ": cannot write in " + folder + ": " + std::strerror(probe.m_openErrno);
        return false;
    }
    return true;
}

bool COutputFile::EnsureFolder(const std::string& folder, std::string& error)
{
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0 && errno == ENOENT && mkdir(folder.c_str(), 0777) != 0) {
        error = folder + ": cannot make the folder: " + std::strerror(errno);
        return false;
    }
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = folder + ": not a directory";
        return false;
    }
    return true;
}

bool COutputFile::CheckFolder(const std::string& folder, bool& exists, std::string& error)
{
    struct stat st {};
    exists = stat(folder.c_str(), &st) == 0;
    if (exists && !S_ISDIR(st.st_mode)) {
        error = folder + ": not a directory";
        return false;
    }
    if (exists)
        return true;  // each target in it is checked on its own
    std::string name = folder;
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    const std::string parent = folder_of(name);
    int why = errno == ENOENT ? 0 : errno;
    if (!why && (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
        why = errno ? errno : ENOTDIR;
    if (!why && access(parent.c_str(), W_OK | X_OK) != 0)
        why = errno;
    // As in Check: the modes do not bind root nor tell a read-only file system.
    COutputFile probe(name);
    if (!why && !probe.Open(error))
        why = probe.m_openErrno ? probe.m_openErrno : EACCES;
    if (why) {
        error = folder + ": cannot make the folder: " + std::strerror(why);
        return false;
    }
    return true;
}

std::string COutputFile::FolderOf(const std::string& path) { return folder_of(path); }

bool COutputFile::SameTarget(const std::string& a, const std::string& b)
{
    if (base_of(a) != base_of(b))
        return false;
    struct stat da {
    }, db{};
    if (stat(folder_of(a).c_str(), &da) != 0 || stat(folder_of(b).c_str(), &db) != 0)
        return folder_of(a) == folder_of(b);
    return da.st_dev == db.st_dev && da.st_ino == db.st_ino;
}

bool COutputFile::Open(std::string& error)
{
    Discard();
    // A name of this process's own: two runs writing one target never share it.
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_tempPath = temp_name(m_target, getpid(), s_nextName++);
        m_slot = take_slot(m_tempPath);
        const int fd = open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            m_file = fdopen(fd, "w");
            if (m_file)
                return true;
            error = m_tempPath + ": " + std::strerror(errno);
            close(fd);
            unlink(m_tempPath.c_str());
            free_slot(m_slot);
            return false;
        }
        const int why = m_openErrno = errno;
        free_slot(m_slot);
        if (why != EEXIST) {
            error = "cannot create " + m_tempPath + ": " + std::strerror(why);
            m_tempPath.clear();
            return false;
        }
    }
    error = "cannot create a temporary file beside " + m_target;
    m_tempPath.clear();
    return false;
}

bool COutputFile::Write(const void* bytes, size_t size, std::string& error)
{
    if (!m_file || std::fwrite(bytes, 1, size, m_file) != size) {
        error = "cannot write " + m_tempPath + ": " + std::strerror(m_file ? errno : EBADF);
        return false;
    }
    return true;
}

bool COutputFile::WriteWhole(const std::string& target, const void* bytes, size_t size, std::string& error)
{
    COutputFile file(target);
    return Check(target, {}, error) && file.Open(error) && file.Write(bytes, size, error) && file.Commit(error);
}

bool COutputFile::Commit(std::string& error)
{
    if (!m_file) {
        error = m_target + ": never opened";
        return false;
    }
    const bool flushed = std::fflush(m_file) == 0 && std::ferror(m_file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(m_file) == 0;
    const int closeError = errno;
    m_file = nullptr;
    if (!flushed || !closed) {
        error = "cannot write " + m_tempPath + ": " + std::strerror(flushed ? closeError : flushError);
        Discard();
        return false;
    }
    // Looked at again: what was checked before the run may have changed since.
    struct stat st {};
    bool exists = false;
    if (!regular_or_absent(m_target, st, exists, error)) {
        Discard();
        return false;
    }
    if (std::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
        error = "cannot rename " + m_tempPath + " to " + m_target + ": " + std::strerror(errno);
        Discard();
        return false;
    }
    free_slot(m_slot);
    m_tempPath.clear();
    return true;
}

void COutputFile::Discard()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_tempPath.empty())
        unlink(m_tempPath.c_str());
    free_slot(m_slot);
    m_tempPath.clear();
}

void COutputFile::RemoveTemporariesOf(pid_t pid, const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir))
        if (is_temp_of(entry->d_name, pid))
            unlinkat(dirfd(dir), entry->d_name, 0);
    closedir(dir);
}

void COutputFile::RemoveTemporaries()
{
    for (int i = 0; i < SLOTS; ++i)
        if (s_used[i])
            unlink(s_paths[i]);
}
