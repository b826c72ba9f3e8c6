#include "support/scenario/verdict_printer.h"

#include "scenario/run/file_result.h"
#include "scenario/run/instrumented_run.h"

CVerdictPrinter::CVerdictPrinter(std::ostream& out, std::ostream& err, CScenarioOptions options)
    : m_out(out), m_err(err), m_options(std::move(options))
{
}

int CVerdictPrinter::Run(const std::vector<CScenarioStep>& steps)
{
    CInstrumentedRun run(m_options.fileName, steps);
    if (!m_options.vcdPath.empty())
        run.SetTrace(m_options.vcdPath, {});
    run.m_onResult = [this](const CFileResult& file, const CScenarioResult& result) { Print(file, result); };
    const CFileResult file = run.Run();
    if (!file.error.empty())
        m_err << file.error << "\n";
    m_results = file.results;
    m_passed = file.Passed();
    m_failed = file.Failed();
    if (file.ran)
        m_out << m_passed << " passed, " << m_failed << " failed" << std::endl;
    return file.code;
}

void CVerdictPrinter::Print(const CFileResult& file, const CScenarioResult& result)
{
    if (result.error)
        m_err << file.Line(result) << "\n";
    else if (!result.held || !m_options.quiet)
        m_out << file.Line(result) << "\n";
}
