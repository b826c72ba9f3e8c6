#pragma once
// A file's result and the coverage its run reached, as bytes that a worker
// process sends back to the runner: every field of every verdict, so that
// the runner prints, counts and reports it exactly as if it had run the file
// itself.

#include <string>

#include "scenario/run/file_result.h"

class CScenarioCoverage;

class CResultCodec {
public:
    static std::string Encode(const CFileResult& result, const CScenarioCoverage* coverage);
    // False for bytes that are no result; the coverage's counts are added to `coverage`.
    static bool Decode(const std::string& bytes, CFileResult& result, CScenarioCoverage* coverage);
};
