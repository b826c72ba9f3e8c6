// Makes a program's manual page from the parts of the README marked for it.
//
// usage: make_manpage README.md PROGRAM VERSION SUMMARY OUT.1

#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/output_file.h"
#include "tools/man_page.h"

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::cerr << "usage: make_manpage README.md PROGRAM VERSION SUMMARY OUT.1\n";
        return 2;
    }
    std::string error;
    if (!COutputFile::Check(argv[5], {argv[1]}, error)) {
        std::cerr << error << "\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream readme;
    readme << in.rdbuf();
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 2;
    }
    const std::string page = CManPage::Make(readme.str(), {argv[2], argv[4], argv[3]}, error);
    if (page.empty()) {
        std::cerr << argv[1] << ": " << error << "\n";
        return 2;
    }
    if (!COutputFile::WriteWhole(argv[5], page.data(), page.size(), error)) {
        std::cerr << error << "\n";
        return 2;
    }
    return 0;
}
