#pragma once
// A value-change dump in virtual milliseconds, as waveform viewers read it.
// Variables are declared first, each in a scope under the top scope
// "trelvik", with its width and its value at time 0. Changes are given in
// time order; within one millisecond the last value stands, and a value
// that ends the millisecond where it began is not written.
//
// The dump goes to a temporary file beside the target, which Finish renames
// to the target (COutputFile): a run that fails or is cut off never leaves a
// half file under the target's name. A writer destroyed unfinished removes
// its file.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/output_file.h"

class CVcdWriter {
public:
    // The program named in the header's $version.
    explicit CVcdWriter(std::string program = "trelvik-scenario") : m_program(std::move(program)) {}
    // A $comment written after the $version (one line of words), before Open.
    void SetComment(std::string comment) { m_comment = std::move(comment); }
    ~CVcdWriter();

    // Declares a variable of `width` bits (1 to 64); returns its number for Change.
    int AddVariable(const std::string& scope, const std::string& name, int width, uint64_t initial);
    // Declares a whole number written as a real variable: viewers that read
    // no multi-bit vectors skip it and still read everything else.
    // A signed number is given to Change as its two's complement.
    int AddNumber(const std::string& scope, const std::string& name, uint64_t initial, bool isSigned = false);
    // The dump stops growing at `bytes`: what would pass it is not written,
    // and Finish fails and removes the file.
    void SetByteLimit(uint64_t bytes) { m_byteLimit = bytes; }
    // Creates the temporary file and writes the declarations; false with `error`.
    bool Open(const std::string& path, std::string& error);
    // The variable's value from `timeMs` on; times never go back.
    void Change(int var, uint64_t timeMs, uint64_t value);
    // Writes what is pending and the end time, closes and renames; false with `error`.
    bool Finish(uint64_t endMs, std::string& error);

    // What every temporary name for a target begins with ("OUT.vcd" ->
    // "OUT.vcd."); the whole name is the process's own ("OUT.vcd.4711-0.part").
    static std::string TempPathFor(const std::string& path);
    // The temporary name while the dump is open; empty otherwise.
    std::string TempPath() const { return m_output ? m_output->TempPath() : std::string(); }
    // The identifier code of variable `var`: "!", "\"", ... then two characters.
    static std::string IdentifierOf(int var);

    CVcdWriter(const CVcdWriter&) = delete;
    CVcdWriter& operator=(const CVcdWriter&) = delete;

private:
    struct CVariable {
        std::string scope;
        std::string name;
        int width;
        bool real;
        bool isSigned;  // a real written with its sign
        std::string id;
        uint64_t value;    // as it stands now
        uint64_t written;  // as the file last has it
        bool listed;       // in m_dirty
    };

    void Flush();
    void WriteValue(const CVariable& var);
    void Count(int written);

    std::string m_program;
    std::string m_comment;
    std::vector<CVariable> m_vars;
    std::vector<int> m_dirty;  // variables changed in the pending millisecond
    std::unique_ptr<COutputFile> m_output;
    std::FILE* m_file = nullptr;  // m_output's stream while open
    uint64_t m_pendingMs = 0;     // the millisecond whose changes are not written yet
    bool m_dumped = false;        // the values at time 0 are written
    uint64_t m_lastWrittenMs = 0;
    uint64_t m_byteLimit = UINT64_MAX;
    uint64_t m_bytes = 0;  // written so far
    bool m_full = false;   // the limit was reached: nothing more is written
    int m_writeErrno = 0;  // the first write that failed: nothing more is written
};
