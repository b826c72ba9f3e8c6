// The program's version, shown by the About box.
extern const char* const trelvik_version;
const char* const trelvik_version = "1.0.0.1";
