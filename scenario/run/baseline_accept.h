#pragma once
// `--accept-baseline DIR [NAME...]`: a comparison that differed left the
// run's trace beside its baseline as DIR/NAME.new.vcd; accepting moves it
// over DIR/NAME.vcd. Every file to accept is checked first (it must be a
// trace of ours, and its baseline a regular file or none), so a refusal
// moves nothing. Exit 0 when all were accepted, 2 otherwise.

#include <ostream>
#include <string>
#include <vector>

class CBaselineAccept {
public:
    // NAME is the scenario's name: "power_on_off", or "power_on_off.scn".
    CBaselineAccept(std::string dir, std::vector<std::string> names) : m_dir(std::move(dir)), m_names(std::move(names))
    {
    }

    int Run(std::ostream& out, std::ostream& err);

private:
    bool Pending(std::vector<std::string>& stems, std::string& error) const;
    bool Chosen(const std::vector<std::string>& pending, std::vector<std::string>& stems, std::string& error) const;

    std::string m_dir;
    std::vector<std::string> m_names;
};
