#include "cli/checked_output.h"

#include <cerrno>

#include <unistd.h>

CCheckedOutput::int_type CCheckedOutput::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

std::streamsize CCheckedOutput::xsputn(const char* bytes, std::streamsize count)
{
    m_pending.append(bytes, static_cast<size_t>(count));
    if (m_pending.size() >= FLUSH_AT && sync() != 0)
        return 0;
    return count;
}

// Once a write has failed, nothing more is tried: the first reason is the one told.
int CCheckedOutput::sync()
{
    size_t done = 0;
    while (done < m_pending.size() && m_failure == 0) {
        const ssize_t n = write(m_fd, m_pending.data() + done, m_pending.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            m_failure = n < 0 ? errno : EIO;
        else
            done += static_cast<size_t>(n);
    }
    m_pending.clear();
    return m_failure == 0 ? 0 : -1;
}
