#pragma once
// Standard output as the programs write their results to it: a stream
// buffer over a file descriptor that keeps the reason of its first failed
// write, so that a full disk or a closed descriptor ends the program with
// exit 2 and that reason instead of passing silently. Lines go out at each
// flush (std::endl), so a log cut off by a kill keeps what was printed.

#include <streambuf>
#include <string>

class CCheckedOutput : public std::streambuf {
public:
    explicit CCheckedOutput(int fd) : m_fd(fd) {}
    ~CCheckedOutput() override { sync(); }

    // The errno of the first write that failed, or 0.
    int Failure() const { return m_failure; }

    CCheckedOutput(const CCheckedOutput&) = delete;
    CCheckedOutput& operator=(const CCheckedOutput&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* bytes, std::streamsize count) override;
    int sync() override;

private:
    static constexpr size_t FLUSH_AT = 8192;

    int m_fd;
    std::string m_pending;
    int m_failure = 0;
};
