#pragma once
// A program's manual page, made from the parts of the README marked for it:
//
//   <!-- man trelvik-scenario trelvik-vcd-plot: EXIT STATUS -->
//   ...Markdown...
//   <!-- end man -->
//
// Parts marked with one section name are joined in the README's order, and the
// sections follow the order in which each first appears. The README stays the
// one source of the options, exit codes and formats the pages describe.

#include <string>
#include <vector>

struct CManPageCall {
    std::string program;  // trelvik-scenario
    std::string summary;  // the one line of the page's NAME section
    std::string version;  // 1.0.0.1
};

class CManPage {
public:
    // The page in man(7) source; empty, with the reason in error, when the
    // README marks no part for the program or leaves a part unclosed.
    static std::string Make(const std::string& readme, const CManPageCall& call, std::string& error);
};
