#include "trace/vcd_writer.h"

#include <cerrno>
#include <cstring>

namespace {

uint64_t mask_of(int width) { return width >= 64 ? ~uint64_t{0} : (uint64_t{1} << width) - 1; }

}  // namespace

CVcdWriter::~CVcdWriter() = default;

std::string CVcdWriter::TempPathFor(const std::string& path) { return path + "."; }

// Printable characters '!' to '~', the first of them varying fastest.
std::string CVcdWriter::IdentifierOf(int var)
{
    std::string id;
    do {
        id += static_cast<char>('!' + var % 94);
        var /= 94;
    } while (var-- > 0);
    return id;
}

int CVcdWriter::AddVariable(const std::string& scope, const std::string& name, int width, uint64_t initial)
{
    const int var = static_cast<int>(m_vars.size());
    width = width < 1 ? 1 : (width > 64 ? 64 : width);
    initial &= mask_of(width);
    m_vars.push_back(CVariable{scope, name, width, false, false, IdentifierOf(var), initial, initial, false});
    m_dirty.reserve(m_vars.size());
    return var;
}

int CVcdWriter::AddNumber(const std::string& scope, const std::string& name, uint64_t initial, bool isSigned)
{
    const int var = AddVariable(scope, name, 64, initial);
    m_vars.back().real = true;
    m_vars.back().isSigned = isSigned;
    return var;
}

bool CVcdWriter::Open(const std::string& path, std::string& error)
{
    m_output = std::make_unique<COutputFile>(path);
    if (!m_output->Open(error)) {
        m_output.reset();
        return false;
    }
    m_file = m_output->Stream();
    std::fprintf(m_file, "$version %s $end\n", m_program.c_str());
    if (!m_comment.empty())
        std::fprintf(m_file, "$comment %s $end\n", m_comment.c_str());
    std::fputs("$timescale 1ms $end\n$scope module trelvik $end\n", m_file);
    const std::string* open = nullptr;
    for (const CVariable& var : m_vars) {
        if (!open || *open != var.scope) {
            if (open)
                std::fputs("$upscope $end\n", m_file);
            std::fprintf(m_file, "$scope module %s $end\n", var.scope.c_str());
            open = &var.scope;
        }
        std::fprintf(m_file, "$var %s %d %s %s $end\n", var.real ? "real" : "wire", var.width, var.id.c_str(),
                     var.name.c_str());
    }
    if (open)
        std::fputs("$upscope $end\n", m_file);
    std::fputs("$upscope $end\n$enddefinitions $end\n", m_file);
    m_pendingMs = 0;
    m_dumped = false;
    return true;
}

void CVcdWriter::Change(int var, uint64_t timeMs, uint64_t value)
{
    CVariable& v = m_vars[static_cast<size_t>(var)];
    value &= mask_of(v.width);
    if (timeMs > m_pendingMs) {
        Flush();
        m_pendingMs = timeMs;
    }
    if (value == v.value)
        return;
    v.value = value;
    if (m_dumped && !v.listed) {
        v.listed = true;
        m_dirty.push_back(var);  // capacity reserved: one slot per variable
    }
}

void CVcdWriter::WriteValue(const CVariable& var)
{
    if (var.real && var.isSigned) {
        Count(std::fprintf(m_file, "r%lld %s\n", static_cast<long long>(var.value), var.id.c_str()));
        return;
    }
    if (var.real) {
        Count(std::fprintf(m_file, "r%llu %s\n", static_cast<unsigned long long>(var.value), var.id.c_str()));
        return;
    }
    if (var.width == 1) {
        Count(std::fprintf(m_file, "%c%s\n", var.value ? '1' : '0', var.id.c_str()));
        return;
    }
    char bits[66];
    int n = 0;
    bits[n++] = 'b';
    int top = 63;
    while (top > 0 && !((var.value >> top) & 1))
        --top;
    for (int b = top; b >= 0; --b)
        bits[n++] = ((var.value >> b) & 1) ? '1' : '0';
    bits[n] = '\0';
    Count(std::fprintf(m_file, "%s %s\n", bits, var.id.c_str()));
}

// Counts what was written; the dump stops growing once it passes its limit.
void CVcdWriter::Count(int written)
{
    if (written > 0)
        m_bytes += static_cast<uint64_t>(written);
    else if (written < 0 && !m_writeErrno)
        m_writeErrno = errno;  // EFBIG over the file size limit, ENOSPC on a full disk
    m_full = m_full || m_bytes >= m_byteLimit;
}

// Writes the pending millisecond: the whole dump at time 0, later only what
// changed and does not end where it began.
void CVcdWriter::Flush()
{
    if (!m_file || m_full || m_writeErrno)
        return;
    if (!m_dumped) {
        std::fputs("#0\n$dumpvars\n", m_file);
        for (CVariable& var : m_vars) {
            WriteValue(var);
            var.written = var.value;
        }
        std::fputs("$end\n", m_file);
        m_dumped = true;
        m_lastWrittenMs = 0;
        return;
    }
    bool stamped = false;
    for (int index : m_dirty) {
        CVariable& var = m_vars[static_cast<size_t>(index)];
        var.listed = false;
        if (var.value == var.written)
            continue;  // back where the millisecond began
        if (!stamped) {
            Count(std::fprintf(m_file, "#%llu\n", static_cast<unsigned long long>(m_pendingMs)));
            stamped = true;
            m_lastWrittenMs = m_pendingMs;
        }
        WriteValue(var);
        var.written = var.value;
    }
    m_dirty.clear();
}

bool CVcdWriter::Finish(uint64_t endMs, std::string& error)
{
    if (!m_file) {
        error = "the trace was never opened";
        return false;
    }
    Flush();
    if (endMs > m_pendingMs)
        m_pendingMs = endMs;
    Flush();
    if (m_pendingMs > m_lastWrittenMs && !m_full)
        std::fprintf(m_file, "#%llu\n", static_cast<unsigned long long>(m_pendingMs));
    m_file = nullptr;
    if (m_writeErrno) {
        error = "cannot write " + m_output->TempPath() + ": " + std::strerror(m_writeErrno);
        m_output.reset();  // removes the temporary file
        return false;
    }
    if (m_full) {
        error = m_output->Target() + ": the trace reached its limit of " + std::to_string(m_byteLimit >> 20) +
                " MB at " + std::to_string(m_lastWrittenMs) + " ms (--vcd-limit); not written";
        m_output.reset();  // removes the temporary file
        return false;
    }
    const bool committed = m_output->Commit(error);
    m_output.reset();
    return committed;
}
