// The guided exploration's progress note, and going on from it.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/output_file.h"
#include "scenario/explore/guided_explorer.h"

namespace {

// A kept use's steps: what lies between its header comment and the expectations, each block after an empty line.
bool kept_steps(const std::string& path, std::vector<std::string>& steps)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line) && !line.empty()) {
    }
    while (std::getline(in, line) && !line.empty())
        steps.push_back(line);
    return !steps.empty();
}

}  // namespace

// "seed S\nplayed P\nkept K\n": the uses from seed S to S + P - 1 were judged and K of them kept.
bool CGuidedExplorer::NoteProgress(uint64_t played)
{
    const std::string text = "seed " + std::to_string(m_firstSeed) + "\nplayed " + std::to_string(played) + "\nkept " +
                             std::to_string(m_kept.size()) + "\n";
    std::string error;
    if (COutputFile::WriteWhole(m_suiteDir + "/" + PROGRESS, text.data(), text.size(), error))
        return true;
    m_err << error << "\n";
    return false;
}

// The kept uses played again from their files, as they were when the note was written.
bool CGuidedExplorer::Resume(uint64_t& played)
{
    const std::string note = m_suiteDir + "/" + PROGRESS;
    std::ifstream in(note);
    std::string seedWord, playedWord, keptWord;
    uint64_t kept = 0;
    if (!(in >> seedWord >> m_firstSeed >> playedWord >> played >> keptWord >> kept) || seedWord != "seed" ||
        playedWord != "played" || keptWord != "kept") {
        m_err << note << ": no progress of a guided exploration to go on from\n";
        return false;
    }
    std::vector<std::vector<std::string>> uses(kept);
    for (uint64_t n = 1; n <= kept; ++n)
        if (!kept_steps(m_suiteDir + "/" + SuiteFile(n), uses[n - 1])) {
            m_err << m_suiteDir << "/" << SuiteFile(n) << ": missing or without steps; cannot go on\n";
            return false;
        }
    bool complete = false;
    const std::vector<CUseOutcome> outcomes = PlayAll(uses, complete);
    for (uint64_t n = 0; n < kept; ++n) {
        if (!complete || outcomes[n].broken) {
            m_err << m_suiteDir << "/" << SuiteFile(n + 1) << ": does not play as it did\n";
            return false;
        }
        Reached(uses[n], outcomes[n]);
    }
    // Files of a round cut off by a signal: that round is played again.
    std::error_code ec;
    for (uint64_t n = kept + 1; std::filesystem::remove(m_suiteDir + "/" + SuiteFile(n), ec); ++n) {
    }
    m_out << "explore: going on from " << m_suiteDir << " after " << played << " uses from seed " << m_firstSeed << ", "
          << kept << " kept" << std::endl;
    return true;
}
