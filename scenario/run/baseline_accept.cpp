#include "scenario/run/baseline_accept.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/output_file.h"
#include "scenario/run/baseline_check.h"

namespace {

namespace fs = std::filesystem;

const std::string PENDING = ".new.vcd";

// "dir/power_on_off.scn", "power_on_off.new.vcd" -> "power_on_off".
std::string stem_of_name(std::string name)
{
    name = fs::path(name).filename().string();
    for (const std::string& ending : {PENDING, std::string(".vcd"), std::string(".scn")})
        if (name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            return name.substr(0, name.size() - ending.size());
    return name;
}

}  // namespace

// The stems of the regular DIR/NAME.new.vcd files, sorted.
bool CBaselineAccept::Pending(std::vector<std::string>& stems, std::string& error) const
{
    std::error_code ec;
    if (!fs::is_directory(m_dir, ec)) {
        error = m_dir + (fs::exists(m_dir, ec) ? ": not a directory" : ": No such file or directory");
        return false;
    }
    fs::directory_iterator it(m_dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > PENDING.size() && name.compare(name.size() - PENDING.size(), PENDING.size(), PENDING) == 0 &&
            it->symlink_status(ec).type() == fs::file_type::regular)
            stems.push_back(name.substr(0, name.size() - PENDING.size()));
    }
    if (ec) {
        error = m_dir + ": " + ec.message();
        return false;
    }
    std::sort(stems.begin(), stems.end());
    return true;
}

// The names asked for, each pending; or all pending when none was named.
bool CBaselineAccept::Chosen(const std::vector<std::string>& pending, std::vector<std::string>& stems,
                             std::string& error) const
{
    if (m_names.empty()) {
        stems = pending;
        return true;
    }
    for (const std::string& name : m_names) {
        const std::string stem = stem_of_name(name);
        if (std::find(pending.begin(), pending.end(), stem) == pending.end()) {
            std::string list;
            for (const std::string& p : pending)
                list += (list.empty() ? "" : " ") + p;
            error =
                m_dir + "/" + stem + PENDING + ": nothing pending (pending: " + (list.empty() ? "none" : list) + ")";
            return false;
        }
        if (std::find(stems.begin(), stems.end(), stem) == stems.end())
            stems.push_back(stem);
    }
    return true;
}

int CBaselineAccept::Run(std::ostream& out, std::ostream& err)
{
    std::vector<std::string> pending, stems;
    std::string error;
    if (!Pending(pending, error) || !Chosen(pending, stems, error)) {
        err << error << "\n";
        return 2;
    }
    for (const std::string& stem : stems) {
        const std::string base = m_dir + "/" + stem;
        CBaselineCheck trace;
        if (!trace.Load(base + PENDING, error) || !COutputFile::Check(base + ".vcd", {}, error)) {
            err << error << "\n";
            return 2;
        }
        // A pending trace lands only on its own scenario's baseline.
        if (!trace.RecordedName().empty() && stem_of_name(trace.RecordedName()) != stem) {
            err << base << PENDING << ": the trace of the scenario " << trace.RecordedName() << ", not of " << stem
                << ".scn; not accepted over " << base << ".vcd\n";
            return 2;
        }
    }
    if (stems.empty())
        out << m_dir << ": nothing to accept\n";
    for (const std::string& stem : stems) {
        const std::string base = m_dir + "/" + stem;
        if (std::rename((base + PENDING).c_str(), (base + ".vcd").c_str()) != 0) {
            err << base << ".vcd: cannot accept " << base << PENDING << ": " << std::strerror(errno) << "\n";
            return 2;
        }
        out << "accepted " << base << ".vcd\n";
    }
    return 0;
}
