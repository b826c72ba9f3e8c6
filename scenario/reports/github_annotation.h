#pragma once
// A failed verdict as a workflow command that a GitHub Actions log turns
// into an annotation on the scenario's line:
// "::error file=F,line=L::TIME ms: FAILED: what; seen what".

#include <string>

#include "scenario/run/file_result.h"

std::string github_annotation(const CFileResult& file, const CScenarioResult& result);
