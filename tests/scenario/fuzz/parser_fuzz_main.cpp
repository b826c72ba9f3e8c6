// parser_fuzz [--runs N] [--seed S] FILE...: feeds the fuzz target every
// FILE, then N mutants of them made by a seeded generator: bytes flipped,
// inserted and deleted, lines duplicated, swapped and spliced from another
// file, and words of the language, odd numbers and broken UTF-8 put in.
// Exits 0 when every input was taken without a crash (a crash ends the
// process, under the sanitizers with their report); prints the seed.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

const char* const WORDS[] = {
    "wait ", "press ", "release ", "click ", " hold ", "run-until ", " within ", " after ", "expect ",
    "expect-for ", "not ", "reset-cpu", "snapshot ", "fault ", "clear ", "all", " stuck ", " jammed", " dead",
    "heater ", "motor ", "disk ", "exit ", "main ", "state ", "signal ", "readout ", "lamp ", "beeps ", "var ",
    "timer ", " running", " idle", "on", "off", "DISK_MOT_LS ", "RED_LED ", "state_index ", "disk_timer ",
    "전원", "커버", "파워 온 대기", "0", "1", "-1", "100", "..", "1..0", "0..", "..5", "4294967296",
    "99999999999999999999", "-9223372036854775808", "\"", "\"\"", "#", " ", "\t", "\r\n", "\n", "x.png",
    "\xEF\xBB\xBF", "\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "" /* a NUL */,
};

class CMutator {
public:
    CMutator(uint64_t seed, const std::vector<std::string>& corpus) : m_random(seed), m_corpus(corpus) {}

    std::string Next()
    {
        std::string text = m_corpus[Pick(m_corpus.size())];
        const size_t changes = 1 + Pick(4);
        for (size_t i = 0; i < changes; ++i)
            Mutate(text);
        return text;
    }

private:
    size_t Pick(size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(m_random) : 0; }

    void Mutate(std::string& text)
    {
        const size_t at = Pick(text.size() + 1);
        switch (Pick(7)) {
        case 0:
            if (!text.empty())
                text[at % text.size()] ^= static_cast<char>(1u << Pick(8));
            break;
        case 1:
            text.insert(at, 1, static_cast<char>(Pick(256)));
            break;
        case 2:
            text.erase(at, Pick(16));
            break;
        case 3:
        case 4: {
            const std::string word = WORDS[Pick(std::size(WORDS))];
            text.insert(at, word.empty() ? std::string(1, '\0') : word);
            break;
        }
        case 5: {  // a line of this file or another, put in at a line start
            const std::string& donor = m_corpus[Pick(m_corpus.size())];
            const size_t start = donor.rfind('\n', Pick(donor.size() + 1));
            const size_t from = start == std::string::npos ? 0 : start + 1;
            const size_t end = donor.find('\n', from);
            const size_t lineAt = text.rfind('\n', at);
            text.insert(lineAt == std::string::npos ? 0 : lineAt + 1,
                        donor.substr(from, end == std::string::npos ? std::string::npos : end - from + 1));
            break;
        }
        default:  // cut the text short
            text.resize(at);
        }
    }

    std::mt19937_64 m_random;
    const std::vector<std::string>& m_corpus;
};

bool feed(const std::string& text)
{
    return LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(text.data()), text.size()) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    uint64_t runs = 3000, seed = 1;
    std::vector<std::string> corpus;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::strtoull(argv[++i], nullptr, 10);
        else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else {
            std::ifstream in(argv[i], std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            if (!in) {
                std::fprintf(stderr, "parser_fuzz: cannot read %s\n", argv[i]);
                return 2;
            }
            corpus.push_back(text.str());
        }
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "usage: parser_fuzz [--runs N] [--seed S] FILE...\n");
        return 2;
    }
    for (const std::string& text : corpus)
        feed(text);
    CMutator mutator(seed, corpus);
    for (uint64_t run = 0; run < runs; ++run)
        feed(mutator.Next());
    std::printf("parser_fuzz: %zu files and %llu mutants from seed %llu, no crash\n", corpus.size(),
                static_cast<unsigned long long>(runs), static_cast<unsigned long long>(seed));
    return 0;
}
